#include "framework/report/pdfseite.h"

#include "framework/report/pdfschrift.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr double CPunktProMm = 72 / 25.4;
constexpr double CDuennsteLinieMm = 25.4 / 600;   // one dot of the 600 dpi the layout assumes

// The page's content and the graphics state it has set, so that a state is written only when
// it changes.
struct TInhalt {
    QByteArray a;
    double hoehe = 0;   // the page's height in points: PDF counts from the bottom
    int schrift = -1;
    double groesse = -1, linie = -1;
    std::optional<QRgb> fuellung, strich;

    void Vergessen()   // after Q, which restores the state from before q
    {
        schrift = -1;
        groesse = linie = -1;
        fuellung.reset();
        strich.reset();
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
    void Fuellung(const QColor& c)
    {
        if (fuellung != c.rgb()) {
            fuellung = c.rgb();
            Farbe(c.rgb());
            a += "rg\n";
        }
    }
    void Strich(const QColor& c, double staerkeMm)
    {
        if (strich != c.rgb()) {
            strich = c.rgb();
            Farbe(c.rgb());
            a += "RG\n";
        }
        const double breite = std::max(staerkeMm, CDuennsteLinieMm) * CPunktProMm;
        if (linie != breite) {
            linie = breite;
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

struct TZeile {
    int von = 0, bis = 0;
    double breite = 0;   // thousandths of the font size
};

double Breite(const TPdfSchrift& f, const QString& t, int von, int bis)
{
    double b = 0;
    for (int i = von; i < bis; ++i)
        b += f.Zeichen(t[i].unicode()).breite;
    return b;
}

TZeile Zeile(const TPdfSchrift& f, const QString& t, int von, int bis)
{
    while (bis > von && t[bis - 1] == QLatin1Char(' '))
        --bis;
    return {von, bis, Breite(f, t, von, bis)};
}

// Breaks a paragraph at spaces so that each line fits the width; a word wider than the width
// stands on a line of its own.
void Umbrechen(const TPdfSchrift& f, const QString& t, int von, int bis, double maxBreite, std::vector<TZeile>& zeilen)
{
    int anfang = von, leerzeichen = -1;
    double b = 0, bisLeerzeichen = 0;
    for (int i = von; i < bis; ++i) {
        const double w = f.Zeichen(t[i].unicode()).breite;
        if (t[i] == QLatin1Char(' ')) {
            leerzeichen = i;
            bisLeerzeichen = b + w;
        } else if (b + w > maxBreite && leerzeichen > anfang) {
            zeilen.push_back(Zeile(f, t, anfang, leerzeichen));
            anfang = leerzeichen + 1;
            b -= bisLeerzeichen;
            leerzeichen = -1;
        }
        b += w;
    }
    zeilen.push_back(Zeile(f, t, anfang, bis));
}

std::vector<TZeile> Zeilen(const TPdfSchrift& f, const QString& t, double maxBreite, bool umbrechen)
{
    std::vector<TZeile> zeilen;
    int absatz = 0;
    for (int i = 0; i <= t.size(); ++i) {
        if (i < t.size() && t[i] != QLatin1Char('\n') && t[i] != QChar::LineSeparator)
            continue;
        if (umbrechen)
            Umbrechen(f, t, absatz, i, maxBreite, zeilen);
        else
            zeilen.push_back(Zeile(f, t, absatz, i));
        absatz = i + 1;
    }
    return zeilen;
}

// Text in its rectangle as the painter sets it: aligned line by line, the block placed
// vertically as the flags ask, clipped to the rectangle only when it does not fit.
void TextZeichnen(TInhalt& a, const TPdfSchrift& f, int nr, const TStil& stil, const QRectF& r, int flags,
                  bool umbrechen, const QString& text)
{
    const double mmJeEinheit = stil.groesse / 1000 / CPunktProMm;
    const std::vector<TZeile> zeilen = Zeilen(f, text, r.width() / mmJeEinheit, umbrechen);
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
    if (schneiden) {
        a.a += "q ";
        a.Rechteck(r);
        a.a += "W n\n";
    }
    if (a.schrift != nr || a.groesse != stil.groesse) {
        a.schrift = nr;
        a.groesse = stil.groesse;
        a.a += "/F" + QByteArray::number(nr) + ' ';
        a.Zahl(stil.groesse);
        a.a += "Tf\n";
    }
    a.Fuellung(stil.farbe);
    static constexpr char hex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < zeilen.size(); ++i) {
        if (zeilen[i].bis == zeilen[i].von)
            continue;
        a.a += "BT ";
        a.X(links[i]);
        a.Y(oben + i * (zeilenHoehe + abstand) + f.Oberlaenge() * mmJeEinheit);
        a.a += "Td <";
        for (int c = zeilen[i].von; c < zeilen[i].bis; ++c) {
            const quint16 g = f.Zeichen(text[c].unicode()).glyph;
            f.Benutzt(g);
            const char ziffern[4] = {hex[g >> 12], hex[(g >> 8) & 15], hex[(g >> 4) & 15], hex[g & 15]};
            a.a.append(ziffern, 4);
        }
        a.a += "> Tj ET\n";
    }
    if (schneiden) {
        a.a += "Q\n";
        a.Vergessen();
    }
}

void BildZeichnen(TInhalt& a, const TPdfSeitenAuftrag::TZuordnung& z, const QRectF& r, const QString& name)
{
    if (z.bildNr < 0) {
        a.Strich(Qt::red, 0.2);
        a.Rechteck(r);
        a.a += "S\n";
        TextZeichnen(a, *z.schrift, z.schriftNr, BildFehlerStil(), r, Qt::AlignCenter, true, BildFehlerText(name));
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
    a.a.reserve(16 * 1024);
    a.a += "2 J 2 j\n";   // the painter's square caps and bevelled joins
    const std::vector<TPlanElement>& elemente = auftrag.seite.elemente;
    for (size_t i = 0; i < elemente.size(); ++i) {
        const TPlanElement& e = elemente[i];
        const TPdfSeitenAuftrag::TZuordnung& z = auftrag.zuordnung[i];
        switch (e.art) {
        case TElement::Text:
        case TElement::Feld:
            TextZeichnen(a, *z.schrift, z.schriftNr, e.stil, e.rect,
                         int(e.stil.ausrichtung) | (e.umbrechen ? Qt::AlignTop : Qt::AlignVCenter), e.umbrechen, e.text);
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
