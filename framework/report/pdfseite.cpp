#include "framework/report/pdfseite.h"

#include "framework/report/pdfschrift.h"
#include "framework/report/pdftext.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr double CPunktProMm = 72 / 25.4;
constexpr double CDuennsteLinieMm = 25.4 / 600;   // one dot of the 600 dpi the layout assumes

// The graphics state a page's content has set, so that a state is written only when it
// changes; at first PDF's own: black, opaque, lines one point wide.
struct TZustand {
    int schrift = -1;
    double groesse = -1, linie = 1;
    QRgb fuellung = qRgba(0, 0, 0, 255), strich = qRgba(0, 0, 0, 255);
};

struct TInhalt {
    QByteArray a;
    double hoehe = 0;   // the page's height in points: PDF counts from the bottom
    TPdfDeckkraft* deckkraft = nullptr;
    TZustand z;
    std::optional<TZustand> gesichert;

    void Sichern()
    {
        a += "q ";
        gesichert = z;
    }
    void Wiederherstellen()
    {
        a += "Q\n";
        z = *gesichert;
    }

    void Zahl(double v, int stellen = 2)
    {
        const double faktor = stellen == 2 ? 100 : 1000;
        long long n = std::llround(v * faktor);
        if (n < 0) {
            a += '-';
            n = -n;
        }
        char puffer[24];
        const long long ganz = n / static_cast<long long>(faktor);
        a.append(puffer, std::to_chars(puffer, puffer + sizeof puffer, ganz).ptr - puffer);
        long long rest = n % static_cast<long long>(faktor);
        if (rest) {
            a += '.';
            for (int teiler = stellen == 2 ? 10 : 100; rest && teiler; teiler /= 10) {
                a += char('0' + rest / teiler);
                rest %= teiler;
            }
        }
        a += ' ';
    }
    void X(double mm) { Zahl(mm * CPunktProMm); }
    void Y(double mm) { Zahl(hoehe - mm * CPunktProMm); }

    void Farbe(QRgb c)
    {
        Zahl(qRed(c) / 255.0, 3);
        Zahl(qGreen(c) / 255.0, 3);
        Zahl(qBlue(c) / 255.0, 3);
    }
    // A colour with its opacity: an opacity below full is a state of its own (/Fa<n>, /Sa<n>).
    void Farbe(QRgb& gesetzt, QRgb neu, const char* farbe, const char* deckend, std::array<std::atomic<bool>, 256>& benutzt)
    {
        if (qAlpha(gesetzt) != qAlpha(neu)) {
            benutzt[qAlpha(neu)].store(true, std::memory_order_relaxed);
            a += deckend + QByteArray::number(qAlpha(neu)) + " gs\n";
        }
        if ((gesetzt & 0xFFFFFF) != (neu & 0xFFFFFF)) {
            Farbe(neu);
            a += farbe;
        }
        gesetzt = neu;
    }
    void Fuellung(const QColor& c) { Farbe(z.fuellung, c.rgba(), "rg\n", "/Fa", deckkraft->fuellung); }
    void Strich(const QColor& c, double staerkeMm)
    {
        Farbe(z.strich, c.rgba(), "RG\n", "/Sa", deckkraft->strich);
        const double breite = std::max(staerkeMm, CDuennsteLinieMm) * CPunktProMm;
        if (z.linie != breite) {
            z.linie = breite;
            Zahl(breite);
            a += "w\n";
        }
    }
    void Rechteck(const QRectF& mm)
    {
        X(mm.x());
        Y(mm.bottom());
        Zahl(mm.width() * CPunktProMm);
        Zahl(mm.height() * CPunktProMm);
        a += "re ";
    }
};

