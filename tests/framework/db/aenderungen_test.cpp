// Notices of changed inventories as a second connection causes them: on the server the
// trigger names the inventory, on SQLite the change log does once the data version moved.
// Commits that leave the inventories alone hand nothing over.
#include "framework/db/aenderungen.h"
#include "framework/db/connection.h"
#include "framework/db/transaktion.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>
#include <QTest>

#include <gtest/gtest.h>

TEST(Aenderungen, AnotherConnectionsChangeIsHandedOverAndNothingWithoutOne)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    std::vector<TIANotiz> erhalten;
    int uebergaben = 0;
    bool alle = false;
    TIAAenderungen a;
    a.OnGeaendert = [&](const std::vector<TIANotiz>& n, bool x) {
        erhalten.insert(erhalten.end(), n.begin(), n.end());
        alle = alle || x;
        ++uebergaben;
        return true;
    };
    a.Starten();
    const bool server = db.Typ() == TConnectorTyp::PostgreSQL;
    EXPECT_EQ(a.Kanal(), server ? TIAAenderungen::TKanal::Live : TIAAenderungen::TKanal::Abfrage);
    QSqlDatabase zweite = TZEP_Connection::Oeffnen(db.Url(), "zweite");
    // a booking's stock movement: a commit, but no inventory changed
    EXPECT_TRUE(QSqlQuery(zweite).exec("INSERT INTO bne (filiale) VALUES (7)"));
    QTest::qWait(1200);
    EXPECT_EQ(uebergaben, 0) << "no inventory changed, nothing handed over";

    EXPECT_TRUE(QSqlQuery(zweite).exec("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, kzzaehlung) VALUES "
                                       "('2026-02-01 00:00:00.000', '2026-05-15 00:00:00.000', 'K\u00dc 1', 7, '3')"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return uebergaben > 0; }, 2000));
    ASSERT_EQ(erhalten.size(), 1u);
    EXPECT_EQ(TDateTime_FormatDatum(erhalten[0].ZaehlDatum), "15.05.2026");
    EXPECT_EQ(erhalten[0].WGN, "K\u00dc 1");
    EXPECT_EQ(erhalten[0].Filiale, 7);
    EXPECT_FALSE(alle) << "the one inventory, not everything";
    zweite = QSqlDatabase();
    TZEP_Connection::Schliessen("zweite");
}

TEST(Aenderungen, TheChangeLogStaysShortAndAReaderThatFellBehindReadsEverything)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    if (db.Typ() == TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "the server has a notice channel, no change log";
    TTestDb::Exec("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, kzzaehlung) VALUES "
                  "('2026-02-01 00:00:00.000', '2026-05-15 00:00:00.000', 'WG1', 7, '3')");
    std::vector<TIANotiz> erhalten;
    bool alle = false;
    bool darf = false;
    TIAAenderungen a;
    a.Darf = [&] { return darf; };
    a.OnGeaendert = [&](const std::vector<TIANotiz>& n, bool x) {
        erhalten = n;
        alle = x;
        return true;
    };
    a.Starten();
    QSqlDatabase zweite = TZEP_Connection::Oeffnen(db.Url(), "zweite");
    // changes of the one inventory in one commit of another connection
    const auto aendern = [&](int mal) {
        TTransaktion t("aendern", zweite);
        QSqlQuery q(zweite);
        for (int i = 0; i < mal; ++i)
            EXPECT_TRUE(q.exec(QString("UPDATE ia SET kzzaehlung = '%1' WHERE filiale = 7").arg(2 + i % 2)));
        t.Commit();
    };
    const auto zustellen = [&] {
        darf = true;
        EXPECT_TRUE(QTest::qWaitFor([&] { return alle || !erhalten.empty(); }, 2000));
        darf = false;
    };

    // a few changes while the owner is busy: the inventory once
    aendern(5);
    zustellen();
    EXPECT_EQ(erhalten.size(), 1u);
    EXPECT_FALSE(alle);

    // more than the log keeps
    erhalten.clear();
    aendern(1100);
    QSqlQuery q(zweite);
    ASSERT_TRUE(q.exec("SELECT COUNT(*), MAX(id) - MIN(id) + 1 FROM ia_aenderung") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1000);
    EXPECT_EQ(q.value(1).toInt(), 1000) << "the newest entries, without a gap";
    q = QSqlQuery();
    zustellen();
    EXPECT_TRUE(alle) << "entries not seen were removed";
    zweite = QSqlDatabase();
    TZEP_Connection::Schliessen("zweite");
}
