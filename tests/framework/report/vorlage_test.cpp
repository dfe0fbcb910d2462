#include "framework/core/fehler.h"
#include "framework/report/vorlage.h"
#include "tests/framework/report/berichtdaten.h"

#include <gtest/gtest.h>

namespace {

QString Fehler(const QString& pfad)
{
    try {
        VorlageLesen(pfad);
    } catch (const EORVFehler& e) {
        return e.Texts().join(" ");
    }
    return {};
}

}

TEST(VorlageTest, FaultsNameFileAndLine)
{
    TBerichtDaten d;
    EXPECT_TRUE(Fehler(d.Pfad("fehlt.rpt")).contains("kann nicht gelesen werden")) << qPrintable(Fehler(d.Pfad("fehlt.rpt")));
    EXPECT_EQ(Fehler(d.Vorlage("<detail hoehe=\"5\">\n<kreis x=\"1\"/>\n</detail>")), "Vorlage test.rpt, Zeile 4: unbekanntes Element <kreis>");
    EXPECT_EQ(Fehler(d.Vorlage("<detail hoehe=\"5\" farbe=\"rot\"/>")), "Vorlage test.rpt, Zeile 3: unbekanntes Attribut „farbe“ an <detail>");
    EXPECT_EQ(Fehler(d.Vorlage("<detail hoehe=\"fünf\"/>")), "Vorlage test.rpt, Zeile 3: „fünf“ in „hoehe“ ist keine Zahl");
    EXPECT_EQ(Fehler(d.Vorlage("<detail hoehe=\"5\"><feld x=\"0\" y=\"0\" b=\"1\" h=\"1\"/></detail>")),
              "Vorlage test.rpt, Zeile 3: <feld> braucht das Attribut „ausdruck“");
    EXPECT_TRUE(Fehler(d.Vorlage("<detail hoehe=\"5\"><feld x=\"0\" y=\"0\" b=\"1\" h=\"1\" ausdruck=\"1 +\"/></detail>"))
                    .startsWith("Vorlage test.rpt, Zeile 3: Ausdruck „1 +“"));
    const QString kaputt = Fehler(d.Vorlage("<detail hoehe=\"5\">"));   // malformed XML
    EXPECT_TRUE(kaputt.startsWith("Vorlage test.rpt, Zeile 4:")) << qPrintable(kaputt);
    EXPECT_EQ(Fehler(d.Vorlage("<seitenkopf hoehe=\"5\"/>")), "Vorlage test.rpt, Zeile 2: die Vorlage braucht mindestens ein <detail>");
    EXPECT_EQ(Fehler(d.Vorlage("<detail hoehe=\"5\"/><seitenfuss hoehe=\"1\"/><seitenfuss hoehe=\"1\"/>")),
              "Vorlage test.rpt, Zeile 3: <seitenfuss> darf nur einmal vorkommen");
}

TEST(VorlageTest, RowsOfElementsAreExpandedWithTheirIndex)
{
    TBerichtDaten d;
    const TVorlage v = VorlageLesen(d.Vorlage(
        "<detail hoehe=\"5\"><reihe anzahl=\"3\" dx=\"7.5\"><feld x=\"10\" y=\"1\" b=\"7\" h=\"4\" ausdruck=\"H.Soll_{i} + {n}\"/>"
        "<text x=\"10\" y=\"0\" b=\"7\" h=\"1\">Gr. {n}</text></reihe></detail>",
        "ausrichtung=\"quer\" papier=\"A3\""));
    ASSERT_EQ(v.details.size(), 1u);
    const auto& e = v.details[0].elemente;
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[2].ausdruck->kinder[0]->name, "H.Soll_01");
    EXPECT_EQ(e[2].ausdruck->kinder[1]->wert.zahl, 1);
    EXPECT_DOUBLE_EQ(e[4].x, 25);
    EXPECT_EQ(e[5].text, "Gr. 2");
    EXPECT_DOUBLE_EQ(v.SeitenGroesse().width(), 420);
}
