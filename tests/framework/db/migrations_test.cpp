#include "framework/db/migrations.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

TEST(Migrations, AreRecordedAndRunOnlyOnce)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    MigrationenAusfuehren(TZEP_Connection::Database());   // second run: nothing to do
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT COUNT(*), MAX(version) FROM schema_version"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), SchemaVersionAktuell());
    EXPECT_EQ(q.value(1).toInt(), SchemaVersionAktuell());
    // the quantity columns and the product id columns exist on both engines
    EXPECT_TRUE(q.exec("SELECT menge_0, menge_99, produkt_id_3, kzgebucht FROM iv"));
    EXPECT_TRUE(q.exec("SELECT gr_mesu_1, gr_mesu_100 FROM izns"));
}
