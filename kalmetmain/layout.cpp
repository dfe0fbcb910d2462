#include "kalmetmain/frmkalmetmain.h"

#include "framework/app/info.h"
#include "framework/app/ordner.h"
#include "framework/gui/layoutform.h"

void TfrmKalmetMain::actLayoutExecute()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.actLayoutExecute"), [this] { LayoutDialogExecute(true); });
}

bool TfrmKalmetMain::LayoutDialogExecute(bool AGestaltung)
{
    bool r = false;
    MitListe("TfrmKalmetMain.LayoutDialogExecute", [&](TInventurliste& l) {
        TZEP_LayoutDialog_InputData eingabe;
        eingabe.Init();
        eingabe.Praefixe = {QStringLiteral("kalme")};
        eingabe.Ordner = C_ORVFolder_Value(19);
        eingabe.Option = 0x44;
        eingabe.Gestaltung = AGestaltung;
        TLayoutform form;
        r = form.Execute(eingabe, l.SelectedLayouts());
    });
    return r;
}

void TfrmKalmetMain::ReadLayOutParams(TLayOutParams& AParams)
{
    AParams = TLayOutParams::EmptyGet();
    MitListe("TfrmKalmetMain.ReadLayOutParams", [&](TInventurliste& l) { l.ReadLayOutParams(AParams); });
}
