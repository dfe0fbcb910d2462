#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/vorlauf.h"

#include "collections/zep_list_helper.h"
#include "framework/app/info.h"
#include "framework/article/artlessimple.h"
#include "framework/article/wgniterator.h"
#include "framework/db/connection.h"
#include "framework/db/produktblock.h"
#include "framework/dbf/crystalsets.h"
#include "framework/stock/invmani.h"
#include "ivvorselquerysql/kalmetselektionsql.h"

QString GetWGN_4_Zeile(const TZeileAnzeige& Zeile, const QString& SelWGN)
{
    QString r = QStringLiteral("-");
    ORVGuard(QStringLiteral("TfrmKalmetMain.GetWGN_4_Zeile"), [&] {
        if (Zeile.WGN == QLatin1String("*")) {
            r = SelWGN;
            return;
        }
        const qsizetype n = std::min(Zeile.WGN.size(), SelWGN.size());
        if (Zeile.WGN.left(n) == SelWGN.left(n))
            r = SelWGN.size() < Zeile.WGN.size() ? Zeile.WGN : SelWGN;
    });
    return r;
}

TWGNZeilen GetWGNs(const TZeileAnzeige_Arr& Zeilen, bool FilGegAufrechnen, const QString& SelWGN, int32_t SelFil)
{
    TWGNZeilen r;
    ORVGuard(QStringLiteral("TfrmKalmetMain.GetWGNs"), [&] {
        for (const TZeileAnzeige& z : Zeilen) {
            if (!FilGegAufrechnen && SelFil != 0 && z.Filiale != SelFil)
                continue;
            const QString wgn = GetWGN_4_Zeile(z, SelWGN);
            if (wgn != QLatin1String("-"))
                r[wgn].push_back(z);
        }
    });
    return r;
}

namespace {
constexpr size_t CErsterBlock = 50;
}

TInventurlisteBau::TInventurlisteBau(TInventurliste& AListe, const TDruckConfig& AConfig, TDateTime AAuswertungsDatum)
    : FListe(AListe), FConfig(AConfig), FAuswertungsDatum(AAuswertungsDatum)
{
}

TDruckConfig TInventurlisteBau::Anfrage(TInventurliste& AListe, const TZeileAnzeige_Arr& AZeilen, const QString& SelWGN,
                                        int32_t SelFil, const TLayOutParams& ALayoutParams, TDateTime AWiJahr)
{
    const auto option = [&](const char* name) {
        QString wert;
        AListe.ReadParam(QLatin1String(name), true, wert);
        return wert.compare(QLatin1String("J"), Qt::CaseInsensitive) == 0;
    };
    TDruckConfig c = TDruckConfig::EmptyGet();
    c.SelFil = SelFil;
    c.SelWGN = SelWGN;
    c.FilGegAufrechnen = option("Gegenrechnen");
    c.Zeilen = AZeilen;
    c.WiJahr = AWiJahr;
    c.KVK = option("KVK");
    c.MitRegalmengen = option("RegalMengen");
    c.LayoutParams = ALayoutParams;
    return c;
}

