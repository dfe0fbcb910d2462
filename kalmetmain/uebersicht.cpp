#include "kalmetmain/frmkalmetmain.h"
#include "framework/app/info.h"
#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/aenderungen.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QComboBox>
#include <QTimer>

namespace {

struct TZEP_VRKalmet_Spalten_Rec {
    const char* Caption;
    int VRType;
    int FormatType;
    const char* FormatStr;
    bool Visible;
};

// in the order of TUebersichtSpalte
const TZEP_VRKalmet_Spalten_Rec CSpalten[usUngezaehlt + 1] = {
    {"", vrtNone, vrfNone, "", true},
    {"Zähldatum", vrtText, vrfNone, "", true},
    {"Zähldatum_Value", vrtDate, vrfNone, "", false},
    {"WG", vrtText, vrfNone, "", true},
    {"Filiale", vrtInteger, vrfNone, "", true},
    {"Soll-EK", vrtFloat, vrfFormatStr, "%12.2n", true},
    {"Ist-EK", vrtFloat, vrfFormatStr, "%12.2n", true},
    {"Differenz", vrtFloat, vrfFormatStr, "%12.2n", true},
    {"Status", vrtText, vrfNone, "", true},
    {"Status_KZ", vrtChar, vrfNone, "", false},
    {"Ungezählt", vrtInteger, vrfNone, "", true},
};

}

void TfrmKalmetMain::FormShow()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FormShow"), [this] {
        for (const TDateTime wiJahr : IA_WiJahre())
            FDatumList.Add(wiJahr);
        int gewaehlt = -1;
        {
            const QSignalBlocker block(cmbDatum);
            for (int i = 0; i < FDatumList.Count(); ++i) {
                cmbDatum->addItem(Date2WiJahrStr(FDatumList.GetItem(i)));
                if (FDatumList.GetItem(i) <= orv_Date())
                    gewaehlt = i;
            }
            cmbDatum->setCurrentIndex(gewaehlt);
        }
        // listening first: what changes while the list is read is handed over afterwards
        Angelegt(FAenderungen, "FAenderungen").Starten();
        cmbDatumChange();
        FensterzustandLaden();
        vrInvList->setFocus();
        AktionenEnabled(true);
    });
    // once the window is on the screen
    QTimer::singleShot(0, this, [this] { ZaehldateienBeimStartZeigen(); });
}

void TfrmKalmetMain::cmbDatumChange()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.cmbDatumChange"), [this] {
        const int i = cmbDatum->currentIndex();
        if (i < 0)
            return;
        FWiJahr = FDatumList.GetItem(i);
        FuelleGrid(FWiJahr);
    });
}

void TfrmKalmetMain::VRList_Init()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.VRList_Init"), [this] {
        if (vrInvList->VRList())
            return;
        TVRListUpdate klammer(vrInvList);
        auto* modell = new TUebersichtModell;
        modell->OnBeforeCellPaint = [this](int zeile, int spalte) { return vrInvListBeforeCellPaint(zeile, spalte); };
        vrInvList->SetVRList(modell);
        FModell = modell;
        for (const TZEP_VRKalmet_Spalten_Rec& s : CSpalten)
            modell->SpalteAdd({QString::fromUtf8(s.Caption), s.VRType, s.FormatType, QString::fromLatin1(s.FormatStr), s.Visible, true});
        vrInvList->UpdateSpalten(true);
        vrInvList->UpdateZeilen(0, 0);
    });
}

void TfrmKalmetMain::FuelleGrid(TDateTime AWiJahr)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FuelleGrid"), [this, AWiJahr] {
        // print tables of the rows before are not those of the rows shown now
        FLastConfig = TDruckConfig::EmptyGet();
        TVRListUpdate klammer(vrInvList);
        VRList_Init();
        Angelegt(FModell, "FModell").Fuellen(AWiJahr, IA_ListeMitUngezaehlten(AWiJahr));
        FStand = QTime::currentTime();
        FVerbindungsHinweis.clear();
        vrInvList->UpdateSpalten(false);
        vrInvList->UpdateZeilen(0, 0);
    });
    StandZeigen();
}

void TfrmKalmetMain::Zeile_2_Record(int ANode, TZeileAnzeige& AZeile)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.Zeile_2_Record"), [&] {
        const TIASchluessel& s = Angelegt(FModell, "FModell").Inventur(ANode).Schluessel;
        AZeile.ZaehlDatum = s.ZaehlDatum;
        AZeile.WGN = s.WGN;
        AZeile.Filiale = s.Filiale;
        AZeile.ZeilenNode = s;
    });
}

TDateTime TfrmKalmetMain::CalcWiJahrEnde(TDateTime ADatum)
{
    TDateTime r = 0;
    ORVGuard(QStringLiteral("TfrmKalmetMain.CalcWiJahrEnde"), [&] { r = WiJahrEnde(ADatum); });
    return r;
}

QColor TfrmKalmetMain::vrInvListBeforeCellPaint(int zeile, int)
{
    return StatusFarbe(IA_KZZaehlung_2_Char(FModell->Inventur(zeile).Stand.Status));
}

void TfrmKalmetMain::vrInvListHeaderClick(int)
{
    // the header neither sorts nor changes the list
}

void TfrmKalmetMain::ZeilenAktualisieren()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.ZeilenAktualisieren"), [this] {
        if (!FModell)
            return;
        const TObersteZeileHalten oben(vrInvList, *FModell);
        FModell->Abgleichen(IA_ListeMitUngezaehlten(FWiJahr));
        FStand = QTime::currentTime();
    });
    StandZeigen();
}
