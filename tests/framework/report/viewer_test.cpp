#include "framework/report/lauf.h"
#include "framework/report/viewer.h"
#include "tests/framework/report/berichtdaten.h"

#include <QAction>
#include <QCoreApplication>
#include <QScrollArea>

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
