#pragma once

#include "collections/zep_list.h"
#include "framework/app/info.h"
#include "framework/article/wgnmani.h"
#include "framework/core/fehler.h"
#include "framework/gui/orvform.h"
#include "framework/stock/sperre.h"
#include "inventurliste/druckconfig.h"
#include "inventurliste/inventurliste.h"

#include <QTime>

#include <memory>
#include <optional>
#include <utility>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenuBar;
class QPushButton;
class TCrystalRDCn;
class TInventurBuchung;
struct TBuchungsZeile;
class TORVProgressDialog;
class QTemporaryDir;
class TVTORVVRList;
class TUebersichtModell;
class TIAAenderungen;
struct TIANotiz;
class Tlsnfile;
class TVerkMani;

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
    QLabel* lblStand;   // when the list was last brought up to date, and how it follows
    TORVProgressDialog* prgdMain;
    std::unique_ptr<TCrystalRDCn> CrystalRDC;   // the report component, reused for every print
    QMenuBar* mnuMain;

    // actions and the menu items that are not bound to one
    QAction* actBeenden;
    QAction* actBuchen;
    QAction* actDrucken;
    QAction* actLayout;
    QAction* actVersionsanzeige;
    QAction* actKZReset;
    QAction* actZaehldateien;
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
    void Zeile_2_Record(int ANode, TZeileAnzeige& AZeile);
    TDateTime CalcWiJahrEnde(TDateTime ADatum);
    QColor vrInvListBeforeCellPaint(int zeile, int spalte);
    void vrInvListHeaderClick(int spalte);

    // marking and action state
    void btnMarkierenClick();
    void btnAlleEinClick();
    void btnAlleUmsClick();
    int CheckSelectedNode();
    // The first checked row; without one the focused row, which gets checked; else none (-1).
    int ErsteOderFokussierteZeile();
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

    // print layouts: the layout dialog (with design rights for the layout action) and the
    // list options of the chosen layout
    void actLayoutExecute();
    bool LayoutDialogExecute(bool AGestaltung);
    void ReadLayOutParams(TLayOutParams& AParams);

    // printing: selection, layout, the build of the print tables (asking for a
    // back-calculation) and the report
    void actDruckenExecute();
    // True when the print tables are those of this request: built completely or kept from the
    // equal request before.
    bool ErstelleINVL(const QString& SelWGN, int32_t SelFil, const TLayOutParams& LayoutParams);
    bool Fragen_ob_Rechnen(TDateTime& AAuswertungsDatum, TDateTime AEndeWirtsjahr);
    void StarteCrystal(int32_t SelFil);
    // the folder of the print tables of this window (made with the first build)
    QString DruckOrdner() const;

    // target=actual takeover of the marked inventories and the reset of their status to 3
    void btnSoll2IstSelClick();
    void OnSoll2Ist4ArtikelNr(const TInt32Trio& AProduktID);
    void actKZResetExecute();

    // count files of hand-held scanners imported on demand, with the result shown
    void actZaehldateienExecute();

    // booking: checks and questions, the posting of the marked inventories, then the list or
    // the articles that stayed locked
    void actBuchenExecute();
    bool InvBuchen(std::vector<TZEP_clMeldung>& AMeldungen);
    bool Test5Proz();
    bool TestOffen();
    bool TestLagerfilialen();
    void Inventuren_AbschlussUnvo();
    void InvBuchenF(bool& AAbgelehnt, bool ATestlauf, std::vector<TZEP_clMeldung>& AMeldungen);
    void FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale);
    // the booking of the checked rows, driven by this window
    TInventurBuchung Buchung();
    std::vector<TBuchungsZeile> GepruefteZeilen();
    // Status and values of every row read again, marks kept: after a run that changed them.
    void ZeilenAktualisieren();

    // live updates: the rows another terminal or program changed, as soon as no dialog,
    // build or booking runs
    bool Aktualisierbar() const;
    bool AenderungenUebernehmen(const std::vector<TIANotiz>& notizen, bool alle);
    // The notice channel opened, broke or, wieder, opened again after it broke.
    void KanalGeaendert(bool wieder);
    void StandZeigen();
    // The inventories the overview shows, one typed row each.
    const TUebersichtModell& Modell() const { return *FModell; }

    // state the tests and the later actions read
    TInventurliste* Inventurliste() const { return FListe.get(); }
    TDateTime WiJahr() const { return FWiJahr; }
    const TZEP_List<TDateTime>& DatumList() const { return FDatumList; }
    const TDruckConfig& LastConfig() const { return FLastConfig; }

signals:
    // The user lost the right to run the program: the application is to terminate.
    void ProgrammBeenden();

protected:
    void FormShow() override;
    void FormActivate() override;
    // Esc belongs to actBeenden and the window closes only while that action is enabled, so
    // that no running action loses its window.
    void reject() override;
    void ZustandSichern(QSettings& s) override;

private:
    // The actions off and the hourglass on for a scope; back on every path.
    class TBeschaeftigt {
    public:
        explicit TBeschaeftigt(TfrmKalmetMain& fenster) : FFenster(fenster) { FFenster.AktionenEnabled(false); }
        ~TBeschaeftigt() { FFenster.AktionenEnabled(true); }
        TBeschaeftigt(const TBeschaeftigt&) = delete;
        TBeschaeftigt& operator=(const TBeschaeftigt&) = delete;

    private:
        TfrmKalmetMain& FFenster;
    };

    void OberflaecheAufbauen();
    // Inverts the mark of a row.
    void Umkehren(int zeile);
    // The column widths of an earlier run, or on the first start a size that shows every
    // column and about 25 rows, within the screen.
    void FensterzustandLaden();
    void FormCreate();
    void FormDestroy();
    // Imports the count files waiting when the window is made; what came of it is shown once
    // the window is up.
    void ZaehldateienBeimStart();
    void ZaehldateienBeimStartZeigen();

    // Runs body on the engine, guarded under ort; without an engine (FormCreate could not
    // make it) the failure is registered there. False when body did not complete.
    template <class F>
    bool MitListe(const char* ort, F&& body)
    {
        return ORVGuard(QString::fromLatin1(ort), [&] { body(Angelegt(FListe, "FListe")); });
    }

    TZEP_List<TDateTime> FDatumList;
    std::unique_ptr<Tlsnfile> FlsnFile;
    std::unique_ptr<TVerkMani> FLSNMani;
    std::unique_ptr<TInventurliste> FListe;
    TDruckConfig FLastConfig = TDruckConfig::EmptyGet();   // the request the print tables were built for
    TDateTime FLastAuswertungsDatum = 0;
    bool FLastRR = false;   // the cached tables were back-calculated
    std::unique_ptr<QTemporaryDir> FDruckOrdner;
    TDateTime FWiJahr = 0;
    int32_t FRepInd = 0;
    TDateTime FAuswertungsDatum = 0;
    TWGNMani FWGNMani;
    bool FWarteCursor = false;
    TUebersichtModell* FModell = nullptr;   // owned by vrInvList, made on the first fill
    std::unique_ptr<TIAAenderungen> FAenderungen;
    QTime FStand;               // the list's last read
    QString FVerbindungsHinweis;   // the notice channel was broken and is open again
    bool FLiveFehler = false;      // the last live update failed
    std::optional<std::pair<int, QString>> FStartZaehldateien;   // kind and text of the start-up import's message
};
