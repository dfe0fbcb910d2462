#include "framework/app/programm.h"
#include "framework/db/connection.h"
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

    // another terminal's lock holds while its holder lives: on the server while its session
    // does, whatever its age; on a file until it is older than the limit
    const bool server = db.Typ() == TConnectorTyp::PostgreSQL;
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
