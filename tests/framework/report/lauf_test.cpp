#include "framework/core/fehler.h"
#include "framework/report/lauf.h"
#include "tests/framework/report/berichtdaten.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// Group headers kept with the next band, sums and counts per group and report, related rows
// under their main row, page header and footer with page n of m.
const char* const CBaender = R"X(
<seitenkopf hoehe="10">
  <feld x="0" y="0" b="100" h="5" ausdruck='titel() + " " + Param_Kopf + Param_Fehlt'/>
  <feld x="100" y="0" b="90" h="5" ausdruck='"Seite " + seite() + " von " + seiten()' ausrichtung="rechts"/>
  <linie x="0" y="6" b="190"/>
</seitenkopf>
<gruppe ausdruck="H.Gruppe">
  <kopf hoehe="8" mit-naechstem="ja"><feld x="0" y="0" b="50" h="5" ausdruck='"Gruppe " + H.Gruppe' fett="ja"/></kopf>
  <fuss hoehe="8">
    <feld x="0" y="0" b="50" h="5" ausdruck='"Summe " + H.Gruppe + ": " + anzahl() + " Zeilen"'/>
    <feld x="100" y="0" b="40" h="5" ausdruck="summe(H.Wert)" format="betrag" ausrichtung="rechts"/>
  </fuss>
</gruppe>
<detail hoehe="50">
  <feld x="0" y="0" b="20" h="5" ausdruck="H.Nr"/>
  <feld x="100" y="0" b="40" h="5" ausdruck="H.Wert" format="betrag" ausrichtung="rechts"/>
  <feld x="150" y="0" b="40" h="5" ausdruck="H.Datum" null-unterdruecken="ja"/>
</detail>
<unterband hoehe="6" tabelle="N" verbindung="Nr"><feld x="10" y="0" b="50" h="5" ausdruck='"Regal " + N.Regal'/></unterband>
<seitenfuss hoehe="8"><rahmen x="0" y="0" b="190" h="6" staerke="0.1"/></seitenfuss>
<berichtsfuss hoehe="10">
  <feld x="0" y="0" b="80" h="5" ausdruck='"Gesamt " + anzahl() + ", kleinster " + min(H.Wert) + ", größter " + max(H.Wert)'/>
  <feld x="100" y="0" b="40" h="5" ausdruck="summe(H.Wert)" format="betrag" ausrichtung="rechts"/>
</berichtsfuss>
)X";

TReportEinstellungen Einstellungen()
{
    TReportEinstellungen e;
    e.titel = "Probe";
    e.parameter["Param_Kopf"] = "K";
    return e;
}

QString AllePlaene(TReportLauf& lauf)
{
    QString t;
    for (int s = 1; s <= lauf.Seitenanzahl(); ++s)
        t += SeitePlanText(lauf.Seite(s));
    return t;
}

void MitGolden(const QString& name, const QString& ist)
{
    const QString pfad = QStringLiteral(KALMET_TEST_DIR "/") + name;
    QFile f(pfad);
    if (qEnvironmentVariableIsSet("KALMET_GOLDEN_SCHREIBEN")) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ist.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(pfad);
    EXPECT_EQ(ist.toStdString(), QString::fromUtf8(f.readAll()).toStdString());
}

QString Fehler(const TBerichtDaten& d, const QString& baender, TReportEinstellungen e = {})
{
    try {
        TReportLauf lauf(VorlageLesen(d.Vorlage(baender)), d.Tabellen(), std::move(e));
    } catch (const EORVFehler& f) {
        return f.Texts().join(" ");
    }
    return {};
}

}

TEST(LaufTest, PagePlansWithGroupsSumsRelatedRowsAndOverflow)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CBaender)), d.Tabellen(), Einstellungen());
    ASSERT_EQ(lauf.Seitenanzahl(), 2);
    MitGolden("plan_golden.txt", AllePlaene(lauf));
    // any page laid out again alone is the same page
    EXPECT_EQ(SeitePlanText(lauf.Seite(2)), SeitePlanText(lauf.Seite(2)));
    const QString seite2 = SeitePlanText(lauf.Seite(2));
    EXPECT_TRUE(seite2.contains("\"Gruppe C\"")) << "the header moved with its first row";
    EXPECT_TRUE(seite2.contains("\"Summe C: 1 Zeilen\""));
    EXPECT_TRUE(seite2.contains("\"1.263,92\"")) << "report sum 1263.925, half to even";
    EXPECT_TRUE(seite2.contains("\"Gesamt 5, kleinster -4,00, größter 1.234,50\""));
}

