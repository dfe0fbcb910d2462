// Notices of changed inventories as a second connection causes them: on the server the
// trigger names the inventory, on SQLite the data version tells that something changed.
#include "framework/db/aenderungen.h"
#include "framework/db/connection.h"
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
    QTest::qWait(1200);
    EXPECT_EQ(uebergaben, 0) << "nothing changed, nothing handed over";

    {
        QSqlDatabase zweite = TZEP_Connection::Oeffnen(db.Url(), "zweite");
        EXPECT_TRUE(QSqlQuery(zweite).exec("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, kzzaehlung) VALUES "
                                       "('2026-02-01 00:00:00.000', '2026-05-15 00:00:00.000', 'K\u00dc 1', 7, '3')"));
    }
    TZEP_Connection::Schliessen("zweite");
    EXPECT_TRUE(QTest::qWaitFor([&] { return uebergaben > 0; }, 2000));
    if (server) {
        ASSERT_EQ(erhalten.size(), 1u);
        EXPECT_EQ(TDateTime_FormatDatum(erhalten[0].ZaehlDatum), "15.05.2026");
        EXPECT_EQ(erhalten[0].WGN, "K\u00dc 1");
        EXPECT_EQ(erhalten[0].Filiale, 7);
        EXPECT_FALSE(alle);
    } else {
        EXPECT_TRUE(alle);
    }
}