// The glyphs as one text-showing operator: a run of glyph ids, kerned pairs moved apart.
void GlyphenSchreiben(TInhalt& a, const TPdfSchrift& f, const std::vector<quint16>& glyphen)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    a.a += "[<";
    for (size_t i = 0; i < glyphen.size(); ++i) {
        const quint16 g = glyphen[i];
        if (i > 0) {
            if (const int k = f.Unterschneidung(glyphen[i - 1], g)) {
                a.a += "> " + QByteArray::number(-k) + " <";
            }
        }
        f.Benutzt(g);
        const char ziffern[4] = {hex[g >> 12], hex[(g >> 8) & 15], hex[(g >> 4) & 15], hex[g & 15]};
        a.a.append(ziffern, 4);
    }
    a.a += ">] TJ";
}

// Text in its rectangle as the painter sets it: aligned line by line, the block placed
// vertically as the flags ask, clipped to the rectangle only when it does not fit.
void TextZeichnen(TInhalt& a, const TPdfSeitenAuftrag::TZuordnung& zu, const TStil& stil, const QRectF& r, int flags,
                  bool umbrechen, const QString& text)
{
    const TPdfSchrift& f = *zu.schrift;
    const double mmJeEinheit = stil.groesse / 1000 / CPunktProMm;
    const std::vector<TPdfZeile> zeilen = PdfZeilen(f, text, r.width() / mmJeEinheit, umbrechen);
    const double zeilenHoehe = (f.Oberlaenge() + f.Unterlaenge()) * mmJeEinheit;
    const double abstand = f.Zeilenabstand() * mmJeEinheit;
    const double hoehe = zeilen.size() * zeilenHoehe + (zeilen.size() - 1) * abstand;
    double oben = r.y();
    if (flags & Qt::AlignBottom)
        oben = r.bottom() - hoehe;
    else if (flags & Qt::AlignVCenter)
        oben = r.y() + (r.height() - hoehe) / 2;

    std::vector<double> links(zeilen.size());
    double breitest = 0, ganzLinks = r.x();
    for (size_t i = 0; i < zeilen.size(); ++i) {
        const double b = zeilen[i].breite * mmJeEinheit;
        links[i] = flags & Qt::AlignRight ? r.right() - b : flags & Qt::AlignHCenter ? r.x() + (r.width() - b) / 2 : r.x();
        ganzLinks = std::min(ganzLinks, links[i]);
        breitest = std::max(breitest, links[i] + b - r.x());
    }
    constexpr double toleranz = 0.01;
    const bool schneiden = ganzLinks < r.x() - toleranz || breitest > r.width() + toleranz || oben < r.y() - toleranz ||
                           oben + hoehe > r.bottom() + toleranz;
    if (schneiden || zu.fett) {
        a.Sichern();
        if (schneiden) {
            a.Rechteck(r);
            a.a += "W n\n";
        }
    }
    if (a.z.schrift != zu.schriftNr || a.z.groesse != stil.groesse) {
        a.z.schrift = zu.schriftNr;
        a.z.groesse = stil.groesse;
        a.a += "/F" + QByteArray::number(zu.schriftNr) + ' ';
        a.Zahl(stil.groesse);
        a.a += "Tf\n";
    }
    a.Fuellung(stil.farbe);
    if (zu.fett) {
        // bold that the face lacks: the outlines also stroked, a 24th of the size wide
        a.Strich(stil.farbe, stil.groesse / 24 / CPunktProMm);
        a.a += "2 Tr\n";
    }
    for (size_t i = 0; i < zeilen.size(); ++i) {
        if (zeilen[i].glyphen.empty())
            continue;
        // a slant that the face lacks: sheared as the painter shears it
        a.a += zu.schraeg ? "BT 1 0 0.21 1 " : "BT ";
        a.X(links[i]);
        a.Y(oben + i * (zeilenHoehe + abstand) + f.Oberlaenge() * mmJeEinheit);
        a.a += zu.schraeg ? "Tm " : "Td ";
        GlyphenSchreiben(a, f, zeilen[i].glyphen);
        a.a += " ET\n";
    }
    if (schneiden || zu.fett)
        a.Wiederherstellen();
}