TEST(LaufTest, BreaksBeforeGroupsAndEndsOnBandsTallerThanThePage)
{
    TBerichtDaten d;
    QString b = CBaender;
    b.replace("<gruppe ausdruck=\"H.Gruppe\">", "<gruppe ausdruck=\"H.Gruppe\" umbruch-vor=\"ja\">");
    TReportLauf umbruch(VorlageLesen(d.Vorlage(b)), d.Tabellen(), Einstellungen());
    EXPECT_EQ(umbruch.Seitenanzahl(), 3);
    EXPECT_TRUE(SeitePlanText(umbruch.Seite(3)).contains("\"Gruppe C\""));

    b = CBaender;
    b.replace("<detail hoehe=\"50\">", "<detail hoehe=\"400\">");
    TReportLauf hoch(VorlageLesen(d.Vorlage(b)), d.Tabellen(), Einstellungen());
    // each such row goes on a page of its own, cut at the page's end, and the list still ends
    EXPECT_TRUE(SeitePlanText(hoch.Seite(hoch.Seitenanzahl())).contains("Gesamt 5"));

    TReportLauf sortiert(VorlageLesen(d.Vorlage("<sortierung ausdruck=\"0 - H.Wert\"/>" + QString(CBaender))), d.Tabellen(), Einstellungen());
    EXPECT_EQ(sortiert.ExportWert(0, 1).zahl, 5);   // the largest value first
    EXPECT_EQ(sortiert.ExportWert(4, 1).zahl, 4);
}

TEST(LaufTest, GrowingTextsMakeTheirBandTaller)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(
                         "<detail hoehe=\"5\"><feld x=\"0\" y=\"1\" b=\"20\" h=\"4\" wachsen=\"ja\" "
                         "ausdruck='\"Ein sehr langer Text, der in zwanzig Millimetern nicht Platz hat \" + H.Nr'/></detail>"
                         "<detail hoehe=\"5\"><text x=\"0\" y=\"0\" b=\"20\" h=\"4\">danach</text></detail>")),
                     d.Tabellen(), {});
    const TSeite s = lauf.Seite(1);
    ASSERT_GE(s.elemente.size(), 2u);
    EXPECT_GT(s.elemente[0].rect.height(), 12);
    EXPECT_GT(s.elemente[1].rect.y(), s.elemente[0].rect.bottom() - 0.01);
}

TEST(LaufTest, FaultsNameTemplateBandAndColumn)
{
    TBerichtDaten d;
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"><feld x=\"0\" y=\"0\" b=\"1\" h=\"1\" ausdruck=\"H.Fehlt\"/></detail>"),
              "Vorlage test.rpt, Detail (Zeile 3): die Spalte H.Fehlt gibt es nicht");
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"><feld x=\"0\" y=\"0\" b=\"1\" h=\"1\" ausdruck=\"N.Regal\"/></detail>"),
              "Vorlage test.rpt, Detail (Zeile 3): die Tabelle der Spalte N.Regal ist hier nicht verfügbar");
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"><feld x=\"0\" y=\"0\" b=\"1\" h=\"1\" ausdruck=\"summe(H.Wert)\"/></detail>"),
              "Vorlage test.rpt, Detail (Zeile 3): summe() nur in Gruppen-, Berichts- und Seitenfüßen");
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"/><unterband hoehe=\"5\" tabelle=\"X\" verbindung=\"Nr\"/>"),
              "Vorlage test.rpt, Unterband (Zeile 3): die Tabelle X wurde nicht übergeben");
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"/><unterband hoehe=\"5\" tabelle=\"N\" verbindung=\"Gruppe\"/>"),
              "Vorlage test.rpt, Unterband (Zeile 3): Gruppe ist keine ganzzahlige Spalte beider Tabellen");
    TReportEinstellungen bild;
    bild.bilder["Bild1"] = {"H", "Fehlt"};
    EXPECT_EQ(Fehler(d, "<detail hoehe=\"5\"><bild x=\"0\" y=\"0\" b=\"5\" h=\"5\" name=\"Bild1\"/></detail>", bild),
              "Vorlage test.rpt, Detail (Zeile 3): das Bild Bild1 ist mit H.Fehlt verbunden, die es nicht gibt");
}

