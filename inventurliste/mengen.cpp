#include "inventurliste/inventurliste.h"
#include "inventurliste/inventursaetze.h"

#include "framework/app/info.h"
#include "framework/app/interaktion.h"
#include "framework/article/artikeltools.h"
#include "framework/article/artlessimple.h"
#include "framework/article/besttyp.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/ggtab.h"
#include "framework/core/fehler.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/dbf/invlfile.h"
#include "framework/stock/invmani.h"

void TInventurliste::InitMengenfeld(TMengenfeld& AMengenfeld)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.InitMengenfeld"), [&] {
        for (TORV_Intv100_Sortiment_Me& v : AMengenfeld)
            v.Init();
    });
}

bool TInventurliste::LeseZaehlMengen(TMengenfeld& AMengenfeld, TRegalMengen& ARegalmengen, const TInt32Trio& Produkt_ID,
                                     TDateTime ZaehlDatum, int32_t Filiale, bool withShelves)
{
    bool gefunden = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.ErstelleINVL.LeseZaehlMengen"), [&] {
        // the total count ("G", shelf 0) comes before the shelves ("R") of the article; the
        // shelves count only beside a total that holds quantities
        bool mitMengen = false;
        FSaetze->Zaehl.Lesen({ZaehlDatum, Filiale, withShelves}, Produkt_ID, [&](const TiznsSatz& s) {
            if (s.Satzart == QLatin1Char('G') && s.Regal == 0) {
                gefunden = true;
                mitMengen = s.Gezaehlt != 0;
                ZaehlsatzUebernehmen(s, AMengenfeld);
            } else if (s.Satzart == QLatin1Char('R') && withShelves && mitMengen) {
                RegalsatzUebernehmen(s, ARegalmengen);
            }
        });
    });
    return gefunden;
}

void TInventurliste::FuelleMengenfeld_MitZaehlsaetzen(TMengenfeld& AMengenfeld)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FuelleMengenfeld_MitZaehlsaetzen");
    ORVGuard(ort, [&] { ZaehlsatzUebernehmen(Angelegt(FIZNSFile, "FIZNSFile").GetSatz(), AMengenfeld); });
}

void TInventurliste::FuelleRegalmengen(TRegalMengen& ARegalmengen)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FuelleRegalmengen");
    ORVGuard(ort, [&] { RegalsatzUebernehmen(Angelegt(FIZNSFile, "FIZNSFile").GetSatz(), ARegalmengen); });
}

void TInventurliste::ZaehlsatzUebernehmen(const TiznsSatz& satz, TMengenfeld& AMengenfeld)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FuelleMengenfeld_MitZaehlsaetzen");
    ORVGuard(ort, [&] { MengenfeldZaehlsatzAddieren(AMengenfeld, satz, ort); });
}

void TInventurliste::RegalsatzUebernehmen(const TiznsSatz& satz, TRegalMengen& ARegalmengen)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FuelleRegalmengen");
    ORVGuard(ort, [&] { RegalmengeAnfuegen(ARegalmengen, satz, ort); });
}

bool TInventurliste::LeseSollMengen(TMengenfeld& AMengenfeld, const TInt32Trio& Produkt_ID, TDateTime WiJahr,
                                    TDateTime ZaehlDatum, int32_t Filiale)
{
    bool gefunden = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.ErstelleINVL"), [&] {
        FSaetze->Soll.Lesen({WiJahr, ZaehlDatum, Filiale}, Produkt_ID, [&](const TivSatz& s) {
            if (s.BestTyp < QLatin1Char(' '))
                return;   // before the start key " " of a keyed read
            gefunden = true;
            FuelleMengenfeld_MitSollsaetzen(s, AMengenfeld);
        });
    });
    return gefunden;
}

void TInventurliste::FuelleMengenfeld_MitSollsaetzen(const TivSatz& ivSatz, TMengenfeld& AMengenfeld)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FuelleMengenfeld_MitSollsaetzen"), [&] {
        MengenfeldSollsatzAddieren(AMengenfeld, ivSatz, [](int t) { return Get_ArtBestTyp_Eigenschaften(t).IstGezaehlt; });
    });
}

void TInventurliste::FuelleMengenFeld_UF(int16_t Filiale, TMengenfeld& AMengenfeld)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FuelleMengenFeld_UF"), [&] {
        TInvMani_BestandLeser& mengen = Angelegt(FInvmani, "FInvmani").LeserB();
        mengen.SetFiliale(Filiale);
        mengen.SetBestTyp(CMengenArtInventurdifferenz);
        const TORV_Intv100_Sortiment_MeMitOV v = mengen.Lesen();
        if (!v.Me.IsEmpty())
            AMengenfeld[mfUF].Copy(v.Me);
    });
}

void TInventurliste::InventurlisteMinMaxIndBestimmen(TMengenfeld& AMengenfeld)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.InventurlisteMinMaxIndBestimmen"), [&] {
        for (TORV_Intv100_Sortiment_Me& v : AMengenfeld)
            v.MinMax_Suchen();
    });
}

void TInventurliste::FVKKorrektur(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ATestlauf,
                                  TMengenfeld& AMengenfeld)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FVKKorrektur"), [&] {
        if (ATestlauf) {
            const QString ort = QStringLiteral("TfrmKalmetMain.FVKKorrektur");
            FVKKorrektur_Aktuell(Produkt_ID, Filiale, ZaehlDatum, true, FVK_Lesen(Produkt_ID, Filiale, ort),
                                 FVK_ZaehltagLesen(ZaehlDatum, Filiale, Produkt_ID, ort), AMengenfeld);
            return;
        }
        // the list reads each inventory's erroneous sales in one scan
        int ggKey = -1;
        FSaetze->Fvk.Lesen({ZaehlDatum, Filiale}, Produkt_ID,
                           [&](const TFvkSatz& f) { FehlverkaufAnwenden(AMengenfeld, Produkt_ID, ggKey, f); });
        for (const TFvkSatz& f : FSaetze->FvkZaehltag({ZaehlDatum, Filiale}, Produkt_ID))
            FehlverkaufAnwenden(AMengenfeld, Produkt_ID, ggKey, f);
    });
}

