#include "framework/report/lauf.h"
#include "framework/report/viewer.h"
#include "tests/framework/report/berichtdaten.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

const char* const CBaender = R"X(
<seitenkopf hoehe="10"><feld x="0" y="0" b="100" h="5" ausdruck='"Seite " + seite() + " von " + seiten()'/></seitenkopf>
<gruppe ausdruck="H.Gruppe" umbruch-vor="ja"><kopf hoehe="8"><feld x="0" y="0" b="50" h="5" ausdruck='"Gruppe " + H.Gruppe'/></kopf></gruppe>
<detail hoehe="8"><feld x="0" y="0" b="20" h="5" ausdruck="H.Nr"/></detail>
)X";

}

TEST(ViewerTest, NavigatesZoomsAndFindsTexts)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CBaender)), d.Tabellen(), {});
    TReportViewer v(lauf, {"Probe", d.Pfad("probe.pdf"), true, false});
    v.resize(900, 700);
    v.show();
    while (v.Seitenanzahl() == 0)
        QCoreApplication::processEvents();
    EXPECT_EQ(v.Seitenanzahl(), 3);   // one page per group
    EXPECT_EQ(v.windowTitle(), "Probe");
    EXPECT_TRUE(v.ExportAktion()->isVisible());
    EXPECT_FALSE(v.KomAktion()->isVisible());

    v.ZoomSetzen(1);   // whole page: every page fits the window's height
    QCoreApplication::processEvents();
    const int ganz = v.Flaeche()->widget()->height();
    v.ZoomSetzen(7);   // 200 %
    QCoreApplication::processEvents();
    EXPECT_GT(v.Flaeche()->widget()->height(), 2 * ganz);
    v.ZuSeite(3);
    EXPECT_EQ(v.AktuelleSeite(), 3);
    v.ZuSeite(99);
    EXPECT_EQ(v.AktuelleSeite(), 3) << "past the end stays on the last page";

    EXPECT_EQ(v.Suchen("gruppe b"), 2) << "case does not matter";
    EXPECT_EQ(v.AktuelleSeite(), 2);
    EXPECT_EQ(v.Suchen("Gruppe"), 2) << "another text: from the page shown";
    EXPECT_EQ(v.Suchen("Gruppe"), 3) << "the same again: the next hit after the last one";
    EXPECT_EQ(v.Suchen("Gruppe"), 1) << "and round to the start";
    EXPECT_EQ(v.Suchen("steht nirgends"), 0);
}

TEST(ViewerTest, KeysAndTheZoomOfTheLastList)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CBaender)), d.Tabellen(), {});
    auto v = std::make_unique<TReportViewer>(lauf, TViewerOptionen{"Probe", d.Pfad("probe.pdf"), true, false});
    v->resize(900, 700);
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
    while (v->Seitenanzahl() == 0)
        QCoreApplication::processEvents();
    v->ZoomSetzen(1);
    QCoreApplication::processEvents();

    const auto taste = [&](int t, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : v.get(), static_cast<Qt::Key>(t), m);
        QCoreApplication::processEvents();
    };
    v->Flaeche()->setFocus();
    taste(Qt::Key_End);
    EXPECT_EQ(v->AktuelleSeite(), 3);
    taste(Qt::Key_PageUp);
    EXPECT_EQ(v->AktuelleSeite(), 2);
    taste(Qt::Key_Home);
    EXPECT_EQ(v->AktuelleSeite(), 1);
    taste(Qt::Key_PageDown);
    EXPECT_EQ(v->AktuelleSeite(), 2);

    taste(Qt::Key_F, Qt::ControlModifier);
    auto* suche = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(suche);
    QTest::keyClicks(suche, "Gruppe");
    taste(Qt::Key_Return);
    const int treffer = v->AktuelleSeite();
    taste(Qt::Key_F3);
    EXPECT_EQ(v->AktuelleSeite(), treffer % 3 + 1) << "F3 finds the next hit";

    // from the fitted page one step up is a percent larger than what is shown, down smaller
    auto* zoom = v->findChild<QComboBox*>();
    const int hoehe = v->Flaeche()->widget()->height();
    taste(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GE(zoom->currentIndex(), 2);
    EXPECT_GT(v->Flaeche()->widget()->height(), hoehe);
    const int groesser = zoom->currentIndex();
    taste(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(zoom->currentIndex(), groesser - 1);
    taste(Qt::Key_Minus, Qt::ControlModifier);
    const int gewaehlt = zoom->currentIndex();

    // every key is named in its button's tooltip
    for (QAction* a : v->findChild<QToolBar*>()->actions())
        if (!a->shortcut().isEmpty()) {
            EXPECT_TRUE(a->toolTip().contains(a->shortcut().toString(QKeySequence::NativeText))) << qPrintable(a->toolTip());
        }
    EXPECT_TRUE(suche->toolTip().contains(QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText)));

    v->Flaeche()->setFocus();
    taste(Qt::Key_Escape);
    EXPECT_FALSE(v->isVisible());

    v = std::make_unique<TReportViewer>(lauf, TViewerOptionen{"Probe", d.Pfad("probe.pdf"), true, false});
    EXPECT_EQ(v->findChild<QComboBox*>()->currentIndex(), gewaehlt) << "the zoom comes back";
}
