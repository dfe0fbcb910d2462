#include "kalmetmain/frmkalmetmain.h"

#include "SelDruck/frmseldruck.h"
#include "SelMask/frmselmask.h"
#include "framework/app/interaktion.h"
#include "framework/app/ordner.h"
#include "framework/article/iastatus.h"
#include "framework/core/fehler.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "framework/report/vorlage.h"
#include "inventurliste/bau.h"
#include "framework/report/crystalrdcn.h"
#include "inventurliste/reportstart.h"
#include "inventurliste/reportvorbereiten.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

void TfrmKalmetMain::actDruckenExecute()
{
    const TBeschaeftigt beschaeftigt(*this);
    ORVGuard(QStringLiteral("TfrmKalmetMain.actDruckenExecute"), [this] {
        // only the first checked row is tested; the build leaves out cancelled rows itself
        const int zeile = ErsteOderFokussierteZeile();
        if (zeile < 0 || FModell->Inventur(zeile).Stand.Status == iakzStorniert) {
            ORVInfo().ShowMeldung(maInfo, {}, this, QStringLiteral("KALMET"), 1000);
            cmbDatum->setFocus();
            return;
        }
        if (!frmSelMask || frmSelMask->exec() != 1)
            return;
        const QString wgn = frmSelMask->edtWGN->text();
        const int32_t filiale = frmSelMask->SelFil();
        if (!LayoutDialogExecute(false))
            return;
        TLayOutParams params;
        ReadLayOutParams(params);
        // a list only from tables of this very request: never those of an earlier one or of
        // a build that failed part-way
        if (ErstelleINVL(wgn, filiale, params))
            StarteCrystal(filiale);
    });
}

QString TfrmKalmetMain::DruckOrdner() const
{
    return FDruckOrdner ? FDruckOrdner->path() : QString();
}

bool TfrmKalmetMain::ErstelleINVL(const QString& SelWGN, int32_t SelFil, const TLayOutParams& LayoutParams)
{
    bool passend = false;
    QString fehler;
    MitListe("TfrmKalmetMain.ErstelleINVL", [&](TInventurliste& l) {
        TZeileAnzeige_Arr zeilen;
        MarkierteZeilen(zeilen);
        TDruckConfig c = TInventurlisteBau::Anfrage(l, zeilen, SelWGN, SelFil, LayoutParams, FWiJahr);
        if (GetWGNs(c.Zeilen, c.FilGegAufrechnen, SelWGN, SelFil).empty()) {
            ORVInteraktion().Meldung(maInfo, QStringLiteral("Drucken"),
                                     QStringLiteral("Die Auswahl (Warengruppe \"%1\", Filiale %2) trifft keine der markierten Inventuren.")
                                         .arg(SelWGN)
                                         .arg(SelFil),
                                     this);
            return;
        }
        c.Rechnen = Fragen_ob_Rechnen(FAuswertungsDatum, CalcWiJahrEnde(FWiJahr));
        // the tables of the last complete build serve an equal request; a back-calculation
        // to another date is another request
        if (c.Equal(FLastConfig) && (!c.Rechnen || FAuswertungsDatum == FLastAuswertungsDatum)) {
            passend = true;
            return;
        }
        FLastConfig = TDruckConfig::EmptyGet();
        VorlagePruefen(l);
        if (!FDruckOrdner || !FDruckOrdner->isValid())
            FDruckOrdner = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kalmet-XXXXXX"));
        if (!FDruckOrdner->isValid())
            FehlerRaise(QStringLiteral("TfrmKalmetMain.ErstelleINVL"),
                        {QStringLiteral("Der Ordner für die Drucktabellen kann nicht angelegt werden: %1").arg(FDruckOrdner->errorString())});
        // the progress shows from here: while it is up the window and its dialogs are disabled
        prgdMain->Zeigen();
        TInventurlisteBau bau(l, c, FAuswertungsDatum);
        const bool fertig = bau.Ausfuehren(FDruckOrdner->path(), [this](const QString& artNr) {
            prgdMain->ZaehlerSetzen(QStringLiteral("ArtikelNr"), artNr);
            ORVInfoProcessMessages(333);
        });
        if (fertig) {
            // the cached request keeps whether it was back-calculated, for a reprint's header
            FLastConfig = c;
            FLastAuswertungsDatum = FAuswertungsDatum;
            FLastRR = l.RR();
        } else {
            fehler = bau.Fehler();
        }
        passend = fertig;
    });
    prgdMain->Verbergen();
    // told once, after the progress has gone
    if (!fehler.isEmpty())
        ORVInteraktion().Meldung(maFehler, QStringLiteral("Drucken"), QStringLiteral("Die Liste wurde nicht erstellt: %1").arg(fehler), this);
    return passend;
}

bool TfrmKalmetMain::Fragen_ob_Rechnen(TDateTime& AAuswertungsDatum, TDateTime AEndeWirtsjahr)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.Fragen_ob_Rechnen"), [&] {
        const int zeile = vrInvList->GetFirstChecked();
        if (zeile < 0 || !frmSelDruck)
            return;
        TZeileAnzeige z;
        Zeile_2_Record(zeile, z);
        frmSelDruck->SetEndeWirtsjahr(AEndeWirtsjahr);
        frmSelDruck->SetZaehldatum(z.ZaehlDatum);
        if (frmSelDruck->exec() != 1)
            return;
        r = frmSelDruck->Rueckrechnung();
        if (r)
            AAuswertungsDatum = frmSelDruck->Auswertungsdatum();
    });
    return r;
}

void TfrmKalmetMain::StarteCrystal(int32_t AFilNr)
{
    MitListe("TfrmKalmetMain.StarteCrystal", [&](TInventurliste& l) {
        FRepInd = -1;
        const TReportStart start = ReportStartBilden(l, AFilNr, FLastRR, FLastAuswertungsDatum);
        ReportVorbereiten(*CrystalRDC, start, l.CrystalSets(), FRepInd);
        CrystalRDC->ShowReport();
    });
}