TEST(LaufTest, AnEmptyTablePrintsHeaderAndReportFooter)
{
    TBerichtDaten d;
    TDbf leer(d.Pfad("leer.dbf"), {DbfText("Gruppe", 10), DbfInteger("Nr"), DbfDouble("Wert"), DbfDatum("Datum")});
    leer.Schliessen();
    auto tabellen = d.Tabellen();
    tabellen["H"] = d.Pfad("leer.dbf");
    TReportLauf lauf(VorlageLesen(d.Vorlage(CBaender)), tabellen, Einstellungen());
    ASSERT_EQ(lauf.Seitenanzahl(), 1);
    EXPECT_TRUE(SeitePlanText(lauf.Seite(1)).contains("\"Gesamt 0, kleinster , größter \""));
}

TEST(LaufTest, APageLaidOutAloneEqualsThePageInSequence)
{
    TBerichtDaten d;
    TDbf gross(d.Pfad("gross.dbf"), {DbfText("Gruppe", 10), DbfInteger("Nr"), DbfDouble("Wert"), DbfDatum("Datum")});
    for (int i = 0; i < 300; ++i)
        gross.Anfuegen({QString("G%1").arg(i / 7), i, i * 1.25, QDate(2026, 1, 1).addDays(i)});
    gross.Schliessen();
    auto tabellen = d.Tabellen();
    tabellen["H"] = d.Pfad("gross.dbf");
    TReportLauf folge(VorlageLesen(d.Vorlage(CBaender)), tabellen, Einstellungen());
    ASSERT_GT(folge.Seitenanzahl(), 64);   // more pages than two kept states apart
    std::vector<QString> nacheinander;
    for (int s = 1; s <= folge.Seitenanzahl(); ++s)
        nacheinander.push_back(SeitePlanText(folge.Seite(s)));
    TReportLauf einzeln(VorlageLesen(d.Vorlage(CBaender)), tabellen, Einstellungen());
    for (int s : {65, 33, 34, 1, 64, folge.Seitenanzahl() - 1, 2})
        EXPECT_EQ(SeitePlanText(einzeln.Seite(s)), nacheinander[s - 1]) << "page " << s;
    EXPECT_TRUE(nacheinander.back().contains("Gesamt 300"));
}

// A long list loads the pictures of many rows in one call; every row still shows its own, a
// row without a picture shows none and is not asked for again, and a page laid out out of
// order finds its pictures too.
TEST(LaufTest, PicturesOfManyRowsLoadInOneCall)
{
    TBerichtDaten d;
    constexpr int n = 1200;
    TDbf h(d.Pfad("lang.dbf"), {DbfText("Gruppe", 10)}, {2026, 1, 1});
    for (int i = 0; i < n; ++i)
        h.Anfuegen({QString("P%1").arg(i % 700)});
    h.Schliessen();
    TReportEinstellungen e;
    e.bilder["Bild1"] = {"H", "Gruppe"};
    int ladungen = 0;
    e.bilderLaden = [&ladungen](const QStringList& werte) {
        ++ladungen;
        QHash<QString, QByteArray> bilder;
        for (const QString& w : werte)
            if (w != "P7")
                bilder.insert(w, "Bild " + w.toUtf8());
        return bilder;
    };
    TReportLauf lauf(VorlageLesen(d.Vorlage(R"(<detail hoehe="5"><bild x="0" y="0" b="5" h="5" name="Bild1"/></detail>)")),
                     {{"H", d.Pfad("lang.dbf")}}, e);
    const auto bilderDerSeite = [&](int nr) {
        int anzahl = 0;
        for (const TPlanElement& b : lauf.Seite(nr).elemente) {
            EXPECT_EQ(b.bild, "Bild " + b.text.toUtf8());
            ++anzahl;
        }
        return anzahl;
    };
    int gezeichnet = 0;
    for (int s = 1; s <= lauf.Seitenanzahl(); ++s)
        gezeichnet += bilderDerSeite(s);
    EXPECT_EQ(gezeichnet, n - 2);   // rows 7 and 707 have none
    EXPECT_EQ(ladungen, 3);         // rows 0, 500 and 1000 start a load
    EXPECT_GT(bilderDerSeite(lauf.Seitenanzahl() / 2), 0);
    EXPECT_GT(bilderDerSeite(1), 0);
}
