#include "inventurliste/aufrechnen.h"

#include "collections/zep_dictionary.h"
#include "framework/app/info.h"
#include "framework/core/geld.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

namespace {

// The slot of column j of a line, or -1 outside the 100 slots.
int Slot(const TinvlSatz& r, int j)
{
    const int s = r.GrVon - 1 + CINVL_Slots * r.BlockNr + j;
    return s >= 0 && s < 100 ? s : -1;
}

void AbsMinimumAusFilialeUndUnternehmenBestimmen(TORV_Intv100_Sortiment_Me& U, const TORV_Intv100_Sortiment_Me& F)
{
    ORVGuard(QStringLiteral("AbsMinimumAusFilialeUndUnternehmenBestimmen"), [&] {
        U.MinMax_Suchen();
        for (int i = U.MinInd; i <= U.MaxInd; ++i) {
            if (F.Me[i] > 0 && U.Me[i] > 0)
                U.Me[i] = std::min(F.Me[i], U.Me[i]);
            else if (F.Me[i] < 0 && U.Me[i] < 0)
                U.Me[i] = std::max(F.Me[i], U.Me[i]);
            else
                U.Me[i] = 0;
        }
    });
}

bool IstArtikelAufGrundMangelnderInvDiffZuEntfernen(const TORV_Intv100_Sortiment_Me& U, int32_t minDiff)
{
    bool entfernen = true;
    ORVGuard(QStringLiteral("IstArtikelAufGrundMangelnderInvDiffZuEntfernen"), [&] {
        for (int i = U.MinInd; i <= U.MaxInd; ++i)
            if (std::abs(U.Me[i]) >= minDiff) {
                entfernen = false;
                return;
            }
    });
    return entfernen;
}

// Deletes the lines of other branches. The netted vector becomes the difference of the selected
// branch's last inventory in list order, on every block line of it, with the totals and
// difference values it implies; further inventories of the branch stay as they are.
void SatzSelektierterFilialeUpdatenAndereSatzeLoeschen(int32_t SelFil, TinvlListe& list, const TORV_Intv100_Sortiment_Me& U)
{
    ORVGuard(QStringLiteral("SatzSelektierterFilialeUpdatenAndereSatzeLoeschen"), [&] {
        std::optional<TDateTime> zaehlDatum;
        for (int i = list.Count() - 1; i >= 0; --i) {
            const TinvlSatz& r = list.GetItem(i);
            if (r.Filiale != SelFil)
                list.Delete(i);
            else if (!zaehlDatum)
                zaehlDatum = r.ZaehlDatum;
        }
        if (!zaehlDatum)
            return;
        const auto genetzt = [&](const TinvlSatz& r) { return r.ZaehlDatum == *zaehlDatum; };
        std::array<double, 100> ek{}, vk{};
        for (const TinvlSatz& r : list)
            if (genetzt(r))
                for (int j = 0; j < CINVL_Slots; ++j)
                    if (const int s = Slot(r, j); s >= 0) {
                        ek[s] = r.EKPreis[j];
                        vk[s] = r.VKPreis[j];
                    }
        int64_t summe = 0, absSumme = 0;
        long double ekWert = 0, vkWert = 0;
        for (int s = 0; s < 100; ++s) {
            summe += U.Me[s];
            absSumme += std::abs(U.Me[s]);
            ekWert += static_cast<long double>(U.Me[s]) * ek[s];
            vkWert += static_cast<long double>(U.Me[s]) * vk[s];
        }
        for (int i = 0; i < list.Count(); ++i) {
            TinvlSatz* r = list.Items_Ptr(i);
            if (!genetzt(*r))
                continue;
            for (int j = 0; j < CINVL_Slots; ++j) {
                const int s = Slot(*r, j);
                r->Mengen[j].Diff = s < 0 ? 0 : U.Me[s];
            }
            r->Sum_Diff = static_cast<int32_t>(summe);
            r->Sum_AbsDiff = r->Sum_AbsMengen > 0 ? static_cast<int32_t>(absSumme) : 0;
            r->Diff_EKWert = static_cast<double>(ekWert);
            r->Diff_VKWert = static_cast<double>(vkWert);
            r->Diff_EKWert_Abgew = Abgewertet(r->Diff_EKWert, r->AbwProzent);
        }
    });
}

void Nachlauf(int32_t SelFil, TinvlListe& list, TORV_Intv100_Sortiment_MeMitProduktId& U,
              const TORV_Intv100_Sortiment_MeMitProduktId& F, int32_t minDiff)
{
    ORVGuard(QStringLiteral("Nachlauf"), [&] {
        if (U.ProduktId.IsNull())
            return;
        if (SelFil != 0)
            AbsMinimumAusFilialeUndUnternehmenBestimmen(U.Me, F.Me);
        U.Me.MinMax_Suchen();
        if (IstArtikelAufGrundMangelnderInvDiffZuEntfernen(U.Me, minDiff)) {
            list.Clear();
            return;
        }
        if (SelFil != 0)
            SatzSelektierterFilialeUpdatenAndereSatzeLoeschen(SelFil, list, U.Me);
    });
}

}

void FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list, int32_t minDiff)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FilialenAufrechnen_INVL"), [&] {
        TORV_Intv100_Sortiment_MeMitProduktId U, F;
        for (const TinvlSatz& r : list) {
            U.ProduktId = r.Produkt_ID;
            for (int j = 0; j < CINVL_Slots; ++j) {
                const int s = Slot(r, j);
                if (s < 0)
                    continue;
                U.Me.Me[s] += r.Mengen[j].Diff;
                if (SelFil != 0 && r.Filiale == SelFil)
                    F.Me.Me[s] += r.Mengen[j].Diff;
            }
        }
        Nachlauf(SelFil, list, U, F, minDiff);
    });
}

int64_t FilialDifferenz_Exists(const TinvlListe& list)
{
    int64_t summe = 0;
    ORVGuard(QStringLiteral("TfrmKalmetMain.FilialDifferenz_Exists"), [&] {
        for (int b = 0; b <= 5; ++b) {
            std::array<int64_t, CINVL_Slots> v{};
            for (const TinvlSatz& r : list)
                if (r.BlockNr == b)
                    for (int j = 0; j < CINVL_Slots; ++j)
                        v[j] += r.Mengen[j].Diff;
            for (int64_t x : v)
                summe += std::llabs(x);
        }
    });
    return summe;
}

void LoescheINVLohneDifferenz(TinvlListe& list, bool Filueber, int32_t MinDiff)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.LoescheINVLohneDifferenz"), [&] {
        if (MinDiff <= 0)
            return;
        if (Filueber) {
            if (FilialDifferenz_Exists(list) < MinDiff)
                list.Clear();
            return;
        }
        for (int i = list.Count() - 1; i >= 0; --i)
            if (list.Items_Ptr(i)->Sum_AbsDiff < MinDiff)
                list.Delete(i);
    });
}

void LoescheINVLohneNachzaehlung(TinvlListe& list, int32_t abStueck, double abWert)
{
    if (abStueck <= 0 && abWert <= 0)
        return;
    const qint64 abCent = std::llround(AufCentRunden(abWert) * 100);
    for (int i = list.Count() - 1; i >= 0; --i) {
        const TinvlSatz& l = *list.Items_Ptr(i);
        const bool stueck = abStueck > 0 && l.Sum_AbsDiff >= abStueck;
        const bool wert = abCent > 0 && std::llabs(std::llround(AufCentRunden(l.Diff_EKWert) * 100)) >= abCent;
        if (!stueck && !wert)
            list.Delete(i);
    }
}

void LoescheINVLohneMengen(TinvlListe& list)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.LoescheINVLohneMengen"), [&] {
        for (int i = list.Count() - 1; i >= 0; --i)
            if (list.Items_Ptr(i)->Sum_AbsMengen == 0)
                list.Delete(i);
    });
}

void SummiereINVL(const TinvlListe& list, TinvlListe& summaryList)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.SummiereINVL"), [&] {
        std::map<int, std::vector<const TinvlSatz*>> gruppen;   // by block, list order kept
        bool mehrereFilialen = false;
        for (const TinvlSatz& r : list) {
            gruppen[r.BlockNr].push_back(&r);
            mehrereFilialen |= r.Filiale != list.First().Filiale;
        }
        if (!mehrereFilialen || gruppen.empty())
            return;
        for (int b = 0; b <= gruppen.rbegin()->first; ++b) {
            const auto gruppe = gruppen.find(b);
            if (gruppe == gruppen.end())
                continue;
            TZEP_Dictionary<int, int16_t> tagFiliale;   // count day -> branch, -1 for several
            for (const TinvlSatz* r : gruppe->second) {
                const int tag = static_cast<int>(DateOf(r->ZaehlDatum));
                bool vorhanden;
                int16_t* fil = tagFiliale.TryGetValuePointer(tag, vorhanden);
                if (!vorhanden)
                    tagFiliale.Add(tag, static_cast<int16_t>(r->Filiale));
                else if (*fil != r->Filiale)
                    *fil = -1;
            }
            for (const auto& [tag, fil] : tagFiliale.Pairs()) {
                if (fil > 0)
                    continue;
                TinvlSatz summe;
                InvlSatzClear(summe);
                for (const TinvlSatz* r : gruppe->second)
                    if (static_cast<int>(DateOf(r->ZaehlDatum)) == tag)
                        InvlSatzAddTo(*r, summe);
                if (!summe.Produkt_ID.IsNull()) {
                    summe.Filiale = CINVL_SummenFiliale;
                    summaryList.Add(summe);
                }
            }
        }
    });
}

