// The print action from F10 to the print tables: the selection, the layout and the
// print-options dialogs answered by script, the request cache and its mended faults.
#include "SelDruck/frmseldruck.h"
#include "SelMask/frmselmask.h"
#include "framework/app/datumtext.h"
#include "framework/article/iastatus.h"
#include "framework/dbf/crystalsets.h"
#include "framework/gui/layoutform.h"
#include "framework/report/viewer.h"
#include "kalmetmain/uebersicht_logik.h"
#include "tests/kalmetmain/dialogskript.h"
#include "tests/kalmetmain/fenster.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

class DruckenTest : public FensterTest {
protected:
    void TearDown() override
    {
        frmSelMask = nullptr;
        frmSelDruck = nullptr;
        FSelMask.reset();
        FSelDruck.reset();
        FensterTest::TearDown();
    }

    // The window with its two print dialogs and the first usable row checked.
    TfrmKalmetMain& Bereit()
    {
        TfrmKalmetMain& f = Fenster();
        Sql(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_LISTEN', '%1')").arg(FListen.path()));
        FSelMask = std::make_unique<TfrmSelMask>(&f);
        FSelDruck = std::make_unique<TfrmSelDruck>(&f);
        frmSelMask = FSelMask.get();
        frmSelDruck = FSelDruck.get();
        for (int n : Zeilen())
            if (f.vrInvList->VRList()->Wert(n, usStatusKZ).toString() != QString(IA_KZZaehlung_2_Char(iakzStorniert))) {
                f.vrInvList->SetCheckState(n, Qt::Checked);
                break;
            }
        return f;
    }

    // One print with the default layout; datum: none for the list at the count date. The
    // viewer, when it shows, is looked at by ansehen and closed.
    void Drucken(const QString& datum = QString(), std::function<void(TReportViewer&)> ansehen = [](TReportViewer&) {})
    {
        std::deque<std::function<void(QWidget*)>> schritte{Im<TfrmSelMask>([](TfrmSelMask& d) { d.btnOK->click(); }),
                              Im<TLayoutform>([](TLayoutform& d) { d.btnOK->click(); }),
                              Im<TfrmSelDruck>([datum](TfrmSelDruck& d) {
                                  if (!datum.isEmpty()) {
                                      d.rbtBelDatum->click();
                                      d.edtAuswertungsdatum->setText(datum);
                                      QFocusEvent aus(QEvent::FocusOut);
                                      QApplication::sendEvent(d.edtAuswertungsdatum, &aus);
                                  }
                                  d.btnDruck->click();
                              })};
        if (ansehen)
            schritte.push_back(Im<TReportViewer>([ansehen](TReportViewer& v) {
                while (v.Seitenanzahl() == 0)
                    QCoreApplication::processEvents();
                ansehen(v);
                v.accept();
            }));
        TDialogSkript skript(std::move(schritte));
        FFenster->actDrucken->trigger();
    }

    QString Invl() { return FFenster->Inventurliste()->CrystalSets().Tabelle("INVL")->Pfad(); }

    std::unique_ptr<TfrmSelMask> FSelMask;
    std::unique_ptr<TfrmSelDruck> FSelDruck;
    QTemporaryDir FListen;   // exported lists of the test
};

}

TEST_F(DruckenTest, WithoutAUsableRowNothingIsAsked)
{
    TfrmKalmetMain& f = Fenster();
    FSelMask = std::make_unique<TfrmSelMask>(&f);
    frmSelMask = FSelMask.get();
    f.vrInvList->selectionModel()->clear();
    {
        TDialogSkript keine({});
        f.actDrucken->trigger();
    }
    ASSERT_FALSE(FInteraktion.Gezeigt.empty());
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.startsWith("Es ist keine Inventur markiert"));
    EXPECT_EQ(QApplication::focusWidget(), f.cmbDatum);
    EXPECT_TRUE(f.actDrucken->isEnabled());

    // a cancelled first checked row stops the print although a later row is fine
    for (int n : Zeilen())
        f.vrInvList->SetCheckState(n, Qt::Checked);
    Sql("UPDATE ia SET kzzaehlung = '6'");
    f.FuelleGrid(f.WiJahr());
    for (int n : Zeilen())
        f.vrInvList->SetCheckState(n, Qt::Checked);
    const size_t vorher = FInteraktion.Gezeigt.size();
    {
        TDialogSkript keine({});
        f.actDrucken->trigger();
    }
    EXPECT_EQ(FInteraktion.Gezeigt.size(), vorher + 1);
}

TEST_F(DruckenTest, CancelledSelectionBuildsNothing)
{
    TfrmKalmetMain& f = Bereit();
    {
        TDialogSkript skript({Im<TfrmSelMask>([](TfrmSelMask& d) { d.btnAbbruch->click(); })});
        f.actDrucken->trigger();
    }
    EXPECT_TRUE(f.DruckOrdner().isEmpty());
    EXPECT_TRUE(f.actDrucken->isEnabled());
    {
        TDialogSkript skript({Im<TfrmSelMask>([](TfrmSelMask& d) { d.btnOK->click(); }),
                              Im<TLayoutform>([](TLayoutform& d) { d.btnAbbruch->click(); })});
        f.actDrucken->trigger();
    }
    EXPECT_TRUE(f.DruckOrdner().isEmpty());
    EXPECT_TRUE(f.actDrucken->isEnabled());
}

