#include "inventurliste/inventurliste.h"

#include "framework/article/aasatz.h"
#include "framework/article/artabwmani.h"
#include "framework/article/artlessimple.h"
#include "framework/article/liefgpdata.h"
#include "framework/db/files/renrfile.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "framework/dbf/invufile.h"

#include "framework/app/info.h"
#include "framework/article/mwtable.h"
#include "framework/core/fehler.h"
#include "framework/core/geld.h"
#include "framework/core/uhr.h"

#include <cmath>

namespace {

// A quantity of a slot; 0 outside the 100 slots.
int32_t Menge(const TORV_Intv100_Sortiment_Me& v, int slot)
{
    return slot >= 0 && slot < 100 ? v.Me[slot] : 0;
}

// The quantity-field vector each quantity kind of an INVL line is taken from.
constexpr int mfTyp(int besttyp) { return besttyp - 1; }
constexpr std::array<int, TinvlMengen::Anzahl> CINVL_MengenVektor = {
    mfTyp(1), mfTyp(2), mfTyp(12), mfTyp(8), mfTyp(9), mfTyp(11), mfTyp(10), mfTyp(14), mfTyp(15), mfTyp(13),
    mfSoll, mfDiff, mfIst, mfFVK};

}

void SetzeMerkmaleINVL(const TAASatz& aaSatz, Tinvlfile& invl)
{
    for (int i = 1; i <= 6; ++i)
        invl.GetBeschreibungsdaten(i) = invl.SetWertCut(QStringLiteral("Merkmal%1").arg(i), aaSatz.Merkmal[i - 1]);
}

void TInventurliste::SchreibeDruckDateien(TMengenfeld& Mengenfeld, const TRegalMengen& Regalmengen, const TAASatz& aaSatz,
                                          TDateTime WiJahr, TDateTime ZaehlDatum, const QString& WGN, int32_t Filiale,
                                          bool KVK, TinvlListe& List, bool IsUebersicht)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.SchreibeDruckDateien"), [&] {
        LiefGPData_AufbauenWennNichtDa();
        IORV_ArtLesSimple& artikel = Angelegt(FArtlesSimple, "FArtlesSimple");
        // a size range outside sizes 1..100 is bad master data: clamped, and logged
        const int von = std::max<int>(aaSatz.GrVon, 1) - 1;
        const int bis = std::min<int>(aaSatz.GrBis, 100) - 1;
        if (aaSatz.GrVon < 1 || aaSatz.GrBis > 100)
            ORVInfo().WriteTextWithStamp(QStringLiteral("Artikel %1 (%2): Größenbereich %3 bis %4 liegt nicht in 1 bis 100")
                                             .arg(aaSatz.ArtNr, aaSatz.Produkt_ID.ToText())
                                             .arg(aaSatz.GrVon)
                                             .arg(aaSatz.GrBis));
        InventurlisteMinMaxIndBestimmen(Mengenfeld);
        if (artikel.Satz().Produkt_ID != aaSatz.Produkt_ID)
            artikel.Laden(aaSatz.Produkt_ID);
        TORV_ArtPreisView& preise = artikel.Preise();
        // The branch is set before the prices are taken, so that a branch's own prices are
        // never those of the branch of the row before.
        preise.SetFiliale(static_cast<int16_t>(Filiale));
        const TDruckZeile z{Mengenfeld, Regalmengen, aaSatz, WiJahr, ZaehlDatum, WGN, Filiale, KVK, List,
                            preise.FilialTest(Filiale) ? QChar('W') : QChar('F')};
        TORV_Intv100_Preis EK, VK;
        PreiseBestimmen(z, von, bis, EK, VK);
        preise.SetStichtag(ZaehlDatum);
        preise.SetFiliale(static_cast<int16_t>(Filiale));
        if (!FArtAbwMani)
            FArtAbwMani = std::make_unique<TDRAV_ArtAbwMani>();
        const int abwProzent =
            FArtAbwMani->Abw_Prozent_WGN(WiJahr, aaSatz.WGN, artikel.Saison(ZaehlDatum), Mengenfeld[mfIst].Sum());
        if (IsUebersicht)
            SchreibeINVU(z, EK, VK, abwProzent);
        else
            SchreibeINVL_INVR(z, EK, VK, abwProzent, bis, von);
    });
}

