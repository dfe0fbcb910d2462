#include "framework/report/pdfschrift.h"

#include "framework/core/fehler.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

quint16 Wort(const QByteArray& t, int stelle)
{
    if (stelle + 2 > t.size())
        return 0;
    return quint16((quint8(t[stelle]) << 8) | quint8(t[stelle + 1]));
}

qint16 VorzeichenWort(const QByteArray& t, int stelle)
{
    return static_cast<qint16>(Wort(t, stelle));
}

quint32 Langwort(const QByteArray& t, int stelle)
{
    return (quint32(Wort(t, stelle)) << 16) | Wort(t, stelle + 2);
}

void WortAnhaengen(QByteArray& a, quint32 w, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        a.append(char((w >> (8 * i)) & 0xFF));
}

quint32 Pruefsumme(const QByteArray& t)
{
    quint32 s = 0;
    for (int i = 0; i < t.size(); i += 4)
        for (int j = 0; j < 4; ++j)
            s += quint32(i + j < t.size() ? quint8(t[i + j]) : 0) << (8 * (3 - j));
    return s;
}

QByteArray Hex4(quint16 w)
{
    return QByteArray::number(w, 16).toUpper().rightJustified(4, '0');
}

QByteArray Utf16Hex(char32_t c)
{
    if (c < 0x10000)
        return Hex4(quint16(c));
    return Hex4(QChar::highSurrogate(c)) + Hex4(QChar::lowSurrogate(c));
}

// An sfnt file of the given tables, in the order of their tags.
QByteArray SfntDatei(const std::map<QByteArray, QByteArray>& tabellen)
{
    const int n = static_cast<int>(tabellen.size());
    int potenz = 1, exponent = 0;
    while (potenz * 2 <= n) {
        potenz *= 2;
        ++exponent;
    }
    QByteArray kopf, daten;
    WortAnhaengen(kopf, 0x00010000, 4);
    WortAnhaengen(kopf, n, 2);
    WortAnhaengen(kopf, potenz * 16, 2);
    WortAnhaengen(kopf, exponent, 2);
    WortAnhaengen(kopf, n * 16 - potenz * 16, 2);
    const int anfang = 12 + 16 * n;
    for (const auto& [kennung, tabelle] : tabellen) {
        kopf.append(kennung);
        WortAnhaengen(kopf, Pruefsumme(tabelle), 4);
        WortAnhaengen(kopf, anfang + daten.size(), 4);
        WortAnhaengen(kopf, tabelle.size(), 4);
        daten.append(tabelle);
        while (daten.size() % 4)
            daten.append('\0');
    }
    return kopf + daten;
}

// The glyphs a composite glyph is built from.
std::vector<quint16> Bestandteile(const QByteArray& glyph)
{
    std::vector<quint16> teile;
    if (glyph.size() < 10 || VorzeichenWort(glyph, 0) >= 0)
        return teile;
    int stelle = 10;
    for (;;) {
        const quint16 art = Wort(glyph, stelle);
        teile.push_back(Wort(glyph, stelle + 2));
        stelle += 4 + ((art & 0x0001) ? 4 : 2);
        if (art & 0x0008)
            stelle += 2;
        else if (art & 0x0040)
            stelle += 4;
        else if (art & 0x0080)
            stelle += 8;
        if (!(art & 0x0020) || stelle >= glyph.size())
            return teile;
    }
}

}

QRawFont TPdfSchrift::Gesicht(const QFont& schrift)
{
    QFont f(schrift);
    f.setHintingPreference(QFont::PreferNoHinting);
    QRawFont roh = QRawFont::fromFont(f);
    if (roh.isValid() && !roh.fontTable("glyf").isEmpty())
        return roh;
    // a face without TrueType outlines is replaced by the face the program ships with
    QFont ersatz(QStringLiteral("DejaVu Sans"));
    ersatz.setBold(schrift.bold());
    ersatz.setItalic(schrift.italic());
    ersatz.setHintingPreference(QFont::PreferNoHinting);
    roh = QRawFont::fromFont(ersatz);
    if (!roh.isValid() || roh.fontTable("glyf").isEmpty())
        FehlerRaise(QStringLiteral("PdfSchreiben"), {QStringLiteral("Die Schrift %1 lässt sich nicht in ein PDF einbetten.").arg(schrift.family())});
    return roh;
}

