#include "inventurliste/reportvorbereiten.h"

#include "framework/app/ordner.h"
#include "framework/core/fehler.h"
#include "framework/report/crystalrdcn.h"
#include "framework/report/vorlage.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/reportstart.h"

void VorlagePruefen(TInventurliste& AListe)
{
    if (AListe.SelectedLayouts().empty())
        FehlerRaise(QStringLiteral("TfrmKalmetMain.StarteCrystal"), {QStringLiteral("Kein Layout ausgewählt")});
    VorlageLesen(GetDirWwsByName(19, AListe.SelectedLayouts().front()->ReportDatei, false));
}

// What the report is given is settled here; the report component that shows it follows, and
// until then the user is told so.
void ReportVorbereiten(TCrystalRDCn& ACrystal, const TReportStart& AStart, TDBFFiles_4_Crystal& ASets, int32_t ARepInd)
{
    ACrystal.Clear();
    ACrystal.SetReport(AStart.ReportPfad, true, ASets);
    for (const auto& [name, wert] : AStart.Parameter)
        ACrystal.SetParameter(ARepInd, name, wert);
    ACrystal.SetRightMargin(ARepInd, AStart.RechterRand);
    ACrystal.SetBottomMargin(ARepInd, AStart.UntererRand);
    if (AStart.ObererRand)
        ACrystal.SetTopMargin(ARepInd, *AStart.ObererRand);
    if (AStart.LinkerRand)
        ACrystal.SetLeftMargin(ARepInd, *AStart.LinkerRand);
    ACrystal.AddPictureConnectionByName(ARepInd, AStart.BildName, AStart.BildSpalte);
    ACrystal.SetViewerCaption(AStart.Caption);
    ACrystal.SetTitle(ARepInd, AStart.Titel);
    ACrystal.SetViewerWindowState(Qt::WindowMaximized);
    ACrystal.SetExportDiskfileName(AStart.ExportDatei);
    ACrystal.SetEnableExportAction(false);
    ACrystal.SetEnableKomAction(true);
    ACrystal.SetKomGrund(AStart.KomGrund);
}