void TInventurliste::PreiseBestimmen(const TDruckZeile& z, int von, int bis, TORV_Intv100_Preis& EK, TORV_Intv100_Preis& VK)
{
    EK.Clear();
    VK.Clear();
    ORVGuard(QStringLiteral("TfrmKalmetMain.SchreibeDruckDateien.PreiseBestimmen"), [&] {
        TORV_ArtPreisView& preise = Angelegt(FArtlesSimple, "FArtlesSimple").Preise();
        preise.SetStichtag(z.ZaehlDatum);
        EK = preise.EKSet();
        VK = z.KVK ? preise.VK2Set() : preise.VKSet();
        for (TORV_PreisEintrag& e : EK.Eintraege)
            e.Preis = AufCentRunden(e.Preis);
        Intv100_PreisMinMaxAufblasen(von, bis, EK);
        Intv100_PreisMinMaxAufblasen(von, bis, VK);
    });
}

void TInventurliste::SchreibeINVU(const TDruckZeile& z, const TORV_Intv100_Preis& EK, const TORV_Intv100_Preis& VK, int AbwProzent)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.SchreibeDruckDateien.SchreibeINVU"), [&] {
        const TORV_Intv100_Sortiment_Me& ist = z.Mengenfeld[mfIst];
        const TORV_Intv100_Sortiment_Me& soll = z.Mengenfeld[mfSoll];
        if (ist.IsEmpty() && soll.IsEmpty())
            return;
        const std::shared_ptr<const TMWTable> mwst = GlobMWTable_GetInstance();
        TDbf& dbf = Angelegt(FINVUE_DBF, "FINVUE_DBF");
        Tinvufile& invu = Angelegt(FINVUEFile, "FINVUEFile");
        invu.Clear();
        TinvuSatz& u = invu.Satz();
        u.LfdNr = FLfdNrINVU++;
        u.WGN = invu.SetWertCut(QStringLiteral("WGN"), z.aaSatz.WGN);
        u.Filiale = z.Filiale;
        u.FilKZ = z.FilKZ;
        u.MwSt = QString::number(mwst->MWST(z.aaSatz.MwStKz, orv_Now()), 'f', 0) + QLatin1Char('%');
        u.Sum_Ist = static_cast<int32_t>(ist.Sum());
        u.Sum_Soll = static_cast<int32_t>(soll.Sum());
        u.Sum_Diff = u.Sum_Ist - u.Sum_Soll;
        u.Ist_EKWert = static_cast<double>(ist.Bewerten(EK));
        u.Soll_EKWert = static_cast<double>(soll.Bewerten(EK));
        u.Diff_EKWert = u.Ist_EKWert - u.Soll_EKWert;
        u.Ist_EKWert_Abgew = Abgewertet(u.Ist_EKWert, AbwProzent);
        u.Soll_EKWert_Abgew = Abgewertet(u.Soll_EKWert, AbwProzent);
        u.Diff_EKWert_Abgew = Abgewertet(u.Diff_EKWert, AbwProzent);
        u.Ist_VKWert = static_cast<double>(ist.Bewerten(VK));
        u.Soll_VKWert = static_cast<double>(soll.Bewerten(VK));
        u.Diff_VKWert = u.Ist_VKWert - u.Soll_VKWert;
        invu.DBF_InsertSatz(dbf);
    });
}