QString TPdfSchrift::Name(const QRawFont& gesicht)
{
    QString stil = gesicht.styleName();
    stil.remove(QLatin1Char(' '));
    QString name = gesicht.familyName().remove(QLatin1Char(' '));
    if (!stil.isEmpty() && stil != QLatin1String("Book") && stil != QLatin1String("Regular"))
        name += QLatin1Char('-') + stil;
    return name;
}

bool TPdfSchrift::Fett(const QRawFont& gesicht)
{
    const QByteArray os2 = gesicht.fontTable("OS/2");
    return os2.size() >= 6 ? Wort(os2, 4) >= 600 : (Wort(gesicht.fontTable("head"), 44) & 0x0001) != 0;
}

bool TPdfSchrift::Kursiv(const QRawFont& gesicht)
{
    // italic or oblique in the OS/2 table, else italic in the header's style bits
    const QByteArray os2 = gesicht.fontTable("OS/2");
    return os2.size() >= 64 ? (Wort(os2, 62) & 0x0201) != 0 : (Wort(gesicht.fontTable("head"), 44) & 0x0002) != 0;
}

TPdfSchrift::TPdfSchrift(const QRawFont& gesicht) : FRoh(gesicht)
{
    const QByteArray head = Tabelle("head"), hhea = Tabelle("hhea"), hmtx = Tabelle("hmtx");
    FEinheiten = std::max<int>(Wort(head, 18), 16);
    FGlyphen = Wort(Tabelle("maxp"), 4);
    FKursiv = Kursiv(FRoh);
    FName = Name(FRoh);

    FRoh.setPixelSize(1000);
    FOberlaenge = FRoh.ascent();
    FUnterlaenge = FRoh.descent();
    FZeilenabstand = FRoh.leading();

    const int metriken = std::max<int>(Wort(hhea, 34), 1);
    FBreiteJeGlyph.resize(FGlyphen);
    for (int g = 0; g < FGlyphen; ++g)
        FBreiteJeGlyph[g] = quint16(std::lround(Wort(hmtx, 4 * std::min(g, metriken - 1)) * 1000.0 / FEinheiten));
    FBenutzt = std::make_unique<std::atomic<bool>[]>(std::max(FGlyphen, 1));

    // every character of the basic plane; surrogates stand for nothing on their own
    std::vector<QChar> zeichen(0x10000);
    for (int c = 0; c < 0x10000; ++c)
        zeichen[c] = QChar::isSurrogate(char32_t(c)) ? QChar(0) : QChar(char16_t(c));
    std::vector<quint32> glyphen(zeichen.size());
    int anzahl = static_cast<int>(glyphen.size());
    if (!FRoh.glyphIndexesForChars(zeichen.data(), static_cast<int>(zeichen.size()), glyphen.data(), &anzahl))
        anzahl = 0;
    FZeichen.resize(0x10000);
    for (int c = 0; c < anzahl && c < 0x10000; ++c) {
        const quint32 g = glyphen[c] < quint32(FGlyphen) ? glyphen[c] : 0;
        FZeichen[c] = {quint16(g), FBreiteJeGlyph.empty() ? quint16(0) : FBreiteJeGlyph[g]};
    }
    // a tab or another control character in a text is white space, as the painter shows it
    for (int c = 0; c < 0x20; ++c)
        FZeichen[c] = FZeichen[' '];
    KerningLesen();
}

