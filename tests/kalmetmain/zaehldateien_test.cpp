// Count files of hand-held scanners in the window: imported when the window opens and on
// demand from the menu, with the result told and the counted values in the overview.
#include "framework/app/interaktion.h"
#include "kalmetmain/uebersicht_logik.h"
#include "tests/kalmetmain/fenster.h"
#include "tests/support/buchungskette.h"
#include "tests/support/zaehlkette.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Zaehl;

namespace {

class ZaehldateienTest : public FensterTest {
protected:
    // The overview's counted value of the inventory's row.
    double IstEK(const TZeileAnzeige& inv)
    {
        for (int n : Zeilen()) {
            TZeileAnzeige z;
            FFenster->Zeile_2_Record(n, z);
            if (z.ZaehlDatum == inv.ZaehlDatum && z.WGN == inv.WGN && z.Filiale == inv.Filiale)
                return FFenster->vrInvList->VRList()->Wert(n, usIstEK).toDouble();
        }
        ADD_FAILURE() << "no row for the inventory";
        return 0;
    }
    static double IstEKGespeichert(const TZeileAnzeige& inv)
    {
        return Kette::Wert(QString("SELECT istek FROM ia WHERE zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
                               .arg(TDatumTraits::ToSql(inv.ZaehlDatum).first().toString(), inv.WGN == "*" ? "" : inv.WGN)
                               .arg(inv.Filiale))
            .toDouble();
    }

    QTemporaryDir FOrdner;
};

}

TEST_F(ZaehldateienTest, ImportedAtCreationAndFromTheMenuWithTheResultShown)
{
    Sql(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_MDE', '%1')").arg(FOrdner.path()));
    const TZeileAnzeige inv = Kette::OffeneInventuren().front().Zeile;
    const std::vector<TBarcode> codes = Barcodes(inv);
    const double vorher = IstEKGespeichert(inv);
    DateiSchreiben(FOrdner.filePath("start.mde"), Datei(inv, 31, {{codes[0].Ean, 2}}));

    TfrmKalmetMain& f = Fenster();
    EXPECT_GT(IstEKGespeichert(inv), vorher) << "imported when the window opened";
    EXPECT_DOUBLE_EQ(IstEK(inv), IstEKGespeichert(inv)) << "and shown";
    QTRY_COMPARE(FInteraktion.Gezeigt.size(), size_t(1));   // the window tells what it imported, once it is up
    EXPECT_EQ(FInteraktion.Gezeigt[0].Titel, "Zähldateien beim Start eingelesen");
    EXPECT_EQ(FInteraktion.Gezeigt[0].Text, "1 Zähldatei eingelesen, 2 Stück.");

    // the menu entry: six files, one of them bad
    bool imMenu = false;
    for (QAction* m : f.mnuMain->actions())
        for (QAction* a : m->menu()->actions())
            imMenu |= a == f.actZaehldateien && a->text() == "Zähldateien einlesen";
    EXPECT_TRUE(imMenu);
    for (int i = 0; i < 5; ++i)
        DateiSchreiben(FOrdner.filePath(QString("r%1.mde").arg(i)), Datei(inv, 40 + i, {{codes[i % codes.size()].Ean, 1}}));
    DateiSchreiben(FOrdner.filePath("schlecht.mde"), Datei(inv, 50, {{"4006381333932", 1}}));
    const double mitte = IstEKGespeichert(inv);
    f.actZaehldateien->trigger();
    ASSERT_FALSE(FInteraktion.Gezeigt.empty());
    const TSkriptInteraktion::TGezeigt& g = FInteraktion.Gezeigt.back();
    EXPECT_EQ(g.Titel, "Zähldateien einlesen");
    EXPECT_TRUE(g.Text.startsWith("5 Zähldateien eingelesen, 5 Stück.") && g.Text.contains("schlecht.mde, Zeile 5: 4006381333932"))
        << qPrintable(g.Text);
    EXPECT_GT(IstEKGespeichert(inv), mitte);
    EXPECT_DOUBLE_EQ(IstEK(inv), IstEKGespeichert(inv)) << "the overview shows the new counted value";
    EXPECT_TRUE(f.actZaehldateien->isEnabled() && f.actDrucken->isEnabled());

    f.actZaehldateien->trigger();
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("keine Zähldateien")) << qPrintable(FInteraktion.Gezeigt.back().Text);
}

TEST_F(ZaehldateienTest, AFailingImportLeavesTheWindowToOpen)
{
    // the work folder cannot be made: a file has its name
    Sql(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_MDE', '%1')").arg(FOrdner.path()));
    DateiSchreiben(FOrdner.filePath("arbeit"), "kein Ordner");
    const QByteArray inhalt = Datei(Kette::OffeneInventuren().front().Zeile, 1, {});
    DateiSchreiben(FOrdner.filePath("a.mde"), inhalt);
    TfrmKalmetMain& f = Fenster();
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FormCreate"));
    EXPECT_FALSE(Zeilen().empty()) << "the overview is filled";
    EXPECT_TRUE(f.Inventurliste());
    EXPECT_EQ(DateiLesen(FOrdner.filePath("a.mde")), inhalt) << "the file stays waiting";
    QTRY_VERIFY(FInteraktion.Enthaelt("nicht alle eingelesen"));   // and the user is told
}