void TInventurliste::SchreibeINVL_INVR(const TDruckZeile& z, const TORV_Intv100_Preis& EK, const TORV_Intv100_Preis& VK,
                                       int AbwProzent, int bis, int von)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.SchreibeDruckDateien.SchreibeINVL_INVR"), [&] {
        const int n = bis - von + 1;
        if (n <= 0)
            return;
        const int bloecke = (n + CINVL_Slots - 1) / CINVL_Slots;
        const TMengenfeld& m = z.Mengenfeld;
        const TAASatz& aa = z.aaSatz;
        TIntPair renr;
        ReNrErmitteln(aa.Produkt_ID, renr);
        const auto& historie = Angelegt(FArtlesSimple, "FArtlesSimple").Preise().PreisHistorie();
        Tinvlfile& invl = Angelegt(FINVLFile, "FINVLFile");
        Tinvrfile& invr = Angelegt(FINVRFile, "FINVRFile");
        TLiefGPData& lieferanten = Angelegt(FLiefGPData, "FLiefGPData");
        for (int b = 0; b < bloecke; ++b) {
            const int erster = von + CINVL_Slots * b;   // slot of column 0
            const int spalten = std::min(CINVL_Slots, n - CINVL_Slots * b);

            int anzRegal = 0;
            for (const TRegalMenge& regal : z.Regalmengen) {
                if (!regal.Gefuellt)
                    continue;
                TDbf& dbf = Angelegt(FINVR_DBF, "FINVR_DBF");
                invr.Clear();
                TinvrSatz& r = invr.Satz();
                r.LfdNr = FLfdNrINVL;
                r.BlockNr = b;
                r.Regal = regal.Regal;
                r.Produkt_ID = aa.Produkt_ID;
                r.Filiale = z.Filiale;
                r.FilKZ = z.FilKZ;
                for (int j = 0; j < spalten; ++j)
                    r.Menge[j] = Menge(regal.Menge_Regal.Me, erster + j);
                if (b == 0) {
                    r.GesMenge = regal.GesMenge;
                    r.EKWert = static_cast<double>(regal.Menge_Regal.Me.Bewerten(EK));
                    r.VKWert = static_cast<double>(regal.Menge_Regal.Me.Bewerten(VK));
                    r.EKWert_Abgew = Abgewertet(r.EKWert, AbwProzent);
                }
                invr.DBF_InsertSatz(dbf);
                ++anzRegal;
            }

            invl.Clear();
            TinvlSatz& l = invl.Satz();
            l.LfdNr = FLfdNrINVL;
            l.BlockNr = b;
            l.WiJahr = z.WiJahr;
            l.ZaehlDatum = z.ZaehlDatum;
            l.Produkt_ID = aa.Produkt_ID;
            l.Filiale = z.Filiale;
            l.FilKZ = z.FilKZ;
            l.WGN = invl.SetWertCut(QStringLiteral("WGN"), z.WGN);
            l.ArtNr = invl.SetWertCut(QStringLiteral("ArtNr"), aa.ArtNr);
            if (!aa.Partner1.IsNull())
                if (const auto lief = lieferanten.GetLiefDataByGep(aa.Partner1))
                    l.LiefNr = lief->LiefNr;
            l.LiefArtNr = invl.SetWertCut(QStringLiteral("LiefArtNr"), aa.LiefArtNr);
            l.ArtKZ = QChar(aa.ArtKZ);
            if (!aa.Partner2.IsNull())
                if (const auto lief = lieferanten.GetLiefDataByGep(aa.Partner2))
                    l.LiefNr2 = lief->LiefNr;
            l.LiefArtNr2 = invl.SetWertCut(QStringLiteral("LiefArtNr2"), aa.LiefArtNr2);
            l.ReNr = renr.Int1;
            l.ReNr2 = renr.Int2;
            l.LetztesVorgangsDatum = historie.empty() ? 0 : historie.back().Datum;
            l.AbwProzent = AbwProzent;
            l.GrVon = von + 1;
            l.GrBis = bis + 1;
            l.Bezeichnung = invl.SetWertCut(QStringLiteral("Bezeichnung"), aa.Bezeichnung);
            SetzeMerkmaleINVL(aa, invl);
            if (!EK.IsEmpty())
                l.EK = EK.Eintraege.front().Preis;
            l.VK = Preis_4_Index(VK, von);
            l.EK_Abgewertet = Abgewertet(l.EK, AbwProzent);
            l.AnzRegal = anzRegal;
            l.Sum_AbsMengen = 0;

            for (int j = 0; j < spalten; ++j) {
                l.EKPreis[j] = Preis_4_Index(EK, erster + j);
                l.VKPreis[j] = Preis_4_Index(VK, erster + j);
                for (int k = 0; k < TinvlMengen::Anzahl; ++k)
                    l.Mengen[j][k] = Menge(m[CINVL_MengenVektor[k]], erster + j);
                l.Sum_AbsMengen += std::abs(l.Mengen[j].Soll) + std::abs(l.Mengen[j].Diff) + std::abs(l.Mengen[j].Ist);
            }

            for (int k = 0; k < TinvlMengen::Anzahl; ++k)
                l.*CINVL_MengenArten[k].Summe = static_cast<int32_t>(m[CINVL_MengenVektor[k]].Sum());
            if (l.Sum_AbsMengen > 0) {
                TORV_Intv100_Sortiment_Me diff;
                diff.Copy(m[mfDiff]);
                l.Sum_AbsDiff = static_cast<int32_t>(diff.AbsSum());
            }

            l.Soll_EKWert = static_cast<double>(m[mfSoll].Bewerten(EK));
            l.Soll_VKWert = static_cast<double>(m[mfSoll].Bewerten(VK));
            l.Ist_EKWert = static_cast<double>(m[mfIst].Bewerten(EK));
            l.Ist_VKWert = static_cast<double>(m[mfIst].Bewerten(VK));
            l.Diff_EKWert = l.Ist_EKWert - l.Soll_EKWert;
            l.Diff_VKWert = l.Ist_VKWert - l.Soll_VKWert;
            l.Soll_EKWert_Abgew = Abgewertet(l.Soll_EKWert, AbwProzent);
            l.Ist_EKWert_Abgew = Abgewertet(l.Ist_EKWert, AbwProzent);
            l.Diff_EKWert_Abgew = Abgewertet(l.Diff_EKWert, AbwProzent);

            z.List.Add(l);
            ++FLfdNrINVL;
        }
    });
}

