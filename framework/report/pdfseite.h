#pragma once

#include "framework/report/seite.h"

#include <QByteArray>
#include <QPainterPath>
#include <QSize>

#include <vector>

#include <array>
#include <atomic>

class TPdfSchrift;

// The opacities below full that pages use, for the document's resources.
struct TPdfDeckkraft {
    std::array<std::atomic<bool>, 256> fuellung{}, strich{};
};

// A page to be turned into PDF content, with what the document has set up for it: for each
// element its font (text) or its picture (pictures).
struct TPdfSeitenAuftrag {
    struct TZuordnung {
        const TPdfSchrift* schrift = nullptr;   // text, and the note of an unreadable picture
        int schriftNr = -1;                      // the font's resource /F<n>
        bool fett = false, schraeg = false;      // made bold or slanted: the face is neither
        QPainterPath umriss;                     // a text that needs Qt's layout, as outlines (mm)
        int bildNr = -1;                         // the picture's resource /Im<n>; -1 unreadable
        QSize bildPixel;
    };
    TSeite seite;
    std::vector<TZuordnung> zuordnung;   // by element
    TPdfDeckkraft* deckkraft = nullptr;
};

// The page's content stream, uncompressed: text as runs of glyphs, lines, frames, pictures.
// Runs on any thread; it only reads the fonts and marks the glyphs it uses.
QByteArray PdfSeitenInhalt(const TPdfSeitenAuftrag& auftrag);
