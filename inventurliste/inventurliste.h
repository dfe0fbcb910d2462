#pragma once

#include "framework/app/layouts.h"
#include "framework/core/int32trio.h"
#include "framework/db/files/fvkfile.h"
#include "inventurliste/aufrechnen.h"
#include "inventurliste/druckconfig.h"
#include "inventurliste/mengenfeld.h"

#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

class IORV_ArtLesSimple;
class TDBFFiles_4_Crystal;
class TDbf;
class TDRAV_ArtAbwMani;
class TFilialTabelle;
class TInvMani;
class TLiefGPData;
class TProduktBlockAbfrage;
struct TORV_Intv100_Preis;
class Tinvlfile;
class Tinvrfile;
class Tinvufile;
class Tinvzfile;
class Tiznsfile;
class Tivfile;
class Trenrfile;
struct TAASatz;
struct TivSatz;
struct TiznsSatz;
class TInventurSaetze;

// What an installation decides for every list it computes.
struct TInventurlisteOptionen {
    bool MitRegal = false;   // lines carry the shelf running numbers of RENR (parameter REGANR)

    static TInventurlisteOptionen AusParametern();
};

// The computation of the inventory list without a window: the quantities of an article in
// one inventory (count, shelves, target, erroneous sales, back-calculation), its print data
// (INVL lines with their INVR shelf records, or INVUE overview records) and the netting and
// writing of its lines. It works on the database the process is connected to; the window and
// the batch commands drive it alike.
class TInventurliste {
public:
    explicit TInventurliste(const TInventurlisteOptionen& AOptionen);
    ~TInventurliste();
    TInventurliste(const TInventurliste&) = delete;
    TInventurliste& operator=(const TInventurliste&) = delete;

    const TInventurlisteOptionen& Optionen() const { return FOptionen; }

    // the selected print layouts and their name=value parameters
    TZEP_SelectedLayout_List& SelectedLayouts() { return FSelectedLayouts; }
    void ReadParam(const QString& AName, bool AFirstList, QString& AValue);
    // The list options of the first selected layout; what could not be read stays empty.
    void ReadLayOutParams(TLayOutParams& AParams);

    // the article reader and the record files the build reads with
    void Constructor_Segmente();
    IORV_ArtLesSimple& ArtlesSimple();
    // RENR numbers of a block of articles (at most TProduktBlockAbfrage::CBlock, no id twice),
    // read with the query of the calling thread (made on first use).
    using TReNrVorrat = std::map<TInt32Trio, TIntPair, decltype(&TInt32Trio::Numerisch_Kleiner)>;
    static void ReNrLesen(std::unique_ptr<TProduktBlockAbfrage>& abfrage, const std::vector<TInt32Trio>& ids,
                          TReNrVorrat& vorrat);
    // Takes over the master records, prices and RENR numbers of a block read ahead on another
    // thread (exchanging them with the ones held now); the per-article calls take them from there.
    void VorratTauschen(IORV_ArtLesSimple& artikel, TReNrVorrat& renr);
    // the count, target and erroneous-sale records the list reads
    TInventurSaetze& Saetze() { return *FSaetze; }
    Tivfile& IVFile() { return *FIVFile; }
    void IZNSFile_GoC();
    const Tiznsfile* IZNSFile() const { return FIZNSFile.get(); }
    TInvMani& InvMani();

    // print tables: created empty in ordner (replacing the previous ones), numbered from 1;
    // INVZ holds the lines of the counting sheets
    void DBFFilesErstellen(const QString& ordner);
    TDBFFiles_4_Crystal& CrystalSets() { return *FCrystalSets; }
    const Tinvlfile& INVLFile() const { return *FINVLFile; }
    const Tinvrfile& INVRFile() const { return *FINVRFile; }
    const Tinvufile& INVUEFile() const { return *FINVUEFile; }
    int32_t LfdNrINVL() const { return FLfdNrINVL; }
    int32_t LfdNrINVU() const { return FLfdNrINVU; }

    // quantity fields
    void InitMengenfeld(TMengenfeld& AMengenfeld);
    bool LeseZaehlMengen(TMengenfeld& AMengenfeld, TRegalMengen& ARegalmengen, const TInt32Trio& Produkt_ID,
                         TDateTime ZaehlDatum, int32_t Filiale, bool withShelves);
    void FuelleMengenfeld_MitZaehlsaetzen(TMengenfeld& AMengenfeld);
    void FuelleRegalmengen(TRegalMengen& ARegalmengen);
    void FuelleMengenfeld_MitSollsaetzen(const TivSatz& ivSatz, TMengenfeld& AMengenfeld);
    // Adds the target records of the article in the inventory (stock types from " " on);
    // false when it has none.
    bool LeseSollMengen(TMengenfeld& AMengenfeld, const TInt32Trio& Produkt_ID, TDateTime WiJahr, TDateTime ZaehlDatum,
                        int32_t Filiale);
    void FuelleMengenFeld_UF(int16_t Filiale, TMengenfeld& AMengenfeld);
    void InventurlisteMinMaxIndBestimmen(TMengenfeld& AMengenfeld);