// The pairs of the kerning table (its horizontal subtables of format 0), as the painter
// applies them.
void TPdfSchrift::KerningLesen()
{
    const QByteArray kern = Tabelle("kern");
    FKernLinks.assign(FGlyphen, false);
    if (Wort(kern, 0) != 0)
        return;
    int stelle = 4;
    for (int t = Wort(kern, 2); t > 0 && stelle + 14 <= kern.size(); --t) {
        const int art = Wort(kern, stelle + 4), paare = Wort(kern, stelle + 6);
        // a large table of pairs overflows its 16-bit length: format 0 is as long as its pairs
        const int laenge = (art >> 8) == 0 ? 14 + 6 * paare : Wort(kern, stelle + 2);
        if ((art >> 8) == 0 && (art & 0x0F) == 0x01) {
            for (int i = 0, p = stelle + 14; i < paare && p + 6 <= kern.size(); ++i, p += 6) {
                const quint16 links = Wort(kern, p), rechts = Wort(kern, p + 2);
                FKern[(quint32(links) << 16) | rechts] = qint16(std::lround(VorzeichenWort(kern, p + 4) * 1000.0 / FEinheiten));
                if (links < FGlyphen)
                    FKernLinks[links] = true;
            }
        }
        stelle += std::max(laenge, 6);
    }
}

TPdfSchrift::TZeichen TPdfSchrift::Zeichen(char32_t c) const
{
    if (c < 0x10000)
        return FZeichen[c];
    std::lock_guard<std::mutex> sperre(FErgaenzendMutex);
    const auto it = FErgaenzend.find(c);
    return it == FErgaenzend.end() ? FZeichen[0] : it->second;
}

void TPdfSchrift::ZeichenLaden(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (!text[i].isHighSurrogate() || !text[i + 1].isLowSurrogate())
            continue;
        const char32_t c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        std::lock_guard<std::mutex> sperre(FErgaenzendMutex);
        if (FErgaenzend.count(c))
            continue;
        const QList<quint32> g = FRoh.glyphIndexesForString(text.mid(i, 2));
        const quint32 glyph = !g.isEmpty() && g.first() < quint32(FGlyphen) ? g.first() : 0;
        FErgaenzend[c] = {quint16(glyph), FBreiteJeGlyph.empty() ? quint16(0) : FBreiteJeGlyph[glyph]};
    }
}

QByteArray TPdfSchrift::Tabelle(const char* kennung) const
{
    return FRoh.fontTable(kennung);
}

std::vector<quint16> TPdfSchrift::BenutzteGlyphen() const
{
    std::vector<quint16> g;
    for (int i = 0; i < FGlyphen; ++i)
        if (FBenutzt[i].load(std::memory_order_relaxed))
            g.push_back(quint16(i));
    return g;
}

QByteArray TPdfSchrift::Teilschrift() const
{
    const QByteArray head = Tabelle("head"), loca = Tabelle("loca"), glyf = Tabelle("glyf");
    const bool lang = Wort(head, 50) != 0;
    const auto anfang = [&](int g) { return lang ? int(Langwort(loca, 4 * g)) : 2 * Wort(loca, 2 * g); };
    const auto glyph = [&](int g) {
        const int von = std::min<int>(anfang(g), glyf.size());
        return glyf.mid(von, std::clamp(anfang(g + 1) - von, 0, int(glyf.size()) - von));
    };

    // the used glyphs, the first one and every part of a composite one
    std::vector<bool> behalten(FGlyphen, false);
    std::vector<quint16> offen = BenutzteGlyphen();
    offen.push_back(0);
    while (!offen.empty()) {
        const quint16 g = offen.back();
        offen.pop_back();
        if (g >= FGlyphen || behalten[g])
            continue;
        behalten[g] = true;
        for (quint16 teil : Bestandteile(glyph(g)))
            offen.push_back(teil);
    }

    // glyph ids stay as they are: the glyphs left out are empty
    QByteArray neueGlyf, neueLoca;
    for (int g = 0; g < FGlyphen; ++g) {
        WortAnhaengen(neueLoca, neueGlyf.size(), 4);
        if (behalten[g]) {
            neueGlyf.append(glyph(g));
            while (neueGlyf.size() % 4)
                neueGlyf.append('\0');
        }
    }
    WortAnhaengen(neueLoca, neueGlyf.size(), 4);
    QByteArray neuerKopf = head;
    neuerKopf.replace(8, 4, QByteArray(4, '\0'));   // checksum adjustment
    neuerKopf.replace(50, 2, QByteArray("\0\1", 2));   // long offsets in loca

    std::map<QByteArray, QByteArray> tabellen{{"glyf", neueGlyf}, {"loca", neueLoca}, {"head", neuerKopf}};
    for (const char* kennung : {"hhea", "hmtx", "maxp", "cvt ", "fpgm", "prep"})
        if (QByteArray t = Tabelle(kennung); !t.isEmpty())
            tabellen.emplace(kennung, t);
    return SfntDatei(tabellen);
}

