#pragma once

#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// A TrueType font of a PDF, embedded as a CID font with its glyph ids as codes (Identity-H).
// Everything text needs is read once when the font is made: the glyph and advance of every
// character of the basic plane, and the metrics. After that the font is only read, so worker
// threads may lay out text with it at the same time; they mark the glyphs they use, and the
// document embeds only those glyphs.
class TPdfSchrift {
public:
    struct TZeichen {
        quint16 glyph = 0;
        quint16 breite = 0;   // advance in thousandths of the font size
    };

    // Throws when the font has no TrueType outlines that a PDF can embed.
    explicit TPdfSchrift(const QFont& schrift);

    const TZeichen& Zeichen(char16_t c) const { return FZeichen[c]; }
    double Oberlaenge() const { return FOberlaenge; }   // thousandths of the size, as is the rest
    double Unterlaenge() const { return FUnterlaenge; }
    double Zeilenabstand() const { return FZeilenabstand; }

    // Notes that a page draws this glyph.
    void Benutzt(quint16 glyph) const { FBenutzt[glyph].store(true, std::memory_order_relaxed); }

    // The objects of the font once all pages are done: the font file with only the used
    // glyphs, their widths and the text of each glyph, for copying text out of the PDF.
    QByteArray Teilschrift() const;
    QByteArray Breiten() const;            // the /W array
    QByteArray UnicodeTabelle() const;     // the /ToUnicode CMap
    QByteArray Beschreibung(const QString& kennung) const;   // FontDescriptor entries, without <<>>
    QString Name() const { return FName; }

private:
    QByteArray Tabelle(const char* kennung) const;
    std::vector<quint16> BenutzteGlyphen() const;

    QRawFont FRoh;
    QString FName;
    bool FKursiv = false;
    int FEinheiten = 1000;   // units per em
    int FGlyphen = 0;
    double FOberlaenge = 0, FUnterlaenge = 0, FZeilenabstand = 0;
    std::vector<TZeichen> FZeichen;   // by UTF-16 code unit
    std::vector<quint16> FBreiteJeGlyph;
    std::unique_ptr<std::atomic<bool>[]> FBenutzt;
};
