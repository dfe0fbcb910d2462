// The related rows of the sub-band and the pictures of the rows, for a run of a template.
#include "framework/report/lauf.h"

#include "framework/core/fehler.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

void TReportLauf::VerbindungBilden()
{
    if (!FVorlage.unterband)
        return;
    const TBand& u = *FVorlage.unterband;
    for (const QString& spalte : u.verbindung) {
        const int h = FTabellen[0]->SpaltenIndex(spalte), r = FTabellen[1]->SpaltenIndex(spalte);
        if (h < 0 || r < 0 || FTabellen[0]->Spalten()[h].Typ != TDbfTyp::Integer || FTabellen[1]->Spalten()[r].Typ != TDbfTyp::Integer)
            FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("Vorlage %1, %2: %3 ist keine ganzzahlige Spalte beider Tabellen")
                                                            .arg(QFileInfo(FVorlage.datei).fileName(), u.Bezeichnung(), spalte)});
        FVerbindungHaupt.push_back(h);
        FVerbindungUnter.push_back(r);
    }
    const TDbfLeser& unter = *FTabellen[1];
    FVerbindung.reserve(unter.Anzahl());
    for (uint32_t s = 0; s < unter.Anzahl(); ++s) {
        TVerbindungsEintrag e{{0, 0, 0}, s};
        for (size_t i = 0; i < FVerbindungUnter.size(); ++i)
            e.schluessel[i] = unter.Wert(s, FVerbindungUnter[i]).toInt();
        FVerbindung.push_back(e);
    }
    std::stable_sort(FVerbindung.begin(), FVerbindung.end(), [](const auto& a, const auto& b) { return a.schluessel < b.schluessel; });
}

std::pair<const uint32_t*, const uint32_t*> TReportLauf::Verwandte(uint32_t satz) const
{
    TVerbindungsEintrag such{{0, 0, 0}, 0};
    for (size_t i = 0; i < FVerbindungHaupt.size(); ++i)
        such.schluessel[i] = FTabellen[0]->Wert(satz, FVerbindungHaupt[i]).toInt();
    const auto [von, bis] = std::equal_range(FVerbindung.begin(), FVerbindung.end(), such,
                                             [](const auto& a, const auto& b) { return a.schluessel < b.schluessel; });
    if (von == bis)
        return {nullptr, nullptr};
    return {&von->satz, &von->satz + (bis - von)};
}

// Loads the pictures of the rows from pos on, up to CBildVorlauf of them, in one call, wert
// among them; they replace those loaded before.
void TReportLauf::BilderLaden(const QString& wert, uint32_t pos)
{
    QStringList werte{wert};
    QSet<QString> gesehen{wert};
    const auto merken = [&](int tabelle, uint32_t satz, int spalte) {
        const QString w = AlsText(Wert(tabelle, satz, spalte)).trimmed();
        if (!w.isEmpty() && !gesehen.contains(w)) {
            gesehen.insert(w);
            werte << w;
        }
    };
    const uint32_t ende = std::min(FTabellen[0]->Anzahl(), pos + CBildVorlauf);
    for (uint32_t p = pos; p < ende; ++p) {
        const uint32_t satz = Satz(p);
        for (const auto& [name, ort] : FBildSpalten) {
            if (ort.first == 0) {
                merken(0, satz, ort.second);
                continue;
            }
            const auto [von, bis] = Verwandte(satz);
            for (const uint32_t* u = von; u != bis; ++u)
                merken(1, *u, ort.second);
        }
    }
    FBildVorrat = FEinstellungen.bilderLaden(werte);
    for (const QString& w : werte)
        if (!FBildVorrat.contains(w))
            FBildVorrat.insert(w, {});   // no picture: not asked for again
}

// The bytes of the picture that wert names, drawn for the row at pos; empty when there is none.
QByteArray TReportLauf::BildDaten(const QString& wert, uint32_t pos)
{
    if (!FEinstellungen.bilderLaden)
        return {};
    if (!FBildVorrat.contains(wert))
        BilderLaden(wert, pos);
    return FBildVorrat.value(wert);
}
