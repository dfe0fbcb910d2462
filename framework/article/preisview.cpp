#include "framework/article/preisview.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"


namespace {

TProduktBlockAbfrage& Abfrage(std::unique_ptr<TProduktBlockAbfrage>& a, const char* spalten, const char* tabelle,
                              const char* ordnung)
{
    if (!a)
        a = std::make_unique<TProduktBlockAbfrage>(QLatin1String(spalten), QLatin1String(tabelle), QLatin1String(ordnung));
    return *a;
}

}

std::vector<TORV_ArtPreisView::TDaten> TORV_ArtPreisView::Lesen(const std::vector<TInt32Trio>& ids)
{
    std::vector<TDaten> daten(ids.size());
    // dates as text, which the date field's reader takes without the driver's general parser
    TProduktBlockAbfrage::ZugleichLesen(
        ids, {{&Abfrage(FPreisAbfrage, "t.preisart, t.filiale, t.slot_von, t.slot_bis, t.preis, t.strp, CAST(t.gueltig_ab AS TEXT)", "preis",
                        "t.preisart, t.gueltig_ab, t.id"),
               [&](int i, const TBlockZeile& p) {
                   daten[i].Preise.push_back({p.Int(1), p.Int(2), p.Int(3), p.Int(4), p.Double(5), p.Int(6), p.Datum(7)});
               }},
              {&Abfrage(FHistorieAbfrage, "CAST(t.datum AS TEXT), t.vorgang, t.preisart, t.preis_alt, t.preis_neu", "preishist", "t.datum, t.id"),
               [&](int i, const TBlockZeile& h) { daten[i].Historie.push_back({h.Datum(1), h.Text(2), h.Int(3), h.Double(4), h.Double(5)}); }},
              {&Abfrage(FFilialAbfrage, "t.filiale", "artikel_filiale", ""),
               [&](int i, const TBlockZeile& w) { daten[i].FilialenW.insert(w.Int(1)); }}});
    return daten;
}

void TORV_ArtPreisView::Vorladen(const std::vector<TInt32Trio>& ids)
{
    FVorrat.clear();
    std::vector<TDaten> daten = Lesen(ids);
    for (size_t i = 0; i < ids.size(); ++i)
        FVorrat.emplace(ids[i], std::move(daten[i]));
}

void TORV_ArtPreisView::SetArtikel(const TInt32Trio& id)
{
    if (FGeladen && id == FArtikel)
        return;
    const auto it = FVorrat.find(id);
    FDaten = it != FVorrat.end() ? it->second : std::move(Lesen({id}).front());
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
    for (const TZeile& z : FDaten.Preise) {
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
    for (const TPreisHistorieEintrag& e : FDaten.Historie)
        if (DateOf(e.Datum) <= DateOf(tag))
            r = e.Datum;
    return r;
}

bool TORV_ArtPreisView::FilialTest(int filiale) const
{
    return FDaten.FilialenW.count(filiale) > 0;
}
