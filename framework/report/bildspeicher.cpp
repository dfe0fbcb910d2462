#include "framework/report/bildspeicher.h"

#include <QBuffer>
#include <QImageReader>

namespace {

TBildSpeicher::TBild Lesen(const QByteArray& daten, QSize platz)
{
    QBuffer puffer;
    puffer.setData(daten);
    QImageReader leser(&puffer);
    leser.setAutoTransform(true);
    TBildSpeicher::TBild b;
    b.verlustfrei = leser.format() != "jpeg";
    const QSize gespeichert = leser.size();
    if (gespeichert.isValid() && (gespeichert.width() > platz.width() || gespeichert.height() > platz.height()))
        leser.setScaledSize(gespeichert.scaled(platz.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio));
    b.bild = leser.read();
    return b;
}

}

TBildSpeicher::TBildSpeicher(qsizetype budget) : FBudget(budget)
{
}

const TBildSpeicher::TBild& TBildSpeicher::Bild(const QByteArray& daten, QSize platz)
{
    QByteArray schluessel = daten;
    schluessel.append(reinterpret_cast<const char*>(&platz), sizeof platz);
    if (const auto it = FIndex.constFind(schluessel); it != FIndex.cend()) {
        FEintraege.splice(FEintraege.begin(), FEintraege, *it);
        return FEintraege.front().bild;
    }
    FEintraege.push_front({schluessel, Lesen(daten, platz)});
    FIndex.insert(schluessel, FEintraege.begin());
    FBelegt += FEintraege.front().bild.bild.sizeInBytes() + schluessel.size();
    while (FBelegt > FBudget && FEintraege.size() > 1) {
        const TEintrag& alt = FEintraege.back();
        FBelegt -= alt.bild.bild.sizeInBytes() + alt.schluessel.size();
        FIndex.remove(alt.schluessel);
        FEintraege.pop_back();
    }
    return FEintraege.front().bild;
}