void TInventurliste::FVKKorrektur_Aktuell(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ALagerPruefen,
                                          const TFvkZeilen& zeilen, const std::vector<TFvkSatz>& zaehltag, TMengenfeld& AMengenfeld)
{
    const bool verboten = ALagerPruefen && Angelegt(FFilialtab, "FFilialtab").GetFilialeByNr(Filiale).LV_Benutzen;
    int ggKey = -1;
    for (const auto& [id, s] : zeilen) {
        if (!ImFVKKorrektur(s.Datum, ZaehlDatum))
            continue;   // in no correction of this count, as the list's scan selects
        if (verboten)
            throw std::runtime_error("TfrmKalmetMain.FVKKorrektur: Fehlerverkauf in Filiale mit lagerplatzbezogener Bestandsführung!");
        FehlverkaufAnwenden(AMengenfeld, Produkt_ID, ggKey, s);
    }
    for (const TFvkSatz& s : zaehltag)
        FehlverkaufAnwenden(AMengenfeld, Produkt_ID, ggKey, s);
}

void TInventurliste::FehlverkaufAnwenden(TMengenfeld& AMengenfeld, const TInt32Trio& Produkt_ID, int& ggKey, const TFvkSatz& f)
{
    if (ggKey < 0)
        ggKey = FArtlesSimple && FArtlesSimple->Satz().Produkt_ID == Produkt_ID
            ? FArtlesSimple->Satz().GGKey   // the master record the list computes the article with
            : TArtikelTools::GG_Key_AusAAFile(Produkt_ID);
    const int slot = GGTab_Glob().Groesse_Numerisch_2_Index(ggKey, f.Groesse);
    if (slot >= 0 && slot <= 99)
        ::FehlverkaufAnwenden(AMengenfeld, slot, f.Vorzeichen, f.Menge);
}

void TInventurliste::BestandRueckOderVorRechnen(const TInt32Trio& Produkt_ID, int16_t Filiale, TDateTime ZaehlDatum,
                                                TDateTime AuswertungsDatum, TDateTime WiJahr, TMengenfeld& AMengenfeld)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.BestandRueckOderVorRechnen");
    if (ZaehlDatum < AuswertungsDatum) {
        // no forward calculation: a notice, told once per print and inventory row, not a
        // failure of the list; the article stays at its count date
        const QString text = QStringLiteral("Inventurauswertung: Diese Funktion steht noch nicht zur Verfügung (Vorrechnung der Inventur "
                                            "vom %1, Filiale %2)")
                                 .arg(TDateTime_FormatDatum(ZaehlDatum))
                                 .arg(Filiale);
        if (FVorrechnenGemeldet.insert({Filiale, DateOf(ZaehlDatum), AuswertungsDatum}).second)
            ORVInteraktion().Meldung(maInfo, QStringLiteral("Inventurauswertung"), text, nullptr);
        return;
    }
    ORVGuard(ort, [&] {
        const int32_t f = ZaehlDatum > AuswertungsDatum ? -1 : 0;
        int jahr, monat, tag;
        DecodeDate(WiJahr, jahr, monat, tag);
        const TORV_ArtInv_Zaehldatum zd{static_cast<int16_t>(jahr), static_cast<int32_t>(DateOf(ZaehlDatum))};
        TInvMani& invmani = InvMani();
        invmani.Artlesen_Init(zd, true, true, false, AuswertungsDatum);
        invmani.eigen_get_equal(Produkt_ID, 0, true);
        TInvMani_BestandLeser& a = invmani.LeserA();
        TInvMani_BestandLeser& b = invmani.LeserB();
        a.SetFiliale(Filiale);
        b.SetFiliale(Filiale);
        a.SetZaehldatum(zd);
        for (int t = 1; t <= 16; ++t) {
            a.SetBestTyp(t);
            b.SetBestTyp(t);
            TORV_Intv100_Sortiment_Me m = a.Lesen().Me;
            m.Sub(b.Lesen().Me);
            if (!m.IsEmpty())
                BestandsbewegungAnwenden(AMengenfeld, t, m, f);
        }
        b.SetBestTyp(CMengenArtInventurdifferenz);
        const TORV_Intv100_Sortiment_Me uf = b.Lesen().Me;
        if (!uf.IsEmpty()) {
            AMengenfeld[mfUF].CopyMitFaktor(uf, f);
            AMengenfeld[mfUF].MinMax_Bestimmen();
        }
        FRR = true;
    });
}

void TInventurliste::FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list)
{
    QString text;
    ReadParam(QStringLiteral("MinDiff"), false, text);
    bool zahl;
    const int32_t minDiff = text.trimmed().toInt(&zahl);
    ::FilialenAufrechnen_INVL(SelFil, list, zahl ? minDiff : 0);
}

void TInventurliste::INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.INVLSaetzeWegschreiben"), [&] {
        ::INVLSaetzeWegschreiben(list, Nummerieren, Angelegt(FINVLFile, "FINVLFile"), Angelegt(FINVL_DBF, "FINVL_DBF"),
                                 FLfdNrINVL);
    });
}
