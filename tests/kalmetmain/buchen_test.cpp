// Booking from the window: the row checks, the questions answered by script, the list after
// a complete booking, and the blocked-articles dialog after one that left articles locked.
#include "kalmetmain/gesperrteartikel.h"
#include "framework/article/iastatus.h"
#include "framework/gui/layoutform.h"
#include "kalmetmain/uebersicht_logik.h"
#include "tests/kalmetmain/dialogskript.h"
#include "tests/kalmetmain/fenster.h"
#include "tests/support/buchungskette.h"
#include "tests/support/fremdesperre.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>

namespace {

class BuchenTest : public FensterTest {
protected:
    // Checks the row of the first open inventory of an ordinary branch; its key.
    TZeileAnzeige Markieren(TfrmKalmetMain& f)
    {
        for (const TKettenInventur& i : Kette::OffeneInventuren()) {
            if (i.Lagerfiliale || i.Zeile.WGN == "*")
                continue;
            for (int n : Zeilen()) {
                TZeileAnzeige z;
                f.Zeile_2_Record(n, z);
                if (z.ZaehlDatum == i.Zeile.ZaehlDatum && z.WGN == i.Zeile.WGN && z.Filiale == i.Zeile.Filiale) {
                    f.vrInvList->SetCheckState(n, Qt::Checked);
                    z.ZeilenNode = {};
                    return z;
                }
            }
        }
        ADD_FAILURE() << "no open inventory in the list";
        return {};
    }
};

}

TEST_F(BuchenTest, WithoutARowNothingIsBooked)
{
    TfrmKalmetMain& f = Fenster();
    f.vrInvList->selectionModel()->clear();
    {
        TDialogSkript keine({});
        f.actBuchen->trigger();
    }
    ASSERT_FALSE(FInteraktion.Gezeigt.empty());
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Titel.contains("1000"));
    EXPECT_EQ(QApplication::focusWidget(), f.cmbDatum);
    EXPECT_TRUE(f.actBuchen->isEnabled());
}

TEST_F(BuchenTest, ACompleteBookingClosesTheRowAndOffersTheList)
{
    TfrmKalmetMain& f = Fenster();
    const TZeileAnzeige z = Markieren(f);
    {
        // the layout dialog after the booking, cancelled: no list
        TDialogSkript skript({Im<TLayoutform>([](TLayoutform& d) { d.btnAbbruch->click(); })});
        f.actBuchen->trigger();
    }
    EXPECT_EQ(Kette::Status(z), "5");
    EXPECT_EQ(Kette::AbweichendVomZaehlbestand(z), QStringList());
    int n = f.vrInvList->GetFirstChecked();
    ASSERT_GE(n, 0);
    EXPECT_EQ(f.vrInvList->VRList()->Wert(n, usStatusKZ).toString(), "5") << "the row shows the new status";
    EXPECT_EQ(f.vrInvList->VRList()->Wert(n, usStatus).toString(), CZEP_IA_KZZaehlung_2_String[iakzGebucht]);
    EXPECT_TRUE(f.actBuchen->isEnabled());
    EXPECT_EQ(f.LastConfig().SelFil, -1) << "tables built before the booking are not served again";
}

TEST_F(BuchenTest, LockedArticlesAreListedWithTheirHolder)
{
    TfrmKalmetMain& f = Fenster();
    const TZeileAnzeige z = Markieren(f);
    const TFremdeSperre fremd(ProduktId(Kette::AbweichendVomZaehlbestand(z).first()), QSysInfo::machineHostName(), 1,
                              "2026-12-08 09:30:00.000");
    QString text, zelle, prozess;
    int zeilen = -1, spalten = -1;
    {
        TDialogSkript skript({Im<TgesperrteArtikelfrm>([&](TgesperrteArtikelfrm& d) {
            text = d.lblDescriptoin->text();
            TVRModell* l = d.vrGesperrteArtikel->VRList();
            zeilen = l->Anzahl();
            spalten = static_cast<int>(l->Spalten().size());
            zelle = l->Text(0, 1);
            prozess = l->Text(0, 5);
            d.btnWeiter->click();
        })});
        f.actBuchen->trigger();
    }
    EXPECT_TRUE(text.startsWith("Es konnten nicht alle Inventuren vollständig abgeschlossen werden"));
    EXPECT_EQ(zeilen, 1);
    EXPECT_EQ(spalten, 6);
    EXPECT_TRUE(zelle.contains("08.12.2026") && zelle.contains("09:30")) << qPrintable(zelle);
    EXPECT_EQ(prozess, "1");
    EXPECT_EQ(Kette::Status(z), "4");
    EXPECT_TRUE(f.actBuchen->isEnabled());
}

TEST_F(BuchenTest, TheBlockedArticlesDialogShowsOnlyWithMessages)
{
    Fenster();
    {
        TDialogSkript keine({});
        TgesperrteArtikelfrm::Execute({}, "nichts");
    }
    TgesperrteArtikelfrm d;
    d.VR_List_Init();
    d.VR_List_Init();
    EXPECT_EQ(d.vrGesperrteArtikel->VRList()->Spalten().size(), 6u) << "set up once";
    EXPECT_EQ(d.windowTitle(), "Gesperrte Artikel");
    EXPECT_EQ(d.vrGesperrteArtikel->columnWidth(5), 30);
}

TEST_F(BuchenTest, DeclinedQuestionChangesNothing)
{
    TfrmKalmetMain& f = Fenster();
    const TZeileAnzeige z = Markieren(f);
    const QString vorher = Kette::Status(z);
    FInteraktion.Antworten = {maNein, maNein};
    {
        TDialogSkript keine({});
        f.actBuchen->trigger();
    }
    EXPECT_EQ(Kette::Status(z), vorher);
    EXPECT_TRUE(f.actBuchen->isEnabled());
}
