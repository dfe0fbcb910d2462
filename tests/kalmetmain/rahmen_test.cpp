#include "tests/kalmetmain/fenster.h"

#include "framework/app/info.h"
#include "framework/article/aasatz.h"
#include "framework/article/artlessimple.h"
#include "framework/article/iastatus.h"
#include "kalmetmain/uebersicht_logik.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using RahmenTest = FensterTest;

TEST_F(RahmenTest, CaptionMenusAndDefaultButton)
{
    TfrmKalmetMain& f = Fenster();
    EXPECT_EQ(f.windowTitle(), "Inventurauswertung - Schuhhaus Nord GmbH");
    EXPECT_TRUE(f.btnDrucken->isDefault());
    EXPECT_FALSE(f.btnBuchen->isDefault());
    EXPECT_EQ(f.actLayout->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F10));
    EXPECT_FALSE(f.actHilfe->isEnabled());
    EXPECT_EQ(f.prgdMain->windowTitle(), "Daten werden aufbereitet ...");
    EXPECT_EQ(f.prgdMain->ZaehlerText("ArtikelNr"), "xxxxxxxxxxx");
    EXPECT_FALSE(ORVInfo().Registriert("TfrmKalmetMain.FormCreate"));
    ASSERT_TRUE(f.Inventurliste());
    EXPECT_EQ(f.Inventurliste()->ArtlesSimple().Mode(), 2);
    EXPECT_EQ(f.Inventurliste()->ArtlesSimple().Segmente(), 7u);
    EXPECT_EQ(f.LastConfig().SelFil, -1);
    EXPECT_EQ(f.Inventurliste()->LfdNrINVL(), 1);
    // "Reset Kennzeichen" is in no menu and on no button
    for (QAction* a : f.mnuMain->actions())
        for (QAction* item : a->menu()->actions())
            EXPECT_NE(item, f.actKZReset);
}