void TInventurliste::ReNrErmitteln(const TInt32Trio& Produkt_ID, TIntPair& Pair)
{
    Pair = {};
    ORVGuard(QStringLiteral("TfrmKalmetMain.ReNrErmitteln"), [&] {
        if (!FOptionen.MitRegal)
            return;
        if (const auto it = FReNrVorrat.find(Produkt_ID); it != FReNrVorrat.end()) {
            Pair = it->second;
            return;
        }
        GetRENRFile();
        Trenrfile& r = Angelegt(FRENRFile, "FRENRFile");
        if (r.Produkt_ID.GetWert() != Produkt_ID) {
            r.AllesClear();
            r.SetKeyNum(Trenrfile::StandardKeyNum);
            r.Produkt_ID.SetKeyWert(Produkt_ID);
            r.Get_equal();
        }
        if (r.Produkt_ID.GetWert() == Produkt_ID && r.Found())
            Pair = {r.ReNr.GetWert(), r.ReNr2.GetWert()};
    });
}

void TInventurliste::GetRENRFile()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.GetRENRFile"), [this] {
        if (!FRENRFile)
            FRENRFile = std::make_unique<Trenrfile>(2, -1);
    });
}

void TInventurliste::LiefGPData_AufbauenWennNichtDa()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.LiefGPData_AufbauenWennNichtDa"), [this] {
        if (!FLiefGPData)
            FLiefGPData = std::make_unique<TLiefGPData>();
    });
}