// Outlines of text in their rectangle, clipped to it when they reach out of it.
void UmrissZeichnen(TInhalt& a, const QPainterPath& umriss, const QColor& farbe, const QRectF& r)
{
    const bool schneiden = !r.contains(umriss.boundingRect());
    if (schneiden) {
        a.Sichern();
        a.Rechteck(r);
        a.a += "W n\n";
    }
    a.Fuellung(farbe);
    for (int i = 0; i < umriss.elementCount(); ++i) {
        const QPainterPath::Element e = umriss.elementAt(i);
        a.X(e.x);
        a.Y(e.y);
        if (e.isMoveTo()) {
            a.a += "m ";
        } else if (e.isLineTo()) {
            a.a += "l ";
        } else {
            for (int k = 1; k <= 2; ++k) {
                a.X(umriss.elementAt(i + k).x);
                a.Y(umriss.elementAt(i + k).y);
            }
            a.a += "c ";
            i += 2;
        }
    }
    a.a += "f\n";
    if (schneiden)
        a.Wiederherstellen();
}

void BildZeichnen(TInhalt& a, const TPdfSeitenAuftrag::TZuordnung& z, const QRectF& r, const QString& name)
{
    if (z.bildNr < 0) {
        a.Strich(Qt::red, 0.2);
        a.Rechteck(r);
        a.a += "S\n";
        TextZeichnen(a, z, BildFehlerStil(), r, Qt::AlignCenter, true, BildFehlerText(name));
        return;
    }
    const QSizeF g = QSizeF(z.bildPixel).scaled(r.size(), Qt::KeepAspectRatio);
    a.a += "q ";
    a.Zahl(g.width() * CPunktProMm);
    a.a += "0 0 ";
    a.Zahl(g.height() * CPunktProMm);
    a.X(r.x() + (r.width() - g.width()) / 2);
    a.Y(r.y() + (r.height() + g.height()) / 2);
    a.a += "cm /Im" + QByteArray::number(z.bildNr) + " Do Q\n";
}

}

QByteArray PdfSeitenInhalt(const TPdfSeitenAuftrag& auftrag)
{
    TInhalt a;
    a.hoehe = auftrag.seite.groesse.height() * CPunktProMm;
    a.deckkraft = auftrag.deckkraft;
    a.a.reserve(16 * 1024);
    a.a += "2 J 2 j\n";   // the painter's square caps and bevelled joins
    const std::vector<TPlanElement>& elemente = auftrag.seite.elemente;
    for (size_t i = 0; i < elemente.size(); ++i) {
        const TPlanElement& e = elemente[i];
        const TPdfSeitenAuftrag::TZuordnung& z = auftrag.zuordnung[i];
        switch (e.art) {
        case TElement::Text:
        case TElement::Feld:
            if (!z.umriss.isEmpty()) {
                UmrissZeichnen(a, z.umriss, e.stil.farbe, e.rect);
                break;
            }
            TextZeichnen(a, z, e.stil, e.rect, TextFlags(e), e.umbrechen, e.text);
            break;
        case TElement::Linie:
            a.Strich(e.stil.farbe, e.staerke);
            a.X(e.rect.left());
            a.Y(e.rect.top());
            a.a += "m ";
            a.X(e.rect.right());
            a.Y(e.rect.bottom());
            a.a += "l S\n";
            break;
        case TElement::Rahmen:
            if (e.staerke <= 0 && !e.fuellung)
                break;
            if (e.staerke > 0)
                a.Strich(e.stil.farbe, e.staerke);
            if (e.fuellung)
                a.Fuellung(*e.fuellung);
            a.Rechteck(e.rect);
            a.a += e.staerke > 0 ? (e.fuellung ? "B\n" : "S\n") : "f\n";
            break;
        case TElement::Bild:
            BildZeichnen(a, z, e.rect, e.text);
            break;
        }
    }
    return a.a;
}