bool TInventurlisteBau::Ausfuehren(const QString& ordner, const TFortschritt& fortschritt)
{
    FListe.RRZuruecksetzen();
    // a failure anywhere in the build, on any thread, fails the list: told once, at the end
    const TFehlerSammler sammler;
    const bool gelaufen = ORVGuard(QStringLiteral("TfrmKalmetMain.ErstelleINVL"), [&] {
        const TWGNZeilen wgns = GetWGNs(FConfig.Zeilen, FConfig.FilGegAufrechnen, FConfig.SelWGN, FConfig.SelFil);
        FListe.DBFFilesErstellen(ordner);
        // the articles are read and computed in blocks: master records and prices of a block
        // come with one statement each, read on a thread of their own while the block before
        // is computed, as are the block's count, target and erroneous-sale records; the
        // readers connect while the selection runs
        TBlockVorlauf vorlauf(FListe.Optionen().MitRegal, FConfig.Rechnen);
        const std::unique_ptr<TZEP_List<TInt32Trio>> ids = FillProdID_List(wgns);
        FSummen = std::make_unique<TinvlListe>();
        std::optional<TBlock> offen;   // being read, not computed yet
        const auto einreihen = [&](TBlock b) {
            if (b.Ids.empty())
                return;
            std::optional<TBlock> jetzt;
            if (offen) {
                vorlauf.Uebergeben(FListe);
                jetzt = std::exchange(offen, std::nullopt);
            }
            vorlauf.Anstossen(b.Ids, Inventuren(*b.Zeilen), BewegungenAb(*b.Zeilen));
            offen = std::move(b);
            if (jetzt)
                BlockBerechnen(*jetzt, fortschritt);
        };
        // the first blocks are small, so that computing starts early; then full blocks, so that
        // the server answers few statements
        size_t blockGroesse = CErsterBlock;
        TZEP_WGN_Iterator artikel;
        for (const auto& [key, zeilen] : wgns) {
            if (!artikel.Move_First(key, QStringLiteral("EIGEN")))
                continue;
            std::vector<TInt32Trio> block;
            do {
                if (CheckProduktID(ids.get(), artikel.Current_Produkt_ID()))
                    block.push_back(artikel.Current_Produkt_ID());
                if (block.size() == blockGroesse) {
                    einreihen({std::exchange(block, {}), &key, &zeilen});
                    blockGroesse = std::min(blockGroesse * 4, TProduktBlockAbfrage::CBlock);
                }
            } while (artikel.Move_Next());
            einreihen({std::move(block), &key, &zeilen});
        }
        if (offen) {
            vorlauf.Uebergeben(FListe);
            BlockBerechnen(*offen, fortschritt);
        }
        if (!FConfig.LayoutParams.IsUebersicht && FConfig.LayoutParams.MitSummieren)
            FListe.INVLSaetzeWegschreiben(*FSummen, true);
    });
    FSummen.reset();
    // the tables are complete files on every path, so that nobody reads a half-written one
    ORVGuard(QStringLiteral("TfrmKalmetMain.ErstelleINVL"), [&] { FListe.CrystalSets().AlleSchliessen(); });
    FFehler = sammler.Bericht();
    return gelaufen && FFehler.isEmpty();
}

// The first day of movements the back-calculation of the rows needs.
TDateTime TInventurlisteBau::BewegungenAb(const TZeileAnzeige_Arr& zeilen) const
{
    TDateTime ab = TInvMani::BewegungenAb(FAuswertungsDatum, FAuswertungsDatum);
    for (const TZeileAnzeige& z : zeilen)
        ab = std::min(ab, TInvMani::BewegungenAb(z.ZaehlDatum, FAuswertungsDatum));
    return ab;
}

// The inventories of the rows, as the computation of an article reads them.
std::vector<TInventurSchluessel> TInventurlisteBau::Inventuren(const TZeileAnzeige_Arr& zeilen) const
{
    std::vector<TInventurSchluessel> r;
    for (const TZeileAnzeige& z : zeilen)
        r.push_back({FConfig.WiJahr, z.ZaehlDatum, z.Filiale, MitRegalen()});
    return r;
}

// Computes a block whose articles the list's readers hold.
void TInventurlisteBau::BlockBerechnen(const TBlock& block, const TFortschritt& fortschritt)
{
    IORV_ArtLesSimple& artikel = FListe.ArtlesSimple();
    for (const TInt32Trio& id : block.Ids) {
        if (!artikel.Laden(id)) {
            ORVInfo().WriteTextWithStamp(QStringLiteral("ProduktID: %1 konnte nicht geladen werden.").arg(id.ToText()));
            continue;
        }
        if (fortschritt)
            fortschritt(artikel.Satz().ArtNr);
        ArtikelBerechnen(id, *block.Key, *block.Zeilen);
    }
}

