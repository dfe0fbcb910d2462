#pragma once

#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
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

    // The face a PDF embeds for the font: the one the painter would use, or the program's own
    // when that has no TrueType outlines. Throws when neither has.
    static QRawFont Gesicht(const QFont& schrift);
    explicit TPdfSchrift(const QRawFont& gesicht);

    TZeichen Zeichen(char32_t c) const;
    // Reads the characters beyond the basic plane that the text holds; only before pages that
    // use them are built.
    void ZeichenLaden(const QString& text);
    // The kerning between two glyphs, in thousandths of the size.
    int Unterschneidung(quint16 links, quint16 rechts) const
    {
        if (links >= FKernLinks.size() || !FKernLinks[links])
            return 0;
        const auto it = FKern.find((quint32(links) << 16) | rechts);
        return it == FKern.end() ? 0 : it->second;
    }
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
    QByteArray Beschreibung(const QByteArray& name) const;   // FontDescriptor entries, without <<>>
    QString Name() const { return FName; }
    static QString Name(const QRawFont& gesicht);   // PostScript style: family and style, no spaces
    // What the face's file is drawn as, whatever was asked for: the painter makes up the rest.
    static bool Fett(const QRawFont& gesicht);
    static bool Kursiv(const QRawFont& gesicht);

private:
    QByteArray Tabelle(const char* kennung) const;
    std::vector<quint16> BenutzteGlyphen() const;
    void KerningLesen();

    QRawFont FRoh;
    QString FName;
    bool FKursiv = false;
    int FEinheiten = 1000;   // units per em
    int FGlyphen = 0;
    double FOberlaenge = 0, FUnterlaenge = 0, FZeilenabstand = 0;
    std::vector<TZeichen> FZeichen;   // by UTF-16 code unit
    std::map<char32_t, TZeichen> FErgaenzend;   // beyond the basic plane, as far as loaded
    mutable std::mutex FErgaenzendMutex;
    std::unordered_map<quint32, qint16> FKern;   // left << 16 | right glyph
    std::vector<bool> FKernLinks;                 // glyphs that start a kerning pair
    std::vector<quint16> FBreiteJeGlyph;
    std::unique_ptr<std::atomic<bool>[]> FBenutzt;
};