void InvlSatzClear(TinvlSatz& satz)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvlSatzClear"), [&] { satz = TinvlSatz{}; });
}

void InvlSatzAddTo(const TinvlSatz& s, TinvlSatz& t)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvlSatzAddTo"), [&] {
        // a cleared target has no size range yet: it takes the source's
        const bool erster = t.Produkt_ID.IsNull();
        t.GrVon = erster ? s.GrVon : std::min(t.GrVon, s.GrVon);
        t.GrBis = erster ? s.GrBis : std::max(t.GrBis, s.GrBis);
        t.LfdNr = s.LfdNr;
        t.BlockNr = s.BlockNr;
        t.WiJahr = s.WiJahr;
        t.ZaehlDatum = s.ZaehlDatum;
        t.Produkt_ID = s.Produkt_ID;
        t.Produkt_ID2 = s.Produkt_ID2;
        t.Filiale = s.Filiale;
        t.FilKZ = s.FilKZ;
        t.WGN = s.WGN;
        t.ArtNr = s.ArtNr;
        t.LiefNr = s.LiefNr;
        t.LiefArtNr = s.LiefArtNr;
        t.LiefNr2 = s.LiefNr2;
        t.LiefArtNr2 = s.LiefArtNr2;
        t.ArtKZ = s.ArtKZ;
        t.Merkmal = s.Merkmal;
        t.Bezeichnung = s.Bezeichnung;
        t.LetztesVorgangsDatum = s.LetztesVorgangsDatum;
        t.ReNr = s.ReNr;
        t.ReNr2 = s.ReNr2;
        t.EK = s.EK;
        t.AbwProzent = s.AbwProzent;
        t.EK_Abgewertet = s.EK_Abgewertet;
        t.VK = s.VK;
        t.EKPreis = s.EKPreis;
        t.VKPreis = s.VKPreis;
        for (int j = 0; j < CINVL_Slots; ++j)
            for (int k = 0; k < TinvlMengen::Anzahl; ++k)
                t.Mengen[j][k] += s.Mengen[j][k];
        for (const TINVL_MengenArt& a : CINVL_MengenArten)
            t.*a.Summe += s.*a.Summe;
        t.Sum_AbsMengen += s.Sum_AbsMengen;
        t.Sum_AbsDiff += s.Sum_AbsDiff;
        t.AnzRegal += s.AnzRegal;
        for (double TinvlSatz::*w : CINVL_Werte)
            t.*w += s.*w;
    });
}

void INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren, Tinvlfile& datei, TDbf& tabelle, int32_t& lfdNr)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.INVLSaetzeWegschreiben"), [&] {
        // totals and values cover the whole article at a branch and count date: they stand on
        // its first printed line only, which is a later block when a filter took the first
        std::set<std::tuple<int32_t, int32_t, int32_t, int32_t, TDateTime>> gedruckt;
        for (const TinvlSatz& r : list) {
            datei.SetSatz(r);
            TinvlSatz& b = datei.Satz();
            const bool erste = gedruckt.insert({r.Produkt_ID.Int1, r.Produkt_ID.Int2, r.Produkt_ID.Int3, r.Filiale, DateOf(r.ZaehlDatum)}).second;
            if (r.BlockNr > 0 && !erste) {
                for (const TINVL_MengenArt& a : CINVL_MengenArten)
                    b.*a.Summe = 0;
                for (double TinvlSatz::*w : CINVL_Werte)
                    b.*w = 0;
            }
            if (Nummerieren)
                b.LfdNr = lfdNr++;
            datei.DBF_InsertSatz(tabelle);
        }
    });
}
