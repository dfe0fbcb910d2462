// Statements that lose rows or their connection fail the work instead of letting it go on:
// a second statement on a connection cuts the rows of the first, and a session the server
// ends fails every use until the connections are opened anew. PostgreSQL only: a SQLite file
// reads each statement apart and has no session to lose.
#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/pqanweisung.h"
#include "framework/db/produktblock.h"
#include "framework/db/transaktion.h"
#include "tests/support/sqlwarnungen.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString CEinfuegen = "INSERT INTO parameter (name, wert) VALUES (?, ?)";
const QString CReihe = "SELECT generate_series(1, 500)";

int Parameter(const QString& name)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren("Test", "SELECT count(*) FROM parameter WHERE name = ?", {name});
    return q.next() ? q.value(0).toInt() : -1;
}

// Ends the calling thread's session from another connection, as an administrator or a server
// restart does, and waits until it is gone.
void SitzungBeenden()
{
    QString pid;
    TZEP_Connection::Lesen("Test", "SELECT pg_backend_pid()", {}, [&pid](const QSqlQuery& q) { pid = q.value(0).toString(); });
    {
        QSqlQuery q(TZEP_Connection::Oeffnen(TZEP_Connection::Url(), "verwalter"));
        ASSERT_TRUE(q.exec("SELECT pg_terminate_backend(" + pid + ")"));
        for (int i = 0; i < 500 && q.exec("SELECT 1 FROM pg_stat_activity WHERE pid = " + pid) && q.next(); ++i)
            QThread::msleep(10);
    }
    TZEP_Connection::Schliessen("verwalter");
}

class VerbindungTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KALMET_REQUIRE_DB(FDb);
        if (FDb.Typ() != TConnectorTyp::PostgreSQL)
            GTEST_SKIP() << "a SQLite file reads each statement apart and has no session to lose";
    }
    TTestDb FDb;
};

}

TEST_F(VerbindungTest, ASecondStatementFailsTheReadItCutInsteadOfShorteningIt)
{
    const TSqlWarnungErwartet erwartet;
    // a kept read whose rows run another statement
    int zeilen = 0;
    EXPECT_THROW(TZEP_Connection::Wiederholen("Test", CReihe, {},
                                              [&](const QSqlQuery&) {
                                                  ++zeilen;
                                                  TZEP_Connection::Ausfuehren("Test", "SELECT 1");
                                              }),
                 EORVFehler);
    EXPECT_LT(zeilen, 500);
    // a read its caller walks, cut inside a transaction: the commit fails and keeps nothing
    {
        TTransaktion t("Test");
        TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"});
        QSqlQuery gelesen = TZEP_Connection::Ausfuehren("Test", CReihe);
        ASSERT_TRUE(gelesen.next());
        TZEP_Connection::Ausfuehren("Test", "SELECT 1");
        while (gelesen.next()) {
        }
        EXPECT_THROW(t.Commit(), EORVFehler);
    }
    EXPECT_EQ(Parameter("A"), 0);
    EXPECT_FALSE(TZEP_Connection::Verloren()) << "rows lost are no lost connection";
    // told once: the connection takes the next work
    TZEP_Connection::Wiederholen("Test", CEinfuegen, {"B", "2"});
    EXPECT_EQ(Parameter("B"), 1);
}

TEST_F(VerbindungTest, AReadPastTheDriverNeitherCutsAnotherReadNorTakesAMistakeForALoss)
{
    TPqAnweisung reihe("Test", PlatzhalterNummeriert("SELECT generate_series(1, ?)"));
    const auto summe = [&reihe](const QByteArrayList& werte, int spalte = 0) {
        int s = 0;
        reihe.Lesen(werte, [&](const TBlockZeile& z) { s += z.Int(spalte); });
        return s;
    };
    int zeilen = 0;
    EXPECT_THROW(TZEP_Connection::Lesen("Test", CReihe, {},
                                        [&](const QSqlQuery&) {
                                            ++zeilen;
                                            summe({"2"});
                                        }),
                 EORVFehler);
    EXPECT_EQ(zeilen, 1);
    EXPECT_THROW(summe({}), EORVFehler);         // a value missing
    EXPECT_THROW(summe({"2"}, 1), EORVFehler);   // a column not selected
    EXPECT_FALSE(TZEP_Connection::Verloren());
    EXPECT_EQ(summe({"3"}), 6);
    // a statement prepared on the server goes with its reader
    const auto vorbereitet = [] {
        int n = -1;
        TZEP_Connection::Lesen("Test", "SELECT count(*) FROM pg_prepared_statements WHERE name LIKE 'kalmet_pq_%'", {},
                               [&n](const QSqlQuery& q) { n = q.value(0).toInt(); });
        return n;
    };
    {
        TPqAnweisung weitere("Test", "SELECT 1");
        weitere.Lesen({}, [](const TBlockZeile&) {});
        EXPECT_EQ(vorbereitet(), 2);
    }
    EXPECT_EQ(vorbereitet(), 1);
}

TEST_F(VerbindungTest, ALostSessionFailsEveryUseUntilRenewedAndKeptStatementsAreMadeAnew)
{
    // a block read prepared once and kept, as the article readers keep theirs
    TProduktBlockAbfrage artikel("t.wgn", "artikel", QString());
    const auto lesen = [&] { artikel.Lesen({TInt32Trio{1, 2, 3}}, [](int, const TBlockZeile&) {}); };
    lesen();
    {
        TTransaktion t("Test");
        TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"});
        SitzungBeenden();
        EXPECT_THROW(TZEP_Connection::Wiederholen("Test", CEinfuegen, {"B", "2"}), EVerbindungVerloren);
        EXPECT_THROW(t.Commit(), EVerbindungVerloren);
    }
    EXPECT_TRUE(TZEP_Connection::Verloren());
    // no connection is opened behind the work's back, on no thread
    EXPECT_THROW(lesen(), EVerbindungVerloren);
    EXPECT_THROW(Parameter("A"), EVerbindungVerloren);
    std::thread([] {
        EXPECT_THROW(TZEP_Connection::Database(), EVerbindungVerloren);
        TZEP_Connection::CloseThreadConnection();
    }).join();

    TZEP_Connection::Erneuern();
    lesen();   // its statement belongs to the connection that is gone: made anew, never run there
    EXPECT_EQ(Parameter("A"), 0) << "the transaction the loss cut kept nothing";
    EXPECT_EQ(TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"}), 1);
}
