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
        TVRListNode* node = vrInvList->GetFirstSelected();
        if (!node)
            return;
        vrInvList->VRList()->SetCheckState(node, node->CheckState == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        if (TVRListNode* next = vrInvList->GetNext(node))
            vrInvList->Select(next);
    });
}

void TfrmKalmetMain::btnAlleEinClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnAlleEinClick"), [this] {
        TVRListUpdate klammer(vrInvList);
        for (TVRListNode* n = vrInvList->GetFirst(); n; n = vrInvList->GetNext(n))
            vrInvList->VRList()->SetCheckState(n, Qt::Checked);
    });
}

void TfrmKalmetMain::btnAlleUmsClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnAlleUmsClick"), [this] {
        TVRListUpdate klammer(vrInvList);
        for (TVRListNode* n = vrInvList->GetFirst(); n; n = vrInvList->GetNext(n))
            vrInvList->VRList()->SetCheckState(n, n->CheckState == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
}

PVRListNode TfrmKalmetMain::CheckSelectedNode()
{
    PVRListNode node = nullptr;
    ORVGuard(QStringLiteral("TfrmKalmetMain.CheckSelectedNode"), [&] {
        node = vrInvList->GetFirstSelected();
        if (node) {
            vrInvList->VRList()->SetCheckState(node, Qt::Checked);
            vrInvList->RepaintNode(node);
        }
    });
    return node;
}

void TfrmKalmetMain::MarkierteZeilen(TZeileAnzeige_Arr& AZeilen)
{
    AZeilen.clear();
    ORVGuard(QStringLiteral("TfrmKalmetMain.MarkierteZeilen"), [&] {
        for (TVRListNode* n = vrInvList->GetFirstChecked(); n; n = vrInvList->GetNextChecked(n)) {
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

PVRListNode TfrmKalmetMain::ErsteOderFokussierteZeile()
{
    PVRListNode node = vrInvList->GetFirstChecked();
    return node ? node : CheckSelectedNode();
}

bool TfrmKalmetMain::TestWG(const TInt32Trio& AProdId, const QString& AWGNMuster)
{
    bool r = false;
    const QString ort = QStringLiteral("TfrmKalmetMain.TestWG");
    ORVGuard(ort, [&] { r = ArtikelImWGNMuster(FWGNMani, AProdId, AWGNMuster, ort); });
    return r;
}
