#include "kalmetmain/frmkalmetmain.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/article/iastatus.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QAction>
#include <QApplication>

void TfrmKalmetMain::btnMarkierenClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnMarkierenClick"), [this] {
        TVRListUpdate klammer(vrInvList);
        const int zeile = vrInvList->GetFirstSelected();
        if (zeile < 0)
            return;
        Umkehren(zeile);
        if (const int naechste = vrInvList->GetNext(zeile); naechste >= 0)
            vrInvList->Select(naechste);
    });
}

void TfrmKalmetMain::btnAlleEinClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnAlleEinClick"), [this] {
        TVRListUpdate klammer(vrInvList);
        for (int n = vrInvList->GetFirst(); n >= 0; n = vrInvList->GetNext(n))
            vrInvList->SetCheckState(n, Qt::Checked);
    });
}

void TfrmKalmetMain::btnAlleUmsClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnAlleUmsClick"), [this] {
        TVRListUpdate klammer(vrInvList);
        for (int n = vrInvList->GetFirst(); n >= 0; n = vrInvList->GetNext(n))
            Umkehren(n);
    });
}

void TfrmKalmetMain::Umkehren(int zeile)
{
    vrInvList->SetCheckState(zeile, vrInvList->CheckState(zeile) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

int TfrmKalmetMain::CheckSelectedNode()
{
    int zeile = -1;
    ORVGuard(QStringLiteral("TfrmKalmetMain.CheckSelectedNode"), [&] {
        zeile = vrInvList->GetFirstSelected();
        if (zeile >= 0) {
            vrInvList->SetCheckState(zeile, Qt::Checked);
            vrInvList->RepaintNode(zeile);
        }
    });
    return zeile;
}

void TfrmKalmetMain::MarkierteZeilen(TZeileAnzeige_Arr& AZeilen)
{
    AZeilen.clear();
    ORVGuard(QStringLiteral("TfrmKalmetMain.MarkierteZeilen"), [&] {
        for (int n = vrInvList->GetFirstChecked(); n >= 0; n = vrInvList->GetNextChecked(n)) {
            if (FModell->Inventur(n).Stand.Status == iakzStorniert)
                continue;
            TZeileAnzeige z;
            Zeile_2_Record(n, z);
            AZeilen.push_back(z);
        }
    });
}

void TfrmKalmetMain::AktionenEnabled(bool AEnabled)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.AktionenEnabled"), [&] {
        // the hourglass follows the state: disabling twice still needs one enabling only
        if (AEnabled && FWarteCursor)
            QApplication::restoreOverrideCursor();
        else if (!AEnabled && !FWarteCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        FWarteCursor = !AEnabled;
        for (QAction* a : {actDrucken, actBeenden, actKZReset, actLayout, actZaehldateien})
            a->setEnabled(AEnabled);
        // last: a parameter the database cannot give leaves the other actions usable
        actBuchen->setEnabled(AEnabled && ORVProgramm().GetRTyp() == 1);
    });
}

int TfrmKalmetMain::ErsteOderFokussierteZeile()
{
    const int zeile = vrInvList->GetFirstChecked();
    return zeile >= 0 ? zeile : CheckSelectedNode();
}

bool TfrmKalmetMain::TestWG(const TInt32Trio& AProdId, const QString& AWGNMuster)
{
    bool r = false;
    const QString ort = QStringLiteral("TfrmKalmetMain.TestWG");
    ORVGuard(ort, [&] { r = ArtikelImWGNMuster(FWGNMani, AProdId, AWGNMuster, ort); });
    return r;
}
