#include "tests/kalmetmain/fenster.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QAction>
#include <QPushButton>

using MarkierenTest = FensterTest;

TEST_F(MarkierenTest, MarkierenTogglesAndMovesDownButStaysOnTheLastRow)
{
    TfrmKalmetMain& f = Fenster();
    const auto z = Zeilen();
    ASSERT_GE(z.size(), 3u);
    f.vrInvList->selectionModel()->clear();
    f.btnMarkierenClick();
    EXPECT_EQ(Haken(), std::vector<bool>(z.size(), false)) << "no selected row: nothing happens";

    f.vrInvList->Select(z[0]);
    Taste(Qt::Key_Insert);
    EXPECT_TRUE(Marke(z[0]) == Qt::Checked);
    EXPECT_EQ(f.vrInvList->GetFirstSelected(), z[1]);

    f.vrInvList->Select(z.back());
    f.btnMarkierenClick();
    EXPECT_EQ(Marke(z.back()), Qt::Checked);
    EXPECT_EQ(f.vrInvList->GetFirstSelected(), z.back());
    f.btnMarkierenClick();
    EXPECT_EQ(Marke(z.back()), Qt::Unchecked);
}

TEST_F(MarkierenTest, InvertingTwiceRestoresTheMarks)
{
    TfrmKalmetMain& f = Fenster();
    const auto z = Zeilen();
    f.vrInvList->SetCheckState(z[1], Qt::Checked);
    const auto vorher = Haken();
    f.btnAlleUmsClick();
    EXPECT_NE(Haken(), vorher);
    f.btnAlleUmsClick();
    EXPECT_EQ(Haken(), vorher);
}

TEST_F(MarkierenTest, CollectedRowsLeaveOutStatusSix)
{
    TfrmKalmetMain& f = Fenster();
    f.btnAlleEinClick();
    TZeileAnzeige_Arr zeilen;
    f.MarkierteZeilen(zeilen);
    int storniert = 0;
    for (int n : Zeilen())
        storniert += f.vrInvList->VRList()->Wert(n, usStatusKZ).toString() == "6";
    ASSERT_GT(storniert, 0);
    EXPECT_EQ(static_cast<int>(zeilen.size()), static_cast<int>(Zeilen().size()) - storniert);
    for (const TZeileAnzeige& z : zeilen)
        EXPECT_NE(f.vrInvList->VRList()->Wert(f.Modell().Zeile(z.ZeilenNode), usStatusKZ).toString(), "6");

    // marking only rows of status 6 collects nothing
    f.btnAlleUmsClick();
    for (int n : Zeilen())
        if (f.vrInvList->VRList()->Wert(n, usStatusKZ).toString() == "6")
            f.vrInvList->SetCheckState(n, Qt::Checked);
    f.MarkierteZeilen(zeilen);
    EXPECT_TRUE(zeilen.empty());
}

TEST_F(MarkierenTest, FocusedRowFallbackChecksTheRow)
{
    TfrmKalmetMain& f = Fenster();
    const auto z = Zeilen();
    f.vrInvList->Select(z[2]);
    EXPECT_EQ(f.vrInvList->GetFirstChecked(), -1);
    EXPECT_EQ(f.CheckSelectedNode(), z[2]);
    EXPECT_EQ(Marke(z[2]), Qt::Checked);
    f.vrInvList->selectionModel()->clear();
    EXPECT_EQ(f.CheckSelectedNode(), -1);
}

TEST_F(MarkierenTest, BookingOnlyWhereTheInstallationTypeIsOne)
{
    Sql("UPDATE parameter SET wert = '2' WHERE name = 'RTYP'");
    TfrmKalmetMain& f = Fenster();
    EXPECT_FALSE(f.actBuchen->isEnabled());
    EXPECT_FALSE(f.btnBuchen->isEnabled());
    f.AktionenEnabled(false);
    EXPECT_FALSE(f.actDrucken->isEnabled());
    EXPECT_TRUE(f.actVersionsanzeige->isEnabled());
    f.AktionenEnabled(true);
    EXPECT_TRUE(f.actDrucken->isEnabled());
    EXPECT_FALSE(f.actBuchen->isEnabled());
}

TEST_F(MarkierenTest, ProductGroupPatterns)
{
    Sql("UPDATE artikel SET wgn = 'ab12' WHERE produkt_id_2 = 10000");
    Sql("UPDATE artikel SET wgn = 'A' WHERE produkt_id_2 = 10001");
    TfrmKalmetMain& f = Fenster();
    const TInt32Trio ab12{1, 10000, 1}, a{1, 10001, 1};
    EXPECT_TRUE(f.TestWG(ab12, "*"));
    EXPECT_TRUE(f.TestWG(ab12, ""));
    EXPECT_TRUE(f.TestWG(ab12, "AB*"));
    EXPECT_TRUE(f.TestWG(ab12, "ab1"));
    EXPECT_FALSE(f.TestWG(a, "AB"));
    ORVInfo().RegisterLeeren();
    EXPECT_FALSE(f.TestWG(ab12, "A*B"));
    ASSERT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.TestWG"));
    EXPECT_TRUE(ORVInfo().Register().back().Text.contains("hWGNTest=A*B"));
}
