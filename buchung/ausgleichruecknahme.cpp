#include "buchung/ausgleichruecknahme.h"

#include "framework/app/info.h"
#include "framework/article/artikeltools.h"
#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/files/bnefile.h"
#include "framework/stock/buchung.h"
#include "framework/stock/invmani.h"
#include "framework/stock/sperre.h"

#include <map>
#include <optional>

namespace {

const QString COrt = QStringLiteral("AusgleicheEntfallenerTageZuruecknehmen");

int Bewegungsart()
{
    return ArtBewTyp_DbCode(abtInventurUebernahme);
}

// The count days of a branch that have happened and are a count, with their product-group patterns.
using TTage = std::map<TDateTime, QStringList>;

TTage Zaehltage(int32_t filiale)
{
    const TDateTime heute = DateOf(orv_Now());
    TTage r;
    for (const TIAZaehltag& z : IA_Zaehltage(filiale))
        if (DateOf(z.ZaehlDatum) <= heute)
            r[DateOf(z.ZaehlDatum)] << (z.WGN == QLatin1String("*") ? z.WGN : z.WGN + QLatin1Char('*'));
    return r;
}

// Posts what leaves the stock of the article on the day as a balancing posting; a refusal raises.
void Ausgleichen(TInvMani& mani, const TBNETagessumme& s, TDateTime tag, const TMengen100& abgang)
{
    TBuchErgebnisListe& ergebnis = mani.BuchErgebnisse();
    ergebnis.Vorbereiten(s.Produkt_ID);
    TZusatzBuchDaten zusatz;
    zusatz.BuchDatum = tag;
    mani.ArtBucher()->MengenSetzen(s.Filiale, abgang);
    mani.ArtBucher()->Buchen(abtInventurUebernahme, s.Filiale, 0, zusatz, s.Produkt_ID, ergebnis);
    if (ergebnis.Fehlgeschlagen())
        FehlerRaise(COrt, {ergebnis.Infos().front().Text});
}

bool Zuruecknehmen(TInvMani& mani, const TBNETagessumme& s, std::optional<TDateTime> naechster)
{
    TZEP_clMeldung halter;
    TArtikelTransaktion t(s.Produkt_ID, halter, COrt);
    if (!t.Gehalten())
        return false;
    // read again under the lock: another terminal may have taken it back meanwhile
    const TBNETagessumme jetzt = BNE_Tagessumme(Bewegungsart(), s.Produkt_ID, s.Filiale, s.Datum, COrt);
    if (jetzt.Leer())
        return false;
    if (!mani.ArtBucher())
        mani.ArtBuchen_Init(true, false);
    // the stored quantities are what the postings added to the stock: leaving as much takes them back
    Ausgleichen(mani, jetzt, jetzt.Datum, jetzt.Menge);
    TMengen100 weiter{};
    for (int i = 0; i < 100; ++i)
        weiter[i] = -jetzt.Menge[i];
    if (naechster)
        Ausgleichen(mani, jetzt, *naechster, weiter);
    ORVInfo().WriteStamp(QStringLiteral("Ausgleichsbuchung vom %1 (Filiale %2, Artikel %3) zurückgenommen: an diesem Tag wird nicht mehr "
                                        "gezählt%4")
                             .arg(TDateTime_FormatDatum(jetzt.Datum))
                             .arg(s.Filiale)
                             .arg(ProduktID_2_ArtNr_Formatted(s.Produkt_ID, false),
                                  naechster ? QStringLiteral("; übernommen auf den %1").arg(TDateTime_FormatDatum(*naechster)) : QString()),
                         0);
    t.Commit();
    return true;
}

}

int AusgleicheEntfallenerTageZuruecknehmen(TInvMani& mani, const std::function<bool(const TInt32Trio&, const QString&)>& testWG)
{
    const std::vector<TBNETagessumme> summen = BNE_Tagessummen(Bewegungsart(), COrt);
    std::map<int32_t, TTage> filialen;
    const auto haelt = [&](const QStringList& muster, const TInt32Trio& id) {
        return std::any_of(muster.begin(), muster.end(),
                           [&](const QString& m) { return m == QLatin1String("*") || !testWG || testWG(id, m); });
    };
    int n = 0;
    for (const TBNETagessumme& s : summen) {
        auto fil = filialen.find(s.Filiale);
        if (fil == filialen.end())
            fil = filialen.emplace(s.Filiale, Zaehltage(s.Filiale)).first;
        const TTage& tage = fil->second;
        const auto tag = tage.find(DateOf(s.Datum));
        if (tag != tage.end() && haelt(tag->second, s.Produkt_ID))
            continue;
        std::optional<TDateTime> naechster;
        for (auto it = tage.upper_bound(DateOf(s.Datum)); it != tage.end() && !naechster; ++it)
            if (haelt(it->second, s.Produkt_ID))
                naechster = it->first;
        n += Zuruecknehmen(mani, s, naechster) ? 1 : 0;
    }
    return n;
}