TEST_F(DruckenTest, AnEqualRequestKeepsTheTablesAnotherDateOrAFailureDoesNot)
{
    TfrmKalmetMain& f = Bereit();
    Drucken();
    ASSERT_FALSE(f.DruckOrdner().isEmpty());
    ASSERT_GT(TDbfLeser(Invl()).Anzahl(), 0u);
    EXPECT_EQ(f.LastConfig().Zeilen.size(), 1u);
    EXPECT_TRUE(f.actDrucken->isEnabled());

    // the same request again: the tables stay as they are (renamed here, so that a rebuild
    // would show, and back for the viewer)
    const QString invl = Invl();
    QFile::rename(invl, invl + ".weg");
    Drucken({}, nullptr);
    EXPECT_FALSE(QFile::exists(invl));
    QFile::rename(invl + ".weg", invl);

    // back-calculated to one date, then to another: each is built
    const QString zaehl = f.vrInvList->VRList()->Text(f.vrInvList->GetFirstChecked(), 1);
    const TDateTime tag = orv_StrToDate(zaehl.isEmpty() ? "15.05.2026" : zaehl);
    Drucken(TDateTime_FormatDatum(tag - 10), [&](TReportViewer& v) {
        EXPECT_GT(v.Suchen("Rückrechnung auf " + TDateTime_FormatDatum(tag - 10)), 0) << "the date is in the header";
    });
    ASSERT_TRUE(QFile::exists(Invl()));
    Drucken(TDateTime_FormatDatum(tag - 10), [&](TReportViewer& v) {
        EXPECT_GT(v.Suchen("Rückrechnung auf " + TDateTime_FormatDatum(tag - 10)), 0) << "a reprint from the kept tables too";
    });
    QFile::remove(Invl());
    Drucken(TDateTime_FormatDatum(tag - 20));
    EXPECT_TRUE(QFile::exists(Invl())) << "another evaluation date is another list";
    QFile::remove(Invl());
    Drucken(TDateTime_FormatDatum(tag - 20), nullptr);   // the kept table is gone: no viewer
    EXPECT_FALSE(QFile::exists(Invl()));

    // a build that fails part-way is not served again, nor shown; the user is told once
    Sql("DROP TABLE artikel_filiale");
    const size_t vorher = FInteraktion.Gezeigt.size();
    Drucken({}, nullptr);
    EXPECT_EQ(f.LastConfig().SelFil, -1);
    ASSERT_EQ(FInteraktion.Gezeigt.size(), vorher + 1) << "one message, however many articles failed";
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.startsWith("Die Liste wurde nicht erstellt: ")) << qPrintable(FInteraktion.Gezeigt.back().Text);
    // refilling the overview forgets the request
    Sql("CREATE TABLE artikel_filiale (id INTEGER, produkt_id_1 INTEGER, produkt_id_2 INTEGER, produkt_id_3 INTEGER, filiale INTEGER)");
    f.FuelleGrid(f.WiJahr());
    EXPECT_EQ(f.LastConfig().SelFil, -1);
}

TEST_F(DruckenTest, ABrokenStoredLayoutEndsThePrintWithAMessage)
{
    TfrmKalmetMain& f = Bereit();
    // edited in the database behind the layout dialog's back
    Sql("UPDATE layout SET optionen = 'ObererRand=viel\nohne Gleichheitszeichen', parameter = 'MinDiff=x\n=J' "
        "WHERE report = 'kalme003.rpt'");
    Drucken({}, nullptr);
    EXPECT_TRUE(FInteraktion.Enthaelt("ObererRand")) << "the option is named";
    EXPECT_GT(TDbfLeser(Invl()).Anzahl(), 0u) << "the tables were built with MinDiff 0";
    EXPECT_TRUE(f.actDrucken->isEnabled());
}

TEST_F(DruckenTest, F10EndsInTheViewerWithTheChosenList)
{
    TfrmKalmetMain& f = Bereit();
    QString titel;
    Drucken({}, [&](TReportViewer& v) {
        titel = v.windowTitle();
        EXPECT_TRUE(v.windowState() & Qt::WindowMaximized);
        EXPECT_FALSE(v.ExportAktion()->isVisible());
        EXPECT_TRUE(v.KomAktion()->isVisible());
        EXPECT_EQ(v.Suchen("Inventuren - Inventurliste je Filiale und Artikel mit Größen"), 1);
        EXPECT_EQ(v.Suchen("Summe Bericht"), v.Seitenanzahl());
        v.Kom();
        v.Kom();
    });
    EXPECT_EQ(titel, "Inventurauswertung");
    // Kom leaves the list as a PDF under the export name in the lists folder; a second one of
    // the same day beside it, never over it
    EXPECT_EQ(QDir(FListen.path()).entryList({"Inventurauswertung????????.pdf"}).size(), 1);
    EXPECT_EQ(QDir(FListen.path()).entryList({"Inventurauswertung????????_2.pdf"}).size(), 1);
    EXPECT_TRUE(f.actDrucken->isEnabled());

    // a lists folder that cannot be made only keeps Kom from filing: the list is shown
    Sql("UPDATE parameter SET wert = '/proc/kalmet/Listen' WHERE name = 'ORDNER_LISTEN'");
    bool gezeigt = false;
    Drucken({}, [&](TReportViewer& v) {
        gezeigt = true;
        EXPECT_FALSE(v.KomAktion()->isEnabled());
        EXPECT_TRUE(v.KomAktion()->toolTip().contains("/proc/kalmet/Listen")) << qPrintable(v.KomAktion()->toolTip());
    });
    EXPECT_TRUE(gezeigt);
}
