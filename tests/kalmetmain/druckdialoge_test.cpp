// The layout dialog, the list options of a layout, and the two print dialogs, driven
// offscreen on the test chain.
#include "SelDruck/frmseldruck.h"
#include "SelMask/frmselmask.h"
#include "framework/app/layoutspeicher.h"
#include "framework/app/programm.h"
#include "framework/gui/layoutform.h"
#include "framework/gui/wgnsuche.h"
#include "tests/kalmetmain/fenster.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class DruckdialogeTest : public FensterTest {
protected:
    // Runs f on the layout dialog once it is shown modally.
    static void ImLayoutDialog(std::function<void(TLayoutform&)> f)
    {
        QTimer::singleShot(0, [f] {
            auto* d = qobject_cast<TLayoutform*>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            f(*d);
        });
    }
    static void Zeile(TLayoutform& d, const QString& report)
    {
        const QList<QTreeWidgetItem*> it = d.lstLayouts->findItems(report, Qt::MatchFixedString, 1);
        ASSERT_EQ(it.size(), 1);
        d.lstLayouts->setCurrentItem(it.front());
    }
    QString Gewaehlt() { return Fenster().Inventurliste()->SelectedLayouts().front()->ReportDatei; }
    QStringList Optionen(const QString& report)
    {
        for (const TLayoutSatz& l : TLayoutSpeicher::Lesen("KALMET", {"kalme"}))
            if (l.Report == report)
                return l.Optionen;
        return {};
    }
    static void Verlassen(QLineEdit* e)
    {
        QFocusEvent aus(QEvent::FocusOut);
        QApplication::sendEvent(e, &aus);
    }
};

}

