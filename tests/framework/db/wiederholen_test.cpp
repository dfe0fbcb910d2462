#include "framework/core/fehler.h"
#include "framework/db/blockzeile.h"
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
    // a second statement in the text is refused, never left out
    EXPECT_THROW(TZEP_Connection::Wiederholen("Test", "UPDATE parameter SET wert = 'y'; DELETE FROM parameter"), EORVFehler);
    EXPECT_EQ(Werte(), QStringList({"4x", "3"}));
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

// Statements run again and again may go past Qt's driver (on SQLite): the values they bind and
// the rows they read must be those of the driver's own query.
TEST(WiederholenTest, ValuesBindAndReadAsTheDriversQueryDoes)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    ASSERT_TRUE(QSqlQuery(TZEP_Connection::Database()).exec("CREATE TABLE wert (nr integer PRIMARY KEY, t text, i integer, g bigint, d double precision)"));
    const QString einfuegen = "INSERT INTO wert (nr, t, i, g, d) VALUES (?, ?, ?, ?, ?)";
    const QVariantList zeilen[] = {{1, QString(), QVariant(), QVariant(), QVariant()},
                                   {2, QString(""), -7, qint64(1) << 40, 0.1},
                                   {3, QString("Größe ½ €"), 2147483647, qint64(-1), -1e300}};
    for (const QVariantList& z : zeilen)
        EXPECT_EQ(TZEP_Connection::Wiederholen("Test", einfuegen, z), 1);
    EXPECT_THROW(TZEP_Connection::Wiederholen("Test", einfuegen, zeilen[0]), EDatenAbgelehnt);   // the key is taken

    const QString lesen = "SELECT nr, t, i, g, d FROM wert ORDER BY nr";
    std::vector<QVariantList> qt;
    TZEP_Connection::Lesen("Test", lesen, {}, [&qt](const QSqlQuery& q) {
        qt.push_back({q.value(0).toInt(), q.value(1).isNull() ? QVariant() : q.value(1).toString(), q.value(2).toInt(),
                      q.value(3).toLongLong(), q.value(4).toDouble()});
    });
    std::vector<QVariantList> gelesen;
    TZEP_Connection::WiederholtLesen("Test", lesen, {}, [&gelesen](const TBlockZeile& z) {
        gelesen.push_back({z.Int(0), z.Null(1) ? QVariant() : z.Text(1), z.Int(2), z.Int64(3), z.Double(4)});
    });
    ASSERT_EQ(gelesen.size(), 3u);
    EXPECT_EQ(gelesen, qt);
    EXPECT_EQ(gelesen[1], QVariantList({2, QString(""), -7, qint64(1) << 40, 0.1}));
    EXPECT_EQ(gelesen[2], QVariantList({3, QString("Größe ½ €"), 2147483647, qint64(-1), -1e300}));
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

// On PostgreSQL a transaction's BEGIN and the statements that wait (Vormerken) go to the server
// with the next statement; on SQLite they run at once. Either way the order holds.
TEST(TransaktionTest, StatementsThatWaitRunInOrderInsideTheTransaction)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    {
        TTransaktion t("Test");
        TZEP_Connection::Vormerken("Test", CEinfuegen, {"A", "1"});
        // through the driver, after the insert and inside the transaction
        EXPECT_EQ(TZEP_Connection::Ausfuehren("Test", "UPDATE parameter SET wert = '2' WHERE name = 'A'").numRowsAffected(), 1);
    }
    EXPECT_EQ(Werte(), QStringList()) << "rolled back, the statement that waited included";
    {
        TTransaktion t("Test");
        TZEP_Connection::Vormerken("Test", CEinfuegen, {"A", "1"});
        QStringList gelesen;
        const quint64 gesendet = TZEP_Connection::Sendungen();
        TZEP_Connection::WiederholtLesen("Test", "SELECT wert FROM parameter WHERE name = ?", {"A"},
                                         [&gelesen](const TBlockZeile& z) { gelesen << z.Text(0); });
        EXPECT_EQ(gelesen, QStringList({"1"}));
        if (TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL)
            EXPECT_EQ(TZEP_Connection::Sendungen(), gesendet + 1) << "BEGIN, the insert and the read in one round trip";
        t.Commit();
    }
    bool gelesen = false;
    EXPECT_THROW(
        {
            TTransaktion t("Test");
            TZEP_Connection::Vormerken("Test", "INSERT INTO parameter (name, wert) VALUES (?, ?)", {"A", "3"});   // the name is taken
            TZEP_Connection::WiederholtLesen("Test", "SELECT wert FROM parameter", {}, [&gelesen](const TBlockZeile&) { gelesen = true; });
        },
        EDatenAbgelehnt);
    EXPECT_FALSE(gelesen) << "a read after a failed statement does not run";
    {
        TTransaktion leer("Test");   // nothing sent, nothing to roll back
    }
    TTransaktion t("Test");
    TZEP_Connection::Vormerken("Test", CEinfuegen, {"B", "2"});
    t.Commit();
    EXPECT_EQ(Werte(), QStringList({"1", "2"}));
}
