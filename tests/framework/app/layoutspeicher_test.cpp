// The print layouts shared by every terminal, dates as users type them, and the folders of
// the installation.
#include "framework/app/datumtext.h"
#include "framework/app/layoutspeicher.h"
#include "framework/app/ordner.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "tests/support/skriptinteraktion.h"
#include "tests/support/testdb.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LayoutSpeicherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KALMET_REQUIRE_DB(FDb);
        ORVProgramm().SetBenutzer("kasse1");
    }
    static const TLayoutSatz* Suchen(const std::vector<TLayoutSatz>& l, const QString& report)
    {
        for (const TLayoutSatz& s : l)
            if (s.Report == report)
                return &s;
        return nullptr;
    }
    TTestDb FDb;
};

}

TEST_F(LayoutSpeicherTest, TheTwelveLayoutsOfTheInventoryEvaluationComeWithTheDatabase)
{
    const std::vector<TLayoutSatz> l = TLayoutSpeicher::Lesen("KALMET", {"kalme"});
    ASSERT_EQ(l.size(), 12u);
    for (int i = 1; i <= 12; ++i) {
        const TLayoutSatz* s = Suchen(l, QString("kalme%1.rpt").arg(i, 3, 10, QChar('0')));
        ASSERT_TRUE(s) << i;
        EXPECT_FALSE(s->Titel.isEmpty());
        EXPECT_EQ(TLayoutSpeicher::Pruefen(*s, {}), "") << i;
        EXPECT_TRUE(s->Optionen.contains("LinkerRand=15")) << i;
    }
    EXPECT_EQ(std::count_if(l.begin(), l.end(), [](const TLayoutSatz& s) { return s.Standard; }), 1);
    EXPECT_TRUE(Suchen(l, "kalme004.rpt")->Optionen.contains("RegalMengen=J"));
    const TLayoutSatz* netto = Suchen(l, "kalme009.rpt");
    EXPECT_TRUE(netto->Optionen.contains("Gegenrechnen=J") && netto->Optionen.contains("Listentyp=Filueber"));
    EXPECT_TRUE(netto->Parameter.contains("MinDiff=1"));
    EXPECT_TRUE(std::any_of(l.begin(), l.end(), [](const TLayoutSatz& s) { return s.Optionen.contains("KVK=J"); }));
    const TLayoutSatz* nachzaehlen = Suchen(l, "kalme011.rpt");
    EXPECT_EQ(nachzaehlen->Titel, "Nachzählliste");
    EXPECT_TRUE(nachzaehlen->Optionen.contains("RegalMengen=J") && nachzaehlen->Parameter.contains("NachzaehlenAbStueck=4"));
    EXPECT_EQ(Suchen(l, "kalme012.rpt")->Titel, "Zählliste");
    // prefixes ignore case; other prefixes and modules see nothing
    EXPECT_EQ(TLayoutSpeicher::Lesen("KALMET", {"KALME0"}).size(), 12u);
    EXPECT_TRUE(TLayoutSpeicher::Lesen("KALMET", {"abc"}).empty());
    EXPECT_TRUE(TLayoutSpeicher::Lesen("ANDERS", {}).empty());
}

TEST_F(LayoutSpeicherTest, ChangesAreStoredTogetherAndALaterSaveDoesNotOverwriteAnother)
{
    std::vector<TLayoutSatz> a = TLayoutSpeicher::Lesen("KALMET", {"kalme"});
    const std::vector<TLayoutSatz> b = TLayoutSpeicher::Lesen("KALMET", {"kalme"});   // a second terminal
    TLayoutSatz neu = a[2];
    neu.Id = 0;
    neu.Titel = "Kopie";
    a[0].Titel = "Umbenannt";
    a[0].Parameter << "Extra=1";
    TLayoutSpeicher::Speichern("KALMET", {a[0], neu}, {a[1]});
    std::vector<TLayoutSatz> jetzt = TLayoutSpeicher::Lesen("KALMET", {"kalme"});
    ASSERT_EQ(jetzt.size(), 12u);
    const auto it = std::find_if(jetzt.begin(), jetzt.end(), [](const TLayoutSatz& s) { return s.Titel == "Umbenannt"; });
    ASSERT_NE(it, jetzt.end());
    EXPECT_EQ(it->Parameter.last(), "Extra=1");
    EXPECT_EQ(it->Benutzer, "kasse1");

    // the other terminal saves a layout the first one changed: refused, naming that change,
    // and its other changes in the same save are not stored either
    TLayoutSatz b0 = b[0], b3 = b[3];
    b0.Titel = "Zweiter";
    b3.Titel = "Auch geändert";
    try {
        TLayoutSpeicher::Speichern("KALMET", {b3, b0}, {});
        ADD_FAILURE() << "overwrote another terminal's change";
    } catch (const EORVFehler& e) {
        EXPECT_TRUE(e.Texts().join(" ").contains("kasse1")) << e.what();
    }
    EXPECT_THROW(TLayoutSpeicher::Speichern("KALMET", {b[1]}, {}), EORVFehler) << "deleted meanwhile";
    jetzt = TLayoutSpeicher::Lesen("KALMET", {"kalme"});
    EXPECT_TRUE(std::none_of(jetzt.begin(), jetzt.end(), [](const TLayoutSatz& s) { return s.Titel == "Auch geändert"; }));
    // a title twice in a module is refused
    TLayoutSatz doppelt = jetzt[4];
    doppelt.Id = 0;
    EXPECT_THROW(TLayoutSpeicher::Speichern("KALMET", {doppelt}, {}), EORVFehler);
}

