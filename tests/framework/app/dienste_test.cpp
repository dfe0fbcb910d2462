#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "tests/support/skriptinteraktion.h"
#include "tests/support/demokette.h"

#include "framework/core/fehler.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class DiensteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDemoParameter p;
        p.Artikel = 20;
        p.Filialen = 2;
        p.Heute = QDate(2026, 12, 8);
        FDb = DemoKette(p);
        KALMET_REQUIRE_DB(*FDb);
        ORVProgramm().Init("KALMET", 3, 0, 0, true);
        ORVProgramm().SetBenutzer("lager");
        ORVInfo().RegisterLeeren();
    }
    int Protokollzeilen(const QString& teil)
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare("SELECT COUNT(*) FROM protokoll WHERE text LIKE ?");
        q.addBindValue("%" + teil + "%");
        EXPECT_TRUE(q.exec() && q.next());
        return q.value(0).toInt();
    }
    std::unique_ptr<TTestDb> FDb;
    TSkriptInteraktion interaktion;
};

}

TEST_F(DiensteTest, CatalogueMessagesAndQuestions)
{
    EXPECT_EQ(ORVInfo().ShowMeldung(maInfo, {}, nullptr, "KALMET", 1000), maOK);
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.startsWith("Es ist keine Inventur markiert"));
    interaktion.Antworten = {maNein};
    EXPECT_EQ(ORVInfo().ShowMeldung(maFrageJaNein, {}, nullptr, "KALMET", 1002), maNein);
    EXPECT_EQ(ORVInfo().ShowMeldung(maFrageJaNein, {}, nullptr, "KALMET", 1002), maJa);
    ORVInfo().ShowMeldung(maInfo, {}, nullptr, "KALMET", 4242);
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("fehlt im Meldungskatalog"));

    int gewaehlt = -1;
    interaktion.FrageAntworten = {1};
    EXPECT_TRUE(FrageDlgExecute(TInfoKoord("ZOLMIK", 1002), {TFrageDlg_Antwort::Construct("a", 0), TFrageDlg_Antwort::Construct("b", 1)},
                                gewaehlt));
    EXPECT_EQ(gewaehlt, 1);
    EXPECT_FALSE(FrageDlgExecute(TInfoKoord("ZOLMIK", 1002), {}, gewaehlt));
}

TEST_F(DiensteTest, RightsAreCheckedAgainstTheDatabaseAndTold)
{
    EXPECT_TRUE(UserRechtePruefen("pz{", 2, "", 1, false, 0));
    EXPECT_TRUE(interaktion.Gezeigt.empty());
    EXPECT_FALSE(UserRechtePruefen("pz|", 2, "", 1, false, 0));
    ASSERT_EQ(interaktion.Gezeigt.size(), 1u);
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("lager"));
    EXPECT_EQ(ORVProgramm().GetTextMandant(), "Schuhhaus Nord GmbH");
    EXPECT_EQ(ORVProgramm().GetRTyp(), 1);
    EXPECT_EQ(ORVParameter().GetStringValueByName("REGANR"), "J");
    EXPECT_EQ(ORVParameter().GetStringValueByName("GIBTESNICHT"), "");
}

TEST_F(DiensteTest, AUserMissingFromTheUserTableHasNoRights)
{
    TTestDb::Exec("INSERT INTO benutzerrecht (benutzer, recht) VALUES ('niemand', 'pz{')");
    ORVProgramm().SetBenutzer("niemand");
    EXPECT_FALSE(UserRechtePruefen("pz{", 2, "", 1, false, 0));
    ASSERT_EQ(interaktion.Gezeigt.size(), 1u);
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("nicht eingetragen"));
    ORVProgramm().SetBenutzer("");
    EXPECT_FALSE(UserRechtePruefen("pz{", 2, "", 1, false, 0));
}

// On the server the program works for the authenticated role only; on a SQLite file the
// requested user stands, else the operating-system user.
TEST_F(DiensteTest, TheProgramUserFollowsTheDatabaseLogin)
{
    if (FDb->Typ() == TConnectorTyp::SQLite) {
        EXPECT_EQ(ProgrammBenutzerBestimmen(""), BetriebssystemBenutzer());
        EXPECT_EQ(ProgrammBenutzerBestimmen("kasse"), "kasse");
        return;
    }
    const QString rolle = FDb->Url().User;
    ASSERT_FALSE(rolle.isEmpty());
    EXPECT_EQ(ProgrammBenutzerBestimmen(""), rolle);
    EXPECT_EQ(ProgrammBenutzerBestimmen(rolle), rolle);
    try {
        ProgrammBenutzerBestimmen("demo");
        FAIL() << "another user than the login is refused";
    } catch (const EORVFehler& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(rolle));
    }
}

TEST_F(DiensteTest, ExceptionsAreRegisteredProtocolledAndCollectedPerLocation)
{
    ORVGuard("Ort.A", [] { throw std::runtime_error("kaputt"); }, false);
    ORVGuard("Ort.A", [] { throw std::runtime_error("nochmal"); }, true);
    EXPECT_TRUE(ORVInfo().Registriert("Ort.A"));
    EXPECT_EQ(interaktion.Gezeigt.size(), 1u) << "only the registration with show set is shown";
    EXPECT_EQ(Protokollzeilen("Ort.A: kaputt"), 1);
    try {
        ORVInfo().FehlerRaise("Ort.A");
        FAIL();
    } catch (const EORVFehler& e) {
        EXPECT_EQ(e.Texts(), (QStringList{"kaputt", "nochmal"}));
    }
    EXPECT_NO_THROW(ORVInfo().FehlerRaise("Ort.A")) << "raising ends what was collected";
    ORVGuard("Ort.B", [] { throw std::runtime_error("x"); }, false);
    ORVInfo().FehlerCheckpoint("Ort.B", 0);
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("x"));
    ORVInfo().FehlerTerminate("Ort.B");

    // from a worker thread: registered there, shown on this thread
    QThread* t = QThread::create([] { ORVGuard("Ort.Thread", [] { throw std::runtime_error("im Thread"); }); });
    t->start();
    t->wait();
    delete t;
    EXPECT_TRUE(ORVInfo().Registriert("Ort.Thread"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(interaktion.Gezeigt.back().Text.contains("im Thread"));
}
