#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/transaktion.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString CEinfuegen = "INSERT INTO parameter (name, wert) VALUES (?, ?) ON CONFLICT DO NOTHING";

QStringList Werte()
{
    QStringList w;
    TZEP_Connection::Wiederholen("Test", "SELECT wert FROM parameter WHERE name IN (?, ?) ORDER BY name", {"A", "B"},
                                 [&w](const QSqlQuery& q) { w << q.value(0).toString(); });
    return w;
}

}

TEST(WiederholenTest, KeptStatementsCountChangedRowsAndHoldNothingBetweenRuns)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    EXPECT_EQ(TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"}), 1);
    EXPECT_EQ(TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "2"}), 0);   // the unique name keeps the first
    EXPECT_EQ(TZEP_Connection::Wiederholen("Test", CEinfuegen, {"B", "3"}), 1);
    EXPECT_EQ(Werte(), QStringList({"1", "3"}));
    // another connection changes a row after the read; a writing transaction here then starts
    // on that state, not on a snapshot the kept read still holds
    std::thread([] {
        TZEP_Connection::Ausfuehren("Test", "UPDATE parameter SET wert = '4' WHERE name = 'A'");
        TZEP_Connection::CloseThreadConnection();
    }).join();
    {
        TTransaktion t("Test");
        EXPECT_EQ(TZEP_Connection::Wiederholen("Test", "UPDATE parameter SET wert = wert || 'x' WHERE name = ?", {"A"}), 1);
        t.Commit();
    }
    EXPECT_EQ(Werte(), QStringList({"4x", "3"}));
    EXPECT_THROW(TZEP_Connection::Wiederholen("Test", "SELECT nichtda FROM parameter"), EORVFehler);
}

TEST(WiederholenTest, KeptStatementsFollowTheConnectionToAnotherDatabase)
{
    TTestDb erste;
    KALMET_REQUIRE_DB(erste);
    TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"});
    EXPECT_EQ(Werte(), QStringList({"1"}));
    TTestDb zweite;
    EXPECT_EQ(Werte(), QStringList());
    TZEP_Connection::Wiederholen("Test", CEinfuegen, {"B", "2"});
    EXPECT_EQ(Werte(), QStringList({"2"}));
}

TEST(TransaktionTest, ACommitAfterAFailedStatementFailsAndKeepsNothing)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    {
        TTransaktion t("Test");
        TZEP_Connection::Wiederholen("Test", CEinfuegen, {"A", "1"});
        QSqlQuery(TZEP_Connection::Database()).exec("SELECT nichtda FROM parameter");   // a failure someone ignored
        if (TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL)
            EXPECT_THROW(t.Commit(), EORVFehler);
        else
            t.Commit();   // SQLite goes on after a failed statement
    }
    EXPECT_EQ(Werte(), TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL ? QStringList() : QStringList({"1"}));
    TTransaktion t("Test");   // the connection takes the next transaction
    TZEP_Connection::Wiederholen("Test", CEinfuegen, {"B", "2"});
    t.Commit();
    EXPECT_EQ(Werte().last(), "2");
}