TEST_F(DruckdialogeTest, OkChoosesTheMarkedLayoutAndEscKeepsTheLastChoice)
{
    Fenster();
    ImLayoutDialog([](TLayoutform& d) {
        EXPECT_EQ(d.lstLayouts->topLevelItemCount(), 12);
        EXPECT_FALSE(d.pnlGestaltung->isVisible());
        EXPECT_EQ(d.lstLayouts->currentItem()->text(1), "kalme003.rpt") << "the default is preselected";
        d.btnOK->click();
    });
    ASSERT_TRUE(Fenster().LayoutDialogExecute(false));
    EXPECT_EQ(Gewaehlt(), "kalme003.rpt");

    ImLayoutDialog([](TLayoutform& d) {
        Zeile(d, "kalme009.rpt");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(Fenster().LayoutDialogExecute(false));
    EXPECT_EQ(Gewaehlt(), "kalme003.rpt");

    ImLayoutDialog([](TLayoutform& d) {
        EXPECT_EQ(d.lstLayouts->currentItem()->text(1), "kalme003.rpt") << "the last choice is marked";
        Zeile(d, "kalme009.rpt");
        emit d.lstLayouts->itemDoubleClicked(d.lstLayouts->currentItem(), 0);
    });
    ASSERT_TRUE(Fenster().LayoutDialogExecute(false));
    EXPECT_EQ(Gewaehlt(), "kalme009.rpt");
    TLayOutParams p;
    Fenster().ReadLayOutParams(p);
    EXPECT_TRUE(p.Filueber);
    EXPECT_EQ(p.MinDiff, 1);
    EXPECT_FALSE(p.IsUebersicht || p.MitSummieren || p.NurMitMengen);
}

TEST_F(DruckdialogeTest, DesignStoresCheckedLayoutsAndRefusesOverwritingAnotherTerminal)
{
    Fenster();
    ImLayoutDialog([this](TLayoutform& d) {
        EXPECT_TRUE(d.pnlGestaltung->isVisible());
        Zeile(d, "kalme004.rpt");
        QTableWidget* t = d.tblOptionen;
        const int leer = t->rowCount() - 1;
        t->setItem(leer, 0, new QTableWidgetItem("XPosition"));
        t->setItem(leer, 1, new QTableWidgetItem("5"));
        d.chkStandard->setChecked(true);   // the default moves here from kalme003
        EXPECT_TRUE(d.Speichern());
        EXPECT_TRUE(Optionen("kalme004.rpt").contains("XPosition=5"));
        for (const TLayoutSatz& l : TLayoutSpeicher::Lesen("KALMET", {"kalme"}))
            EXPECT_EQ(l.Standard, l.Report == "kalme004.rpt") << qPrintable(l.Report);

        // a line without a name is refused, naming it; nothing is stored
        Zeile(d, "kalme004.rpt");
        d.tblOptionen->item(0, 0)->setText("");
        EXPECT_FALSE(d.Speichern());
        EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("Zeile 1")) << qPrintable(FInteraktion.Gezeigt.back().Text);
        EXPECT_TRUE(Optionen("kalme004.rpt").contains("RegalMengen=J"));

        // another terminal saves the same layout meanwhile: this save is refused and names it
        d.tblOptionen->item(0, 0)->setText("RegalMengen");
        d.edtTitel->setText("Mein Titel");
        ORVProgramm().SetBenutzer("kasse2");
        std::vector<TLayoutSatz> anderes = TLayoutSpeicher::Lesen("KALMET", {"kalme004"});
        anderes.front().Optionen << "KVK=J";
        TLayoutSpeicher::Speichern("KALMET", anderes, {});
        ORVProgramm().SetBenutzer("demo");
        EXPECT_FALSE(d.Speichern());
        EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("kasse2")) << qPrintable(FInteraktion.Gezeigt.back().Text);
        EXPECT_TRUE(Optionen("kalme004.rpt").contains("KVK=J"));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(Fenster().LayoutDialogExecute(true));
}

TEST_F(DruckdialogeTest, ListOptionsFollowTheirCaseRules)
{
    TZEP_SelectedLayout_List& l = Fenster().Inventurliste()->SelectedLayouts();
    const auto lesen = [&](const QString& datei, QStringList optionen, QStringList parameter) {
        auto s = std::make_unique<TZEP_SelectedLayout>();
        s->ReportDatei = datei;
        s->Liste1 = optionen;
        s->Liste2 = parameter;
        l.clear();
        l.push_back(std::move(s));
        TLayOutParams p;
        Fenster().ReadLayOutParams(p);
        return p;
    };
    EXPECT_TRUE(lesen("KALME002.RPT", {}, {}).MitSummieren);
    EXPECT_TRUE(lesen("Kalme010.rpt", {}, {}).IsUebersicht);
    EXPECT_FALSE(lesen("kalme009.rpt", {}, {}).IsUebersicht);
    EXPECT_FALSE(lesen("kalme003.rpt", {"Listentyp=filueber"}, {}).Filueber);
    EXPECT_EQ(lesen("kalme003.rpt", {}, {"MinDiff= 5 "}).MinDiff, 5);
    EXPECT_EQ(lesen("kalme003.rpt", {}, {"MinDiff=fünf"}).MinDiff, 0);
    EXPECT_TRUE(lesen("kalme003.rpt", {}, {"FilNull=j"}).NurMitMengen);
}

TEST_F(DruckdialogeTest, SelectionKeepsItsInputAndReadsTheBranchNumber)
{
    TfrmSelMask d;
    ASSERT_GE(d.cmbFilialen->count(), 3);
    EXPECT_EQ(d.cmbFilialen->itemText(0), "");
    EXPECT_EQ(d.SelFil(), 0) << "the empty entry: all branches";
    d.cmbFilialen->setCurrentIndex(2);
    EXPECT_EQ(d.SelFil(), d.cmbFilialen->currentText().section(" ", 0, 0).toInt());
    EXPECT_TRUE(d.cmbFilialen->currentText().contains(" – "));
    // the search finds groups by the beginning of the code or a part of the name
    QTimer::singleShot(0, [] {
        auto* s = qobject_cast<TWGNSuchDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(s);
        s->edtSuche->setText("herren");
        ASSERT_TRUE(s->lstWGN->currentItem());
        EXPECT_EQ(s->lstWGN->currentItem()->text(0), "HE1001");
        s->edtSuche->setText("KI100");
        EXPECT_EQ(s->lstWGN->currentItem()->text(0), "KI1001");
        s->btnOK->click();
    });
    d.spbWGNSuche->click();
    EXPECT_EQ(d.SelWGN(), "KI1001");
    d.edtWGN->setText("AC10");
    QTimer::singleShot(0, [&] { d.btnOK->click(); });
    EXPECT_EQ(d.exec(), 1);
    QTimer::singleShot(0, [&] { d.btnAbbruch->click(); });
    EXPECT_EQ(d.exec(), 2);
    EXPECT_EQ(d.SelWGN(), "AC10");
    EXPECT_EQ(d.cmbFilialen->currentIndex(), 2);
}

TEST_F(DruckdialogeTest, PrintOptionsOfferWhatTheDatesAllow)
{
    TfrmSelDruck d;
    const auto zeigen = [&](TDateTime ende, TDateTime zaehl) {
        d.hide();
        d.SetEndeWirtsjahr(ende);
        d.SetZaehldatum(zaehl);
        d.show();
    };
    const TDateTime ende = EncodeDate(2025, 1, 31), zaehl = EncodeDate(2025, 3, 15);
    zeigen(ende, EncodeDate(2025, 1, 20));
    EXPECT_FALSE(d.rbtEndeWirtsjahr->isEnabled());
    zeigen(ende, zaehl);
    EXPECT_TRUE(d.rbtEndeWirtsjahr->isEnabled());
    EXPECT_TRUE(d.rbtZaehldatum->isChecked());
    EXPECT_FALSE(d.edtAuswertungsdatum->isEnabled());
    EXPECT_EQ(d.edtAuswertungsdatum->text(), "15.03.2025");
    EXPECT_EQ(d.edtWirtsjahr->text(), "31.01.2025");

    // a date after the count date is refused, told once, and keeps the dialog open: by Enter
    // in the field and by the mouse on the button
    d.rbtBelDatum->click();
    ASSERT_TRUE(d.edtAuswertungsdatum->isEnabled());
    for (const bool maus : {false, true}) {
        FInteraktion.Gezeigt.clear();
        d.edtAuswertungsdatum->setFocus();
        d.edtAuswertungsdatum->setText(maus ? "17.03.2025" : "16.03.2025");
        if (maus)
            QTest::mouseClick(d.btnDruck, Qt::LeftButton);
        else
            QTest::keyClick(d.edtAuswertungsdatum, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()) << (maus ? "mouse" : "Enter");
        EXPECT_EQ(FInteraktion.Gezeigt.size(), 1u) << (maus ? "mouse" : "Enter");
    }
    d.edtAuswertungsdatum->setText("1.3.25");
    QTest::keyClick(d.edtAuswertungsdatum, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.Rueckrechnung());
    EXPECT_EQ(d.Auswertungsdatum(), EncodeDate(2025, 3, 1));

    zeigen(ende, zaehl);
    EXPECT_TRUE(d.rbtZaehldatum->isChecked()) << "every showing starts at the count date";
    d.rbtEndeWirtsjahr->click();
    d.btnDruck->click();
    EXPECT_TRUE(d.Rueckrechnung());
    EXPECT_EQ(d.Auswertungsdatum(), ende);

    zeigen(ende, zaehl);
    d.btnDruck->click();
    EXPECT_FALSE(d.Rueckrechnung());
    EXPECT_EQ(d.Auswertungsdatum(), 0);
}