void TInventurlisteBau::ArtikelBerechnen(const TInt32Trio& id, const QString& key, const TZeileAnzeige_Arr& zeilen)
{
    const bool mitRegalen = MitRegalen();
    TinvlListe liste;
    TInventurliste::TRegalNummern regalNummern;
    for (const TZeileAnzeige& z : zeilen) {
        TMengenfeld m;
        TRegalMengen regale;
        FListe.InitMengenfeld(m);
        bool gefunden = FListe.LeseZaehlMengen(m, regale, id, z.ZaehlDatum, z.Filiale, mitRegalen);
        for (const TRegalMenge& r : regale)
            if (r.Gefuellt)
                regalNummern[{z.Filiale, z.ZaehlDatum}].insert(r.Regal);
        if (FListe.LeseSollMengen(m, id, FConfig.WiJahr, z.ZaehlDatum, z.Filiale))
            gefunden = true;
        if (gefunden)
            FListe.FVKKorrektur(id, z.Filiale, z.ZaehlDatum, false, m);
        if (FConfig.Rechnen)
            FListe.BestandRueckOderVorRechnen(id, static_cast<int16_t>(z.Filiale), z.ZaehlDatum, FAuswertungsDatum,
                                              FConfig.WiJahr, m);
        if (gefunden || !m[mfSoll].IsEmpty() || !m[mfIst].IsEmpty()) {
            QString wgn = z.WGN == QLatin1String("*") || key.size() > z.WGN.size() ? key : z.WGN;
            // a branch-wide row without a selected group: the article's own group, so that the
            // list groups by product group instead of one nameless group beside the branch
            if (wgn.isEmpty())
                wgn = FListe.ArtlesSimple().Satz().WGN;
            FListe.SchreibeDruckDateien(m, regale, FListe.ArtlesSimple().Satz(), FConfig.WiJahr, z.ZaehlDatum, wgn,
                                        z.Filiale, FConfig.KVK, liste, FConfig.LayoutParams.IsUebersicht);
        }
    }
    const TLayOutParams& p = FConfig.LayoutParams;
    if (p.IsUebersicht)
        return;
    if (FConfig.FilGegAufrechnen)
        FListe.FilialenAufrechnen_INVL(FConfig.SelFil, liste);
    if (p.MinDiff > 0)
        LoescheINVLohneDifferenz(liste, p.Filueber, p.MinDiff);
    if (p.NurMitMengen)
        LoescheINVLohneMengen(liste);
    LoescheINVLohneNachzaehlung(liste, p.NachzaehlenAbStueck, p.NachzaehlenAbWert);
    if (p.MitSummieren)
        SummiereINVL(liste, *FSummen);
    FListe.INVLSaetzeWegschreiben(liste, false);
    if (p.MitZaehlzeilen)
        FListe.ZaehlzeilenSchreiben(liste, regalNummern);
}

// The articles with count or target records in the rows' inventories (with back-calculation
// also those moved or sold since the evaluation date); none without SQL access (every
// article passes).
std::unique_ptr<TZEP_List<TInt32Trio>> TInventurlisteBau::FillProdID_List(const TWGNZeilen& wgns)
{
    std::unique_ptr<TZEP_List<TInt32Trio>> r;
    ORVGuard(QStringLiteral("TfrmKalmetMain.FillProdID_List"), [&] {
        if (GDBConfig == 1)
            return;
        std::vector<TVglInvAnf_Inv> inventuren;
        for (const auto& [key, zeilen] : wgns)
            for (const TZeileAnzeige& z : zeilen) {
                const bool neu = std::none_of(inventuren.begin(), inventuren.end(), [&](const TVglInvAnf_Inv& i) {
                    return i.Filiale == z.Filiale && DateOf(i.ZaehlDatum) == DateOf(z.ZaehlDatum);
                });
                if (neu)
                    inventuren.push_back({static_cast<int16_t>(z.Filiale), z.ZaehlDatum});
            }
        r = std::make_unique<TZEP_List<TInt32Trio>>(&TInt32Trio::Compare);
        TZEP_KalmetSelektionSQL().Execute(inventuren, FConfig.Rechnen, FAuswertungsDatum, FConfig.WiJahr, r.get());
        TZEP_List_Helper<TInt32Trio>::SortAndRemoveDuplicates(*r);
    });
    return r;
}

bool TInventurlisteBau::CheckProduktID(const TZEP_List<TInt32Trio>* ids, const TInt32Trio& id)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.CheckProduktID"), [&] { r = !ids || ids->BinarySearch(id); });
    return r;
}