TEST_F(RahmenTest, ShortcutsRunTheirHandlers)
{
    TfrmKalmetMain& f = Fenster();
    // Ctrl+Alt+Z resets the status of a marked booked inventory
    TVRModell* l = f.vrInvList->VRList();
    const QString gebucht(IA_KZZaehlung_2_Char(iakzGebucht));
    const auto zeilen = Zeilen();
    const auto it = std::find_if(zeilen.begin(), zeilen.end(), [&](int n) { return l->Wert(n, usStatusKZ).toString() == gebucht; });
    ASSERT_NE(it, zeilen.end());
    f.vrInvList->SetCheckState(*it, Qt::Checked);
    Taste(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(l->Wert(*it, usStatusKZ).toString(), QString(IA_KZZaehlung_2_Char(iakzFreigegeben)));

    const size_t vorher = FInteraktion.Gezeigt.size();
    Taste(Qt::Key_F1);
    EXPECT_EQ(FInteraktion.Gezeigt.size(), vorher) << "F1 does nothing";

    Taste(Qt::Key_F7);
    EXPECT_EQ(Haken(), std::vector<bool>(Zeilen().size(), true));
    f.btnAlleUmsClick();
    EXPECT_EQ(Haken(), std::vector<bool>(Zeilen().size(), false));
    Taste(Qt::Key_A, Qt::ControlModifier);
    QTest::qWait(300);   // a button's shortcut clicks it after its press animation
    EXPECT_EQ(Haken(), std::vector<bool>(Zeilen().size(), true)) << "Ctrl+A on the button marks all too";
    Taste(Qt::Key_F8);
    EXPECT_EQ(Haken(), std::vector<bool>(Zeilen().size(), false));

    Taste(Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(RahmenTest, RegAnrParameter)
{
    const std::vector<std::pair<const char*, bool>> faelle = {{"j", true}, {"J", true}, {"Ja", false}, {"N", false}, {"", false}};
    for (const auto& [wert, erwartet] : faelle) {
        Sql(QString("UPDATE parameter SET wert = '%1' WHERE name = 'REGANR'").arg(wert));
        TfrmKalmetMain f;
        EXPECT_EQ(f.Inventurliste()->Optionen().MitRegal, erwartet) << wert;
    }
    Sql("DELETE FROM parameter WHERE name = 'REGANR'");
    TfrmKalmetMain f;
    EXPECT_FALSE(f.Inventurliste()->Optionen().MitRegal);
}

TEST_F(RahmenTest, ReadParamTakesTheFirstLineAndFailsWithoutLayout)
{
    TfrmKalmetMain& f = Fenster();
    QString wert = "alt";
    f.ReadParam("MinDiff", false, wert);
    EXPECT_EQ(wert, "");
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.ReadParam"));

    auto layout = std::make_unique<TZEP_SelectedLayout>();
    layout->Liste1 = {"KVK=J", "Listentyp=Filueber"};
    layout->Liste2 = {"MinDiff=3", "FilNull=J", "MinDiff=7", "minDiff=9"};
    f.Inventurliste()->SelectedLayouts().push_back(std::move(layout));
    f.ReadParam("MinDiff", false, wert);
    EXPECT_EQ(wert, "3");
    f.ReadParam("Listentyp", true, wert);
    EXPECT_EQ(wert, "Filueber");
    f.ReadParam("MinDiff", true, wert);
    EXPECT_EQ(wert, "");
}

TEST_F(RahmenTest, DestroysWithObjectsNeverCreated)
{
    {
        TfrmKalmetMain f;
        EXPECT_FALSE(f.Inventurliste()->IZNSFile());
        EXPECT_FALSE(f.Inventurliste()->RENRFile());
    }
    EXPECT_FALSE(ORVInfo().Registriert("TfrmKalmetMain.FormDestroy"));
    TfrmKalmetMain g;
    g.IZNSFile_GoC();
    EXPECT_TRUE(g.Inventurliste()->IZNSFile());
}

TEST_F(RahmenTest, FailingRecordFileLeavesTheLaterFieldsUnsetAndTheWindowOpens)
{
    Sql("DROP TABLE iv");
    TfrmKalmetMain& f = Fenster();
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FormCreate"));
    EXPECT_FALSE(f.Inventurliste()) << "the list computation opens the target records first";
    EXPECT_TRUE(f.isVisible());
    EXPECT_GT(f.cmbDatum->count(), 0) << "the overview still works from the inventory file";
}

TEST_F(RahmenTest, RightLostWhileRunningEndsTheProgramAtTheNextActivation)
{
    TfrmKalmetMain& f = Fenster();
    EXPECT_TRUE(f.isVisible());
    Sql("DELETE FROM benutzerrecht WHERE benutzer = 'demo' AND recht = 'pz{'");
    QDialog anderes;
    anderes.show();
    anderes.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&anderes));
    anderes.close();
    f.activateWindow();
    QTest::qWait(50);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(FInteraktion.Enthaelt("pz{"));
}

// Objects whose creation failed stay empty; every method that needs one registers the fault
// under its own location instead of ending the program.
TEST_F(RahmenTest, MethodsRegisterAFaultForObjectsThatWereNotCreated)
{
    Sql("DROP TABLE ia");
    Sql("DROP TABLE iv");   // the inventory list opens it when it is created
    TfrmKalmetMain& f = Fenster();
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FormCreate"));
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FormShow"));
    f.FuelleGrid(EncodeDate(2026, 2, 1));
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FuelleGrid"));

    TMengenfeld m;
    f.InitMengenfeld(m);
    f.FuelleMengenfeld_MitZaehlsaetzen(m);
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FuelleMengenfeld_MitZaehlsaetzen"));
    f.FVKKorrektur({1, 0, 0}, 1, EncodeDate(2026, 5, 1), true, m);
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FVKKorrektur"));
    f.FuelleMengenFeld_UF(1, m);
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FuelleMengenFeld_UF"));

    TinvlListe liste;
    TAASatz aa;
    aa.GrVon = 1;
    aa.GrBis = 3;
    f.SchreibeDruckDateien(m, {}, aa, EncodeDate(2026, 2, 1), EncodeDate(2026, 5, 1), "W", 1, false, liste, false);
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.SchreibeDruckDateien"));
    f.INVLSaetzeWegschreiben(liste, false);
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.INVLSaetzeWegschreiben"));
    EXPECT_TRUE(f.isVisible());
}

// While an action runs, Esc neither closes the window nor hides the progress dialog; the
// hourglass follows the enabled state, however often the actions were disabled.
TEST_F(RahmenTest, EscAndCursorFollowTheActionState)
{
    TfrmKalmetMain& f = Fenster();
    EXPECT_EQ(f.windowTitle(), "Inventurauswertung - Schuhhaus Nord GmbH");
    f.AktionenEnabled(false);
    f.AktionenEnabled(false);
    ASSERT_TRUE(QApplication::overrideCursor());
    Taste(Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible()) << "Esc does not close the window while the actions are disabled";
    f.close();
    EXPECT_TRUE(f.isVisible());

    f.prgdMain->Zeigen();
    QTest::keyClick(f.prgdMain, Qt::Key_Escape);
    EXPECT_TRUE(f.prgdMain->isVisible()) << "the progress dialog has no abort button";
    f.prgdMain->Verbergen();

    f.AktionenEnabled(true);
    EXPECT_FALSE(QApplication::overrideCursor());
    f.activateWindow();
    Taste(Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
}
