#pragma once

#include "SelDruck/druckconfig.h"
#include "collections/zep_list.h"
#include "framework/app/layouts.h"
#include "framework/article/artabwmani.h"
#include "framework/article/artlessimple.h"
#include "framework/article/liefgpdata.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/wgnmani.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/iafile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/files/lsnfile.h"
#include "framework/db/files/renrfile.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "framework/dbf/invufile.h"
#include "framework/gui/orvform.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "framework/stock/invmani.h"
#include "framework/stock/mdebucher.h"
#include "framework/stock/verkmani.h"
#include "kalmetmain/aufrechnen.h"
#include "kalmetmain/mengenfeld.h"

#include <memory>
#include <set>
#include <tuple>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenuBar;
class QPushButton;

// The main window: overview of the inventories of a fiscal year and every action on them.
class TfrmKalmetMain : public TORVForm {
    Q_OBJECT
public:
    explicit TfrmKalmetMain(QWidget* parent = nullptr);
    ~TfrmKalmetMain() override;

    // controls
    QFrame* pnlUnten;
    QFrame* pnltitel;
    QFrame* pnlHeaderBG;
    QLabel* lblUeberschrift;
    QLabel* lblWiJahr;
    QComboBox* cmbDatum;
    QFrame* pnlMain;
    TVTORVVRList* vrInvList;
    QFrame* pnlButtons;
    QFrame* pnlButtonsBG;
    QPushButton* btnMarkieren;
    QPushButton* btnAlleEin;
    QPushButton* btnAlleUms;
    QPushButton* btnSoll2IstSel;
    QPushButton* btnDrucken;
    QPushButton* btnBuchen;
    QPushButton* btnEnde;
    TORVProgressDialog* prgdMain;
    QMenuBar* mnuMain;

    // actions and the menu items that are not bound to one
    QAction* actBeenden;
    QAction* actBuchen;
    QAction* actDrucken;
    QAction* actLayout;
    QAction* actVersionsanzeige;
    QAction* actKZReset;
    QAction* actHilfe;
    QAction* mniLayout;
    QAction* Markieren1;
    QAction* Allemarkieren1;
    QAction* Markierungumkehren1;

    // program frame
    void Constructor_Segmente();
    void ReadParam(const QString& AName, bool AFirstList, QString& AValue);
    void IZNSFile_GoC();
    void actVersionsanzeigeExecute();
    void actBeendenExecute();

    // overview
    void cmbDatumChange();
    void FuelleGrid(TDateTime AWiJahr);
    void VRList_Init();
    void Zeile_2_Record(PVRListNode ANode, TZeileAnzeige& AZeile);
    TDateTime CalcWiJahrEnde(TDateTime ADatum);
    QColor vrInvListBeforeCellPaint(const TVRListNode* node, int spalte);
    void vrInvListInitNode(TVRListNode* node);
    void vrInvListHeaderClick(int spalte);

    // marking and action state
    void btnMarkierenClick();
    void btnAlleEinClick();
    void btnAlleUmsClick();
    PVRListNode CheckSelectedNode();
    void MarkierteZeilen(TZeileAnzeige_Arr& AZeilen);
    void AktionenEnabled(bool AEnabled);
    bool TestWG(const TInt32Trio& AProdId, const QString& AWGNMuster);

    // quantity fields, erroneous sales and back-calculation
    void InitMengenfeld(TMengenfeld& AMengenfeld);
    bool LeseZaehlMengen(TMengenfeld& AMengenfeld, TRegalMengen& ARegalmengen, const TInt32Trio& Produkt_ID,
                         TDateTime ZaehlDatum, int32_t Filiale, bool withShelves);
    void FuelleMengenfeld_MitZaehlsaetzen(TMengenfeld& AMengenfeld);
    void FuelleRegalmengen(TRegalMengen& ARegalmengen);
    void FuelleMengenfeld_MitSollsaetzen(const TivSatz& ivSatz, TMengenfeld& AMengenfeld);
    void FuelleMengenFeld_UF(int16_t Filiale, TMengenfeld& AMengenfeld);
    void InventurlisteMinMaxIndBestimmen(TMengenfeld& AMengenfeld);
    void FVKKorrektur(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ATestlauf,
                      TMengenfeld& AMengenfeld);
    void BestandRueckOderVorRechnen(const TInt32Trio& Produkt_ID, int16_t Filiale, TDateTime ZaehlDatum,
                                    TDateTime AuswertungsDatum, TDateTime WiJahr, TMengenfeld& AMengenfeld);