TEST(LayoutPruefung, NamesTheFaultyLine)
{
    TLayoutSatz l;
    l.Titel = "Liste";
    l.Report = "kalme003.rpt";
    l.Optionen = {"LinkerRand=2,5", "KVK=J"};
    l.Parameter = {"MinDiff=1"};
    EXPECT_EQ(TLayoutSpeicher::Pruefen(l, {}), "");
    EXPECT_EQ(TLayoutSpeicher::Pruefen(l, {"KALME003.RPT"}), "");
    EXPECT_TRUE(TLayoutSpeicher::Pruefen(l, {"kalme001.rpt"}).contains("kalme003.rpt"));
    const auto fehler = [&](QStringList optionen) {
        TLayoutSatz k = l;
        k.Optionen = optionen;
        return TLayoutSpeicher::Pruefen(k, {});
    };
    EXPECT_TRUE(fehler({"KVK=J", "RegalMengen"}).contains("Zeile 2 \"RegalMengen\""));
    EXPECT_TRUE(fehler({"=J"}).contains("Name fehlt"));
    EXPECT_TRUE(fehler({"KVK=J", "KVK=N"}).contains("früheren Zeile"));
    EXPECT_TRUE(fehler({"ObererRand=zehn"}).contains("keine Zahl"));
    l.Titel = " ";
    EXPECT_FALSE(TLayoutSpeicher::Pruefen(l, {}).isEmpty());
}

TEST(DatumText, TypedDatesWithinTheirBounds)
{
    TSkriptInteraktion interaktion;
    EXPECT_EQ(orv_StrToDate("15.03.2025"), EncodeDate(2025, 3, 15));
    EXPECT_EQ(orv_StrToDate("1.2.25"), EncodeDate(2025, 2, 1));
    EXPECT_EQ(orv_StrToDate("010225"), EncodeDate(2025, 2, 1));
    EXPECT_EQ(orv_StrToDate(" 01022025 "), EncodeDate(2025, 2, 1));
    EXPECT_THROW(orv_StrToDate("31.02.2025"), EORVFehler);
    EXPECT_THROW(orv_StrToDate("gestern"), EORVFehler);

    const TDateTime zaehl = EncodeDate(2025, 3, 15);
    EXPECT_TRUE(orv_TestDatumString("15.03.2025", 0, zaehl, "edtAuswertungsdatum"));
    EXPECT_TRUE(orv_TestDatumString("1.1.00", 0, zaehl, "edtAuswertungsdatum"));
    EXPECT_TRUE(interaktion.Gezeigt.empty());
    EXPECT_FALSE(orv_TestDatumString("16.03.2025", 0, zaehl, "edtAuswertungsdatum"));
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("15.03.2025"));
    EXPECT_FALSE(orv_TestDatumString("28.02.2025", EncodeDate(2025, 3, 1), zaehl, "edtAuswertungsdatum"));
    EXPECT_FALSE(orv_TestDatumString("32.01.2025", 0, 0, "edtAuswertungsdatum"));
    EXPECT_EQ(interaktion.Gezeigt.size(), 3u);
}

TEST_F(LayoutSpeicherTest, FoldersComeFromTheirParameterOrTheInstallation)
{
    EXPECT_TRUE(GetDirWwsByName(19, "kalme001.rpt", false).endsWith("/reports/kalme001.rpt"));
    QTemporaryDir dir;
    const QString listen = dir.filePath("export/listen");
    TTestDb::Exec(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_LISTEN', '%1')").arg(listen));
    EXPECT_EQ(GetDirWwsByName("Listen", "a.pdf", true), listen + "/a.pdf");
    EXPECT_TRUE(QDir(listen).exists());
}