QByteArray TPdfSchrift::Breiten() const
{
    QByteArray w("[");
    for (quint16 g : BenutzteGlyphen())
        w += QByteArray::number(g) + " [" + QByteArray::number(FBreiteJeGlyph[g]) + "] ";
    return w + ']';
}

QByteArray TPdfSchrift::UnicodeTabelle() const
{
    std::map<quint16, char32_t> text;
    {
        std::lock_guard<std::mutex> sperre(FErgaenzendMutex);
        for (const auto& [c, z] : FErgaenzend)
            if (z.glyph && FBenutzt[z.glyph].load(std::memory_order_relaxed))
                text.emplace(z.glyph, c);
    }
    for (int c = 0xFFFF; c >= 0x20; --c)   // the lowest character wins when several share a glyph
        if (const TZeichen& z = FZeichen[c]; z.glyph && !QChar::isSurrogate(char32_t(c)) && FBenutzt[z.glyph].load(std::memory_order_relaxed))
            text[z.glyph] = char32_t(c);
    QByteArray t("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                 "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                 "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                 "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n");
    auto it = text.begin();
    while (it != text.end()) {
        QByteArray block;
        int n = 0;
        for (; it != text.end() && n < 100; ++it, ++n)
            block += '<' + Hex4(it->first) + "> <" + Utf16Hex(it->second) + ">\n";
        t += QByteArray::number(n) + " beginbfchar\n" + block + "endbfchar\n";
    }
    return t + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

QByteArray TPdfSchrift::Beschreibung(const QByteArray& name) const
{
    const QByteArray head = Tabelle("head"), os2 = Tabelle("OS/2");
    const auto tausendstel = [this](int v) { return QByteArray::number(std::lround(v * 1000.0 / FEinheiten)); };
    // the height of capitals from version 2 of the OS/2 table on, else the ascent
    const QByteArray versal = Wort(os2, 0) >= 2 && os2.size() >= 90 ? tausendstel(VorzeichenWort(os2, 88))
                                                                      : QByteArray::number(std::lround(FOberlaenge));
    return "/Type /FontDescriptor /FontName /" + name + " /Flags " + QByteArray::number(FKursiv ? 32 + 64 : 32) +
           " /FontBBox [" + tausendstel(VorzeichenWort(head, 36)) + ' ' + tausendstel(VorzeichenWort(head, 38)) + ' ' +
           tausendstel(VorzeichenWort(head, 40)) + ' ' + tausendstel(VorzeichenWort(head, 42)) + "]" +
           " /ItalicAngle " + (FKursiv ? "-11" : "0") + " /Ascent " + QByteArray::number(std::lround(FOberlaenge)) +
           " /Descent " + QByteArray::number(-std::lround(FUnterlaenge)) + " /CapHeight " + versal + " /StemV 80";
}
