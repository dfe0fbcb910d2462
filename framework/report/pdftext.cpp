#include "framework/report/pdftext.h"

#include "framework/report/pdfschrift.h"
#include "framework/report/seite.h"

#include <QGlyphRun>
#include <QImage>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace {

constexpr char16_t CWeichesTrennzeichen = 0x00AD;

bool Leerraum(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The glyphs of text[von, bis), trailing white space left out; a soft hyphen shows only at
// the line's end, as a hyphen.
TPdfZeile Zeile(const TPdfSchrift& f, const QString& t, int von, int bis)
{
    while (bis > von && Leerraum(t[bis - 1]))
        --bis;
    TPdfZeile z;
    z.glyphen.reserve(bis - von);
    for (int i = von; i < bis; ++i) {
        char32_t c = t[i].unicode();
        if (c == CWeichesTrennzeichen) {
            if (i + 1 < bis)
                continue;
            c = u'-';
        } else if (QChar::isHighSurrogate(c) && i + 1 < bis && t[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(t[i].unicode(), t[i + 1].unicode());
            ++i;
        }
        const TPdfSchrift::TZeichen g = f.Zeichen(c);
        if (!z.glyphen.empty())
            z.breite += f.Unterschneidung(z.glyphen.back(), g.glyph);
        z.glyphen.push_back(g.glyph);
        z.breite += g.breite;
    }
    return z;
}

void Umbrechen(const TPdfSchrift& f, const QString& t, int von, int bis, double maxBreite, std::vector<TPdfZeile>& zeilen)
{
    const QString absatz = t.mid(von, bis - von);
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Line, absatz);
    int anfang = 0, letzte = -1;   // the last break that still fit
    for (qsizetype p = grenzen.toNextBoundary(); p > 0; p = grenzen.toNextBoundary()) {
        const int pos = static_cast<int>(p);
        if (Zeile(f, absatz, anfang, pos).breite > maxBreite && letzte > anfang) {
            zeilen.push_back(Zeile(f, absatz, anfang, letzte));
            anfang = letzte;
        }
        letzte = pos;
    }
    zeilen.push_back(Zeile(f, absatz, anfang, static_cast<int>(absatz.size())));
}

}

std::vector<TPdfZeile> PdfZeilen(const TPdfSchrift& f, const QString& t, double maxBreite, bool umbrechen)
{
    std::vector<TPdfZeile> zeilen;
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

bool PdfBrauchtSatz(const TPdfSchrift& f, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x20 || c == CWeichesTrennzeichen)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i].unicode(), text[++i].unicode());
        const QChar::Direction richtung = QChar::direction(c);
        if (f.Zeichen(c).glyph == 0 || richtung == QChar::DirR || richtung == QChar::DirAL || QChar::joiningType(c) != QChar::Joining_None ||
            (c >= 0x0900 && c < 0x1000))   // Indic and South-East Asian scripts reorder and combine
            return true;
    }
    return false;
}

QPainterPath PdfTextUmriss(const TStil& stil, const QRectF& r, int flags, bool umbrechen, const QString& text)
{
    // at 72 dots per inch, where a pixel is a point
    static QImage geraet = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(2835);
        i.setDotsPerMeterY(2835);
        return i;
    }();
    constexpr double mmJePunkt = 25.4 / 72;
    QFont schrift = Schrift(stil);
    schrift.setHintingPreference(QFont::PreferNoHinting);
    QTextLayout satz(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), schrift, &geraet);
    QTextOption option(Qt::Alignment(flags) & Qt::AlignHorizontal_Mask);
    option.setWrapMode(umbrechen ? QTextOption::WordWrap : QTextOption::ManualWrap);
    satz.setTextOption(option);
    const double breite = r.width() / mmJePunkt;
    double hoehe = 0;
    satz.beginLayout();
    for (QTextLine zeile = satz.createLine(); zeile.isValid(); zeile = satz.createLine()) {
        zeile.setLineWidth(breite);
        zeile.setPosition(QPointF(0, hoehe));
        hoehe += zeile.height();
    }
    satz.endLayout();
    double oben = 0;
    if (flags & Qt::AlignBottom)
        oben = r.height() / mmJePunkt - hoehe;
    else if (flags & Qt::AlignVCenter)
        oben = (r.height() / mmJePunkt - hoehe) / 2;
    QPainterPath umriss;
    umriss.setFillRule(Qt::WindingFill);
    for (const QGlyphRun& lauf : satz.glyphRuns()) {
        const QList<quint32> glyphen = lauf.glyphIndexes();
        const QList<QPointF> stellen = lauf.positions();
        for (qsizetype i = 0; i < glyphen.size(); ++i)
            umriss.addPath(lauf.rawFont().pathForGlyph(glyphen[i]).translated(stellen[i] + QPointF(0, oben)));
    }
    QTransform mm;
    mm.translate(r.x(), r.y());
    mm.scale(mmJePunkt, mmJePunkt);
    return mm.map(umriss);
}
