#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/transaktion.h"
#include "framework/stock/sperre.h"
#include "tests/support/fremdesperre.h"
#include "tests/support/testdb.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSysInfo>

#include <gtest/gtest.h>

namespace {

int Sperren()
{
    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SELECT count(*) FROM artsperre");
    return q.next() ? q.value(0).toInt() : -1;
}

// A lock time minutenAlt minutes ago, as stored.
QString Vor(int minutenAlt)
{
    return QDateTime::currentDateTime().addSecs(-60 * minutenAlt).toString("yyyy-MM-dd hh:mm:ss.zzz");
}

QString Einstellung(const QString& name)
{
    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SHOW " + name);
    return q.next() ? q.value(0).toString() : QString();
}

int Protokollzeilen(const QString& text)
{
    QSqlQuery q(TZEP_Connection::Database());
    q.exec(QString("SELECT count(*) FROM protokoll WHERE text LIKE '%%1%'").arg(text));
    return q.next() ? q.value(0).toInt() : -1;
}

}

TEST(TCommonLock, LocksAcrossTerminalsAndTakesOverLocksOfGoneHolders)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    const TInt32Trio a{1, 1, 1}, b{1, 2, 1}, c{1, 3, 1};
    TZEP_clMeldung m;
    ASSERT_TRUE(CommonLock().LockProdId(a, m, false));
    EXPECT_TRUE(CommonLock().LockProdId(a, m, false)) << "this process holds it already";
    EXPECT_EQ(Sperren(), 1);
    CommonLock().UnlockProdId(a, false);
    EXPECT_EQ(Sperren(), 0);
    const bool server = db.Typ() == TConnectorTyp::PostgreSQL;
    if (server) {
        // a lock row committed on its own does not wait for the disk; the work after it, and a
        // transaction that takes a lock within, do
        EXPECT_EQ(Einstellung("synchronous_commit"), "on");
        TTransaktion t("Test");
        ASSERT_TRUE(CommonLock().LockProdId(a, m, false));
        EXPECT_EQ(Einstellung("synchronous_commit"), "on");
        CommonLock().UnlockProdId(a, false);
        t.Commit();
    }

    // another terminal's lock holds while its holder lives: on the server while its session
    // does, whatever its age; on a file until it is older than the limit
    {
        const TFremdeSperre fremd(b, "kasse-4", 4711, Vor(server ? 24 * 60 : 60), "KASSE", 4);
        EXPECT_FALSE(CommonLock().LockProdId(b, m, false));
        EXPECT_EQ(m.Terminal, "kasse-4");
        EXPECT_EQ(m.TerminalNr, "4");
        EXPECT_EQ(m.Programm, "KASSE");
        EXPECT_EQ(m.ProzessId, 4711);
    }
    if (!server) {
        EXPECT_FALSE(CommonLock().LockProdId(b, m, false)) << "an hour old";
        const TFremdeSperre alt(c, "kasse-4", 4711, Vor(24 * 60));
        TZEP_clMeldung n;
        EXPECT_TRUE(CommonLock().LockProdId(c, n, false)) << "a day old";
        EXPECT_TRUE(n.Terminal.isEmpty());
        // a shorter age from the parameter lets the hour-old one go too
        TTestDb::Exec("INSERT INTO parameter (name, wert) VALUES ('SPERRE_MAX_MINUTEN', '30')");
        CommonLock().UnlockProdId(c, false);
    }
    EXPECT_TRUE(CommonLock().LockProdId(b, m, false)) << "its holder is gone";
    EXPECT_EQ(Protokollzeilen("Artikelsperre übernommen von Prozess 4711"), server ? 1 : 2);
    CommonLock().UnlockProdId(b, false);
    EXPECT_EQ(Sperren(), 0);

    // locks of this machine's processes that ended go at once, those of running ones stay
    { const TFremdeSperre tot(c, QSysInfo::machineHostName(), 2000000000, Vor(1)); }
    { const TFremdeSperre lebt(a, QSysInfo::machineHostName(), 1, Vor(1)); }
    EXPECT_EQ(CommonLock().VerwaisteEntfernen(), 1);
    EXPECT_EQ(Sperren(), 1);
}

