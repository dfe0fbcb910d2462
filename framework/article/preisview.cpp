#include "framework/article/preisview.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlError>

namespace {

void Lesen(std::unique_ptr<QSqlQuery>& q, const QString& sql, const TInt32Trio& id)
{
    if (!q) {
        q = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
        q->setForwardOnly(true);
        q->prepare(sql + QStringLiteral(" WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"));
    }
    q->bindValue(0, id.Int1);
    q->bindValue(1, id.Int2);
    q->bindValue(2, id.Int3);
    if (!q->exec())
        FehlerRaise(QStringLiteral("TORV_ArtPreisView"), {q->lastError().text()});
}

TDateTime Datum(const QVariant& v)
{
    return TDatumTraits::FromSql(&v);
}

}

void TORV_ArtPreisView::SetArtikel(const TInt32Trio& id)
{
    if (FGeladen && id == FArtikel)
        return;
    FPreise.clear();
    FHistorie.clear();
    FFilialenW.clear();
    Lesen(FPreisQuery, QStringLiteral("SELECT preisart, filiale, slot_von, slot_bis, preis, strp, gueltig_ab FROM preis"), id);
    for (QSqlQuery& p = *FPreisQuery; p.next();)
        FPreise.push_back({p.value(0).toInt(), p.value(1).toInt(), p.value(2).toInt(), p.value(3).toInt(), p.value(4).toDouble(),
                           p.value(5).toInt(), Datum(p.value(6))});
    Lesen(FHistorieQuery, QStringLiteral("SELECT datum, vorgang, preisart, preis_alt, preis_neu FROM preishist"), id);
    for (QSqlQuery& h = *FHistorieQuery; h.next();)
        FHistorie.push_back({Datum(h.value(0)), h.value(1).toString(), h.value(2).toInt(), h.value(3).toDouble(), h.value(4).toDouble()});
    std::stable_sort(FHistorie.begin(), FHistorie.end(),
                     [](const TPreisHistorieEintrag& a, const TPreisHistorieEintrag& b) { return a.Datum < b.Datum; });
    Lesen(FFilialQuery, QStringLiteral("SELECT filiale FROM artikel_filiale"), id);
    for (QSqlQuery& w = *FFilialQuery; w.next();)
        FFilialenW.insert(w.value(0).toInt());
    FArtikel = id;
    FGeladen = true;
}

// Per slot the row in force: valid on the reference day, the branch's own before branch 0,
// then the latest validity date.
std::vector<const TORV_ArtPreisView::TZeile*> TORV_ArtPreisView::Gueltige(int preisart) const
{
    std::vector<const TZeile*> slot(100, nullptr);
    const auto besser = [this](const TZeile* neu, const TZeile* alt) {
        if (!alt)
            return true;
        const bool neuEigen = neu->Filiale == FFiliale, altEigen = alt->Filiale == FFiliale;
        if (neuEigen != altEigen)
            return neuEigen;
        return neu->GueltigAb > alt->GueltigAb;
    };
    for (const TZeile& z : FPreise) {
        if (z.Preisart != preisart || DateOf(z.GueltigAb) > DateOf(FStichtag) || (z.Filiale != 0 && z.Filiale != FFiliale))
            continue;
        for (int i = std::max(z.Von, 0); i <= std::min(z.Bis, 99); ++i)
            if (besser(&z, slot[i]))
                slot[i] = &z;
    }
    return slot;
}

TORV_Intv100_Preis TORV_ArtPreisView::Set(int preisart) const
{
    TORV_Intv100_Preis r;
    const std::vector<const TZeile*> slot = Gueltige(preisart);
    for (int i = 0; i < 100; ++i) {
        if (!slot[i])
            continue;
        if (!r.Eintraege.empty() && r.Eintraege.back().Bis + 1 == i && r.Eintraege.back().Preis == slot[i]->Preis)
            r.Eintraege.back().Bis = static_cast<uint8_t>(i);
        else
            r.Eintraege.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), {}, slot[i]->Preis});
    }
    return r;
}

TORV_ArtPreis_STRP_Set TORV_ArtPreisView::STRP() const
{
    TORV_ArtPreis_STRP_Set r;
    for (const TZeile* z : Gueltige(paVK))
        if (z)
            for (TORV_ArtPreis_STRP f : {strpReduziert, strpAktion, strpFestpreis})
                if (z->Strp & (1 << f))
                    r.insert(f);
    return r;
}

TDateTime TORV_ArtPreisView::PreisHistorieDatum(TDateTime tag) const
{
    TDateTime r = 0;
    for (const TPreisHistorieEintrag& e : FHistorie)
        if (DateOf(e.Datum) <= DateOf(tag))
            r = e.Datum;
    return r;
}

bool TORV_ArtPreisView::FilialTest(int filiale) const
{
    return FFilialenW.count(filiale) > 0;
}
