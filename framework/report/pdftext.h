#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <vector>

class TPdfSchrift;
struct TStil;

// A line of text as glyphs of one font, with its width in thousandths of the font size
// (advances and kerning).
struct TPdfZeile {
    std::vector<quint16> glyphen;
    double breite = 0;
};

// The lines of a text as the painter sets them: one per paragraph, or, when it wraps, broken
// where the text allows a break (after spaces, hyphens, slashes; a soft hyphen shows only at
// the end of a line) so that each line fits maxBreite (thousandths of the font size); a word
// wider than that stands on a line of its own.
std::vector<TPdfZeile> PdfZeilen(const TPdfSchrift& f, const QString& text, double maxBreite, bool umbrechen);

// Whether the text needs more than one font's glyphs in a row: characters the font lacks,
// right-to-left or joined scripts.
bool PdfBrauchtSatz(const TPdfSchrift& f, const QString& text);

// Such a text as the painter sets it in its rectangle (millimetres): laid out by Qt, with its
// fallback fonts, direction and shaping, as outlines in millimetres. Only on the main thread.
QPainterPath PdfTextUmriss(const TStil& stil, const QRectF& r, int flags, bool umbrechen, const QString& text);