TEST(TCommonLock, RowsNamingNoSessionWaitForTheAgeLimitOnBothEngines)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    const TInt32Trio neu{1, 1, 1}, alt{1, 2, 1};
    // another program's rows: no advisory lock, no session
    FremdeZeile(neu, "kasse-7", 815, Vor(1), "FREMD");
    FremdeZeile(alt, "kasse-7", 816, Vor(721), "FREMD");
    TZEP_clMeldung m;
    EXPECT_FALSE(CommonLock().LockProdId(neu, m, false)) << "a minute old";
    EXPECT_EQ(m.Terminal, "kasse-7");
    EXPECT_EQ(m.Programm, "FREMD");
    EXPECT_EQ(m.ProzessId, 815);
    TZEP_clMeldung n;
    EXPECT_TRUE(CommonLock().LockProdId(alt, n, false)) << "older than the limit";
    EXPECT_EQ(Protokollzeilen("Artikelsperre übernommen von Prozess 816 auf kasse-7 (FREMD"), 1);
    EXPECT_EQ(Protokollzeilen("die Sperre ist zu alt"), 1);

    // the rows as they are now: the refused one untouched; the one taken over names this process
    // and, on the server, this session
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(QString("SELECT produkt_id_2, terminal, prozessid, sitzung_pid, %1 FROM artsperre ORDER BY produkt_id_2")
                           .arg(db.Typ() == TConnectorTyp::PostgreSQL
                                    ? "sitzung_beginn = (SELECT backend_start FROM pg_stat_activity WHERE pid = pg_backend_pid())"
                                    : "sitzung_beginn IS NULL")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toString(), "kasse-7");
    EXPECT_TRUE(q.value(3).isNull());
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2);
    EXPECT_EQ(q.value(1).toString(), QSysInfo::machineHostName());
    EXPECT_EQ(q.value(2).toLongLong(), QCoreApplication::applicationPid());
    if (db.Typ() == TConnectorTyp::PostgreSQL) {
        QSqlQuery pid(TZEP_Connection::Database());
        ASSERT_TRUE(pid.exec("SELECT pg_backend_pid()") && pid.next());
        EXPECT_EQ(q.value(3).toInt(), pid.value(0).toInt());
    } else {
        EXPECT_TRUE(q.value(3).isNull());
    }
    EXPECT_TRUE(q.value(4).toBool()) << "the session's start";
    q.finish();
    CommonLock().UnlockProdId(alt, false);
}

TEST(TCommonLock, RowOfASessionThatEndedIsTakenOverAtOnce)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    if (db.Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "database sessions are the server's";
    const TInt32Trio a{1, 1, 1}, b{1, 2, 1};
    TZEP_clMeldung m;
    {
        const TFremdeSperre kasse(a, "kasse-7", 815, Vor(1));
        EXPECT_FALSE(CommonLock().LockProdId(a, m, false)) << "its session lives";
    }
    EXPECT_TRUE(CommonLock().LockProdId(a, m, false)) << "its session was terminated";
    EXPECT_EQ(Protokollzeilen("seine Datenbanksitzung besteht nicht mehr"), 1);

    // a live session that holds no advisory lock on the article keeps its row until the age limit
    TTestDb::Exec("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminal, programm, prozessid, sperrzeit, "
                  "sitzung_pid, sitzung_beginn) SELECT 1, 2, 1, 'kasse-7', 'KASSE', 815, LOCALTIMESTAMP, pid, backend_start "
                  "FROM pg_stat_activity WHERE pid = pg_backend_pid()");
    EXPECT_FALSE(CommonLock().LockProdId(b, m, false));
    EXPECT_EQ(m.Terminal, "kasse-7");
    EXPECT_EQ(Sperren(), 2);
}

// The work under a lock is committed only while the lock row is still this process's.
TEST(TCommonLock, ALockRowGoneMeanwhileFailsTheCommitAndKeepsTheWorkOut)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    const TInt32Trio id{1, 2, 3};
    TZEP_clMeldung halter;
    {
        TArtikelTransaktion t(id, halter, "Test");
        ASSERT_TRUE(t.Gehalten());
        TZEP_Connection::Vormerken("Test", "INSERT INTO parameter (name, wert) VALUES (?, ?)", {"A", "1"});
        TZEP_Connection::Ausfuehren("Test", "DELETE FROM artsperre");   // taken away meanwhile
        EXPECT_THROW(t.Commit(), EORVFehler);
    }
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT count(*) FROM parameter WHERE name = 'A'") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
    EXPECT_EQ(Sperren(), 0);
    TArtikelTransaktion t(id, halter, "Test");   // the article can be locked again
    ASSERT_TRUE(t.Gehalten());
    t.Commit();
    EXPECT_EQ(Sperren(), 0);
}