    // netting and writing INVL (the pure steps are the free functions of aufrechnen.h)
    void FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list);
    void INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren);

    // print data files
    void SchreibeDruckDateien(TMengenfeld& Mengenfeld, const TRegalMengen& Regalmengen, const TAASatz& aaSatz,
                              TDateTime WiJahr, TDateTime ZaehlDatum, const QString& WGN, int32_t Filiale, bool KVK,
                              TinvlListe& List, bool IsUebersicht);
    void ReNrErmitteln(const TInt32Trio& Produkt_ID, TIntPair& Pair);
    void GetRENRFile();
    void LiefGPData_AufbauenWennNichtDa();

    // actions built by later work
    void actBuchenExecute();
    void actDruckenExecute();
    void actLayoutExecute();
    void actKZResetExecute();
    void btnSoll2IstSelClick();

    // fields, in declaration order
    TZEP_List<TDateTime> FDatumList;
    int32_t FLfdNrINVL = 0;
    int32_t FLfdNrINVU = 0;
    std::unique_ptr<Tinvlfile> FINVLFile;
    std::unique_ptr<Tinvrfile> FINVRFile;
    std::unique_ptr<Tinvufile> FINVUEFile;
    std::unique_ptr<Tiznsfile> FIZNSFile;
    std::unique_ptr<Tiafile> FIAFile;
    std::unique_ptr<Tivfile> FIVFile;
    std::unique_ptr<TFvkFile> FFvkFile;
    std::unique_ptr<Tlsnfile> FlsnFile;
    TDbf* FINVL_DBF = nullptr;
    TDbf* FINVR_DBF = nullptr;
    TDbf* FINVUE_DBF = nullptr;
    std::unique_ptr<TDBFFiles_4_Crystal> FCrystalSets;
    TDruckConfig FLastConfig;
    TDateTime FWiJahr = 0;
    int32_t FRepInd = 0;
    TDateTime FAuswertungsDatum = 0;
    std::unique_ptr<TMDEBucher> FMDEBucher;
    bool FMitRegal = false;
    std::unique_ptr<TFilialTabelle> FFilialtab;
    std::unique_ptr<TVerkMani> FLSNMani;
    std::unique_ptr<Trenrfile> FRENRFile;
    bool FRR = false;
    std::unique_ptr<TInvMani> FInvmani;
    std::unique_ptr<TDRAV_ArtAbwMani> FArtAbwMani;
    std::unique_ptr<TLiefGPData> FLiefGPData;
    IORV_ArtLesSimple* FArtlesSimple = nullptr;
    std::unique_ptr<TZEP_SelectedLayout_List> FSelectedLayouts;
    TWGNMani FWGNMani;

signals:
    // The user lost the right to run the program: the application is to terminate.
    void ProgrammBeenden();

protected:
    void FormShow() override;
    void FormActivate() override;
    // Esc belongs to actBeenden and the window closes only while that action is enabled, so
    // that no running action loses its window.
    void reject() override;

private:
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
    void SchreibeINVL_INVR(const TDruckZeile& z, const TORV_Intv100_Preis& EK, const TORV_Intv100_Preis& VK, int AbwProzent,
                           int bis, int von);

    void OberflaecheAufbauen();
    void FormCreate();
    void FormDestroy();
    void NochNichtVerfuegbar(const QString& funktion);

    bool FWarteCursor = false;
    // inventory rows (branch, count day, evaluation date) already told that a forward
    // calculation is not possible
    std::set<std::tuple<int, TDateTime, TDateTime>> FVorrechnenGemeldet;
};
