#include "framework/app/programm.h"
#include "framework/db/connection.h"
#include "framework/stock/sperre.h"
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

// A lock of another process: on another host, taken minutenAlt minutes before the clock.
void FremdeSperre(const TInt32Trio& id, int minutenAlt)
{
    const QDateTime zeit = QDateTime::currentDateTime().addSecs(-60 * minutenAlt);
    TTestDb::Exec(QString("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, prozessid, "
                          "sperrzeit) VALUES (%1, %2, %3, 4, 'kasse-4', 'KASSE', 4711, '%4')")
                      .arg(id.Int1)
                      .arg(id.Int2)
                      .arg(id.Int3)
                      .arg(zeit.toString("yyyy-MM-dd hh:mm:ss.zzz")));
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

    // another terminal's lock of an hour ago holds; one of a day ago is taken over
    FremdeSperre(b, 60);
    EXPECT_FALSE(CommonLock().LockProdId(b, m, false));
    EXPECT_EQ(m.Terminal, "kasse-4");
    EXPECT_EQ(m.TerminalNr, "4");
    EXPECT_EQ(m.Programm, "KASSE");
    EXPECT_EQ(m.ProzessId, 4711);
    FremdeSperre(c, 24 * 60);
    TZEP_clMeldung n;
    EXPECT_TRUE(CommonLock().LockProdId(c, n, false));
    EXPECT_TRUE(n.Terminal.isEmpty());
    // a shorter age from the parameter lets the hour-old one go too
    TTestDb::Exec("INSERT INTO parameter (name, wert) VALUES ('SPERRE_MAX_MINUTEN', '30')");
    EXPECT_TRUE(CommonLock().LockProdId(b, m, false));
    CommonLock().UnlockProdId(b, false);
    CommonLock().UnlockProdId(c, false);
    EXPECT_EQ(Sperren(), 0);
}