    // erroneous sales and back-calculation; RR tells whether a back-calculation ran
    void FVKKorrektur(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ATestlauf,
                      TMengenfeld& AMengenfeld);
    // The booking's correction inside its article transaction, from the article's erroneous
    // sales of the branch as it read them there (FVK_Lesen); those of the count's correction
    // apply, and those another count day's booking converted that this day still corrects by
    // (zaehltag). ALagerPruefen refuses erroneous sales in a storage-location branch.
    void FVKKorrektur_Aktuell(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ALagerPruefen,
                              const TFvkZeilen& zeilen, const std::vector<TFvkSatz>& zaehltag, TMengenfeld& AMengenfeld);
    void BestandRueckOderVorRechnen(const TInt32Trio& Produkt_ID, int16_t Filiale, TDateTime ZaehlDatum,
                                    TDateTime AuswertungsDatum, TDateTime WiJahr, TMengenfeld& AMengenfeld);
    bool RR() const { return FRR; }
    // A new list: no article back-calculated yet, no notice told yet.
    void RRZuruecksetzen()
    {
        FRR = false;
        FVorrechnenGemeldet.clear();
    }

    // print data of one article, branch and count date
    void SchreibeDruckDateien(TMengenfeld& Mengenfeld, const TRegalMengen& Regalmengen, const TAASatz& aaSatz,
                              TDateTime WiJahr, TDateTime ZaehlDatum, const QString& WGN, int32_t Filiale, bool KVK,
                              TinvlListe& List, bool IsUebersicht);
    void ReNrErmitteln(const TInt32Trio& Produkt_ID, TIntPair& Pair);
    void GetRENRFile();
    const Trenrfile* RENRFile() const { return FRENRFile.get(); }
    void LiefGPData_AufbauenWennNichtDa();

    // netting (MinDiff from the layout's second list) and writing the lines to INVL
    void FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list);
    void INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren);
    // The counted shelves of an article by branch and count date.
    using TRegalNummern = std::map<std::pair<int32_t, TDateTime>, std::set<int32_t>>;
    // The counting-sheet lines (INVZ) of the article loaded in the reader for its lines as
    // written: one per shelf it was counted on, or one without a shelf, each with the labels of
    // the sizes of its grid. Summary lines get none.
    void ZaehlzeilenSchreiben(const TinvlListe& list, const TRegalNummern& regale);

private:
    void FehlverkaufAnwenden(TMengenfeld& AMengenfeld, const TInt32Trio& Produkt_ID, int& ggKey, const TFvkSatz& f);
    void ZaehlsatzUebernehmen(const TiznsSatz& satz, TMengenfeld& AMengenfeld);
    void RegalsatzUebernehmen(const TiznsSatz& satz, TRegalMengen& ARegalmengen);

    // the arguments of one SchreibeDruckDateien call, for its nested routines
    struct TDruckZeile {
        TMengenfeld& Mengenfeld;
        const TRegalMengen& Regalmengen;
        const TAASatz& aaSatz;
        TDateTime WiJahr;
        TDateTime ZaehlDatum;
        const QString& WGN;
        int32_t Filiale;
        bool KVK;
        TinvlListe& List;
        QChar FilKZ;
    };
    void PreiseBestimmen(const TDruckZeile& z, int von, int bis, TORV_Intv100_Preis& EK, TORV_Intv100_Preis& VK);
    void SchreibeINVU(const TDruckZeile& z, const TORV_Intv100_Preis& EK, const TORV_Intv100_Preis& VK, int AbwProzent);
    void SchreibeINVL_INVR(const TDruckZeile& z, const TORV_Intv100_Preis& EK, const TORV_Intv100_Preis& VK,
                           int AbwProzent, int bis, int von);

    TInventurlisteOptionen FOptionen;
    TZEP_SelectedLayout_List FSelectedLayouts;
    std::unique_ptr<Tivfile> FIVFile;
    std::unique_ptr<Tiznsfile> FIZNSFile;   // opened on first use
    std::unique_ptr<Tinvlfile> FINVLFile;
    std::unique_ptr<Tinvrfile> FINVRFile;
    std::unique_ptr<Tinvufile> FINVUEFile;
    std::unique_ptr<Tinvzfile> FINVZFile;
    std::unique_ptr<TDBFFiles_4_Crystal> FCrystalSets;
    TDbf* FINVL_DBF = nullptr;
    TDbf* FINVR_DBF = nullptr;
    TDbf* FINVUE_DBF = nullptr;
    TDbf* FINVZ_DBF = nullptr;
    int32_t FLfdNrINVL = 1;
    int32_t FLfdNrINVU = 1;
    std::unique_ptr<TFilialTabelle> FFilialtab;
    IORV_ArtLesSimple* FArtlesSimple = nullptr;   // from the server factory, returned at the end
    std::unique_ptr<Trenrfile> FRENRFile;   // opened on first use
    TReNrVorrat FReNrVorrat{&TInt32Trio::Numerisch_Kleiner};
    std::unique_ptr<TInvMani> FInvmani;
    std::unique_ptr<TDRAV_ArtAbwMani> FArtAbwMani;
    std::unique_ptr<TLiefGPData> FLiefGPData;
    bool FRR = false;
    // count, target and erroneous-sale records per inventory, read in product-id order; a
    // new build starts them again
    std::unique_ptr<TInventurSaetze> FSaetze;
    // inventory rows (branch, count day, evaluation date) already told that a forward
    // calculation is not possible
    std::set<std::tuple<int, TDateTime, TDateTime>> FVorrechnenGemeldet;
};

// Puts the six description attributes of the article master into the INVL buffer.
void SetzeMerkmaleINVL(const TAASatz& aaSatz, Tinvlfile& invl);
