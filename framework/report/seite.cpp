#include "framework/report/seite.h"

#include "framework/report/bildspeicher.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace {

bool GleicheSchrift(const TStil& a, const TStil& b)
{
    return a.groesse == b.groesse && a.fett == b.fett && a.kursiv == b.kursiv && a.schrift == b.schrift;
}

QString Mm(double v)
{
    return QString::number(v, 'f', 1);
}

}

QFont Schrift(const TStil& s)
{
    QFont f(s.schrift);
    f.setPointSizeF(s.groesse);
    f.setBold(s.fett);
    f.setItalic(s.kursiv);
    return f;
}

int TextFlags(const TPlanElement& e)
{
    return static_cast<int>(e.stil.ausrichtung) | (e.umbrechen ? Qt::AlignTop | Qt::TextWordWrap : Qt::AlignVCenter);
}

QString BildFehlerText(const QString& name)
{
    return QStringLiteral("Bild nicht lesbar: %1").arg(name);
}

TStil BildFehlerStil()
{
    TStil s;
    s.schrift = QStringLiteral("DejaVu Sans");
    s.groesse = 6;
    s.farbe = Qt::red;
    s.ausrichtung = Qt::AlignCenter;
    return s;
}

QString SeitePlanText(const TSeite& s)
{
    QString t = QStringLiteral("Seite %1 von %2 (%3 x %4)\n").arg(s.nr).arg(s.von).arg(Mm(s.groesse.width()), Mm(s.groesse.height()));
    for (const TPlanElement& e : s.elemente) {
        const QString lage = QStringLiteral("%1 %2 %3 %4").arg(Mm(e.rect.x()), Mm(e.rect.y()), Mm(e.rect.width()), Mm(e.rect.height()));
        switch (e.art) {
        case TElement::Text:
        case TElement::Feld:
            t += QStringLiteral("  text %1 \"%2\"\n").arg(lage, e.text);
            break;
        case TElement::Linie:
            t += QStringLiteral("  linie %1\n").arg(lage);
            break;
        case TElement::Rahmen:
            t += QStringLiteral("  rahmen %1\n").arg(lage);
            break;
        case TElement::Bild:
            t += QStringLiteral("  bild %1 %2\n").arg(lage, e.text);
            break;
        }
    }
    return t;
}

double TextHoehe(const TStil& stil, const QString& text, double breiteMm, bool umbrechen)
{
    // measured at 72 dots per inch, where a pixel is a point: the same on every screen
    static QImage geraet = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(2835);
        i.setDotsPerMeterY(2835);
        return i;
    }();
    const QFontMetricsF fm(Schrift(stil), &geraet);
    constexpr double mmProPunkt = 25.4 / 72;
    if (!umbrechen || text.isEmpty())
        return fm.height() * mmProPunkt;
    const QRectF r = fm.boundingRect(QRectF(0, 0, breiteMm / mmProPunkt, 1e6), Qt::TextWordWrap, text);
    return std::max(r.height(), fm.height()) * mmProPunkt;
}

void SeiteZeichnen(QPainter& p, const TSeite& s, double f, TBildSpeicher& bilder)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // a font set anew costs a look-up of its glyphs: set only when the style changes
    const TStil* schrift = nullptr;
    for (const TPlanElement& e : s.elemente) {
        const QRectF r(e.rect.x() * f, e.rect.y() * f, e.rect.width() * f, e.rect.height() * f);
        switch (e.art) {
        case TElement::Text:
        case TElement::Feld:
            if (!schrift || !GleicheSchrift(*schrift, e.stil)) {
                p.setFont(Schrift(e.stil));
                schrift = &e.stil;
            }
            p.setPen(e.stil.farbe);
            p.drawText(r, TextFlags(e), e.text);
            break;
        case TElement::Linie:
            p.setPen(QPen(e.stil.farbe, std::max(e.staerke * f, 1.0)));
            p.drawLine(r.topLeft(), r.bottomRight());
            break;
        case TElement::Rahmen:
            p.setPen(e.staerke > 0 ? QPen(e.stil.farbe, std::max(e.staerke * f, 1.0)) : QPen(Qt::NoPen));
            p.setBrush(e.fuellung ? QBrush(*e.fuellung) : QBrush(Qt::NoBrush));
            p.drawRect(r);
            p.setBrush(Qt::NoBrush);
            break;
        case TElement::Bild: {
            const TBildSpeicher::TBild& b = bilder.Bild(e.bild, r.size().toSize());
            if (b.bild.isNull()) {
                p.setPen(QPen(Qt::red, std::max(0.2 * f, 1.0)));
                p.drawRect(r);
                p.setFont(Schrift(BildFehlerStil()));
                schrift = nullptr;
                p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, BildFehlerText(e.text));
            } else {
                const QSizeF g = QSizeF(b.bild.size()).scaled(r.size(), Qt::KeepAspectRatio);
                p.setRenderHint(QPainter::LosslessImageRendering, b.verlustfrei);
                p.drawImage(QRectF(r.x() + (r.width() - g.width()) / 2, r.y() + (r.height() - g.height()) / 2, g.width(), g.height()), b.bild);
            }
            break;
        }
        }
    }
    p.restore();
}
