// The target=actual takeover of the inventory manager: the counts of an inventory's articles
// become their targets.
#include "framework/stock/invmani.h"

#include "framework/article/besttyp.h"
#include "framework/article/ggtab.h"
#include "framework/article/iazugriff.h"
#include "framework/core/geld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/transaktion.h"
#include "framework/stock/soll2istrechnung.h"

#include <algorithm>
#include <map>

namespace {

const QString COrt = QStringLiteral("TInvMani.Soll2Ist");

// What the takeover reads of an inventory: the articles' size ranges and grids, their target
// records, counts so far and erroneous sales.
struct TSoll2IstGelesen {
    std::map<TInt32Trio, TArtikelStamm, decltype(&TInt32Trio::Numerisch_Kleiner)> Stamm{&TInt32Trio::Numerisch_Kleiner};
    std::vector<TivSollStamm> Soll;
    TSoll2IstBisher Bisher{&TInt32Trio::Numerisch_Kleiner};
    std::vector<TFvkSatz> Fehlverkaeufe;
};

// Every row is read before anything is looked up: a look-up that runs a statement while a read
// is under way would cut the read short on PostgreSQL.
TSoll2IstGelesen Soll2IstLesen(TDateTime wiJahr, TDateTime zaehlDatum, int16_t filiale, const TArtikelWGNWahl& wahl)
{
    TSoll2IstGelesen r;
    r.Soll = IV_SollMitStamm({wiJahr, zaehlDatum, filiale}, wahl, COrt);
    for (const TivSollStamm& s : r.Soll)
        r.Stamm[s.Stamm.Produkt_ID] = s.Stamm;
    for (const auto& [stamm, menge] : IZNS_GesamtMitStamm(zaehlDatum, filiale, wahl, COrt)) {
        r.Stamm[stamm.Produkt_ID] = stamm;
        TSoll2IstMengen& bisher = r.Bisher[stamm.Produkt_ID];
        for (int i = 0; i < 100; ++i)
            bisher[i] += menge[i];
    }
    // erroneous sales of the count's correction lower the target, as the list counts them:
    // those not converted yet and those another count day's booking converted
    r.Fehlverkaeufe = FVK_KorrekturLesen(zaehlDatum, filiale, wahl, COrt);
    for (const auto& [produktId, saetze] : FVK_ZaehltagLesen(zaehlDatum, filiale, COrt))
        for (TFvkSatz f : saetze) {
            f.Produkt_ID = produktId;
            r.Fehlverkaeufe.push_back(f);
        }
    return r;
}

}

int TInvMani::Soll2Ist(TDateTime zaehlDatum, const QString& wgn, int16_t filiale, const QString& selWGN, int16_t selFiliale)
{
    if (selFiliale != 0 && selFiliale != filiale)
        return 0;
    const QString iaWgn = IA_WGNGespeichert(wgn);
    // one transaction per inventory: all its articles or none. The count day is held from the
    // start (its inventories share the count records), so a booking's article transaction
    // either committed before (its article is left alone below) or waits until the takeover is done.
    TTransaktion t(COrt);
    const std::vector<TIAInventur> tag = IA_TagGehalten(zaehlDatum, filiale);
    const auto inventur = std::find_if(tag.begin(), tag.end(), [&](const TIAInventur& i) { return IA_WGNGespeichert(i.Schluessel.WGN) == iaWgn; });
    if (inventur == tag.end() || inventur->Stand.Status == iakzGebucht || inventur->Stand.Status == iakzStorniert)
        return 0;   // a booked or cancelled inventory is never changed
    const TDateTime wiJahr = inventur->Stand.WiJahr;

    const TSoll2IstGelesen gelesen = Soll2IstLesen(wiJahr, zaehlDatum, filiale, {iaWgn, selWGN});
    std::vector<TSoll2IstSoll> soll;
    for (const TivSollStamm& s : gelesen.Soll)
        soll.push_back({s.Stamm.Produkt_ID, s.BestTyp.isEmpty() ? 0 : Char_2_ArtBestTyp(s.BestTyp.at(0)), s.Aktuell, s.Menge});
    std::vector<TSoll2IstFehlverkauf> fehlverkaeufe;
    for (const TFvkSatz& f : gelesen.Fehlverkaeufe)
        if (const auto stamm = gelesen.Stamm.find(f.Produkt_ID); stamm != gelesen.Stamm.end())
            fehlverkaeufe.push_back({f.Produkt_ID, GGTab_Glob().Groesse_Numerisch_2_Index(stamm->second.GGKey, f.Groesse),
                                     FVK_VerkaufteMenge(f.Vorzeichen, f.Menge)});
    const TSoll2IstErgebnis ergebnis = Soll2IstRechnen(soll, gelesen.Bisher, fehlverkaeufe, IV_GebuchteArtikel(zaehlDatum, filiale),
                                                       [](int t) { return Get_ArtBestTyp_Eigenschaften(t).IstGezaehlt; });
    double istEK = 0;
    for (const auto& [produktId, a] : ergebnis) {
        const TArtikelStamm& stamm = gelesen.Stamm.at(produktId);
        TMengen100 neu{};
        for (int i = 0; i < 100; ++i)
            neu[i] = static_cast<int32_t>(a.Neu[i]);
        IZNS_ZaehlungErsetzen(zaehlDatum, filiale, produktId, stamm.GrVon, stamm.GrBis, neu, COrt);
        // the counted value changes by the difference of the counts at the article's purchase
        // prices: the price view follows the article loaded, so the article is loaded first; one
        // whose master record went meanwhile is still valued at its own price rows
        FArtLes->Laden(produktId);
        TORV_ArtPreisView& preise = FArtLes->Preise();
        preise.SetArtikel(produktId);
        preise.SetStichtag(zaehlDatum);
        preise.SetFiliale(filiale);
        TSoll2IstMengen aenderung{};
        for (size_t i = 0; i < 100; ++i)
            aenderung[i] = a.Neu[i] - a.Bisher[i];
        istEK += Intv100_AenderungBewerten(preise.EKSet(), aenderung);
        if (OnSoll2Ist4ArtikelNr)
            OnSoll2Ist4ArtikelNr(produktId);
    }
    IA_IstEKAddieren(zaehlDatum, wgn, filiale, AufCentRunden(istEK));
    t.Commit();
    return static_cast<int>(ergebnis.size());
}
