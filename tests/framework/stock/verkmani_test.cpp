#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/transaktion.h"
#include "framework/stock/verkmani.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

QVariant Wert(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql)) << qPrintable(sql);
    return q.next() ? q.value(0) : QVariant();
}

}

// A returned pair (sign "2", quantity 3 counted back as -3) becomes a sales line, the sales
// stock of its size rises by 3, and the erroneous sale is gone.
TEST(TVerkMani, ConvertedErroneousSaleBecomesASalesLineWithItsStockEffect)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    TTestDb::Exec("INSERT INTO fvk (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, vorgangsart, belegart, groesse, "
                  "vorzeichen, menge) VALUES (1, 10007, 1, 3, '2026-05-02 00:00:00.000', 'F', '23', 39, '2', 3)");
    const qint64 fvkId = Wert("SELECT max(id) FROM fvk").toLongLong();
    Tlsnfile lsn;
    lsn.AllesClear();
    TlsnSatz s;
    s.Datum = EncodeDate(2026, 5, 2);
    s.Filiale = 3;
    s.Belegcode = "A9";
    s.Produkt_ID = {1, 10007, 1};
    s.Groesse = 39;
    s.GroessenIndex = 5;
    s.Vorzeichen = '2';
    s.Menge = -3;
    s.Wert1 = -30.0;
    lsn.SetSatz(s);
    int ergebnis = -1;
    TVerkMani().FVKWandeln(lsn, {3, 17, 412}, ergebnis, fvkId);
    EXPECT_EQ(ergebnis, 0);

    Tlsnfile lesen;
    lesen.AllesClear();
    lesen.Filiale.SetKeyWertAndFilter(3);
    ASSERT_TRUE(lesen.Get_ge());
    const TlsnSatz g = lesen.GetSatz();
    EXPECT_EQ(g.Referenz, (TInt32Trio{3, 17, 412}));
    EXPECT_EQ(g.Menge, -3);
    EXPECT_EQ(g.Wert1, -30.0);
    EXPECT_EQ(g.Belegcode, "A9");
    EXPECT_FALSE(lesen.Get_next());

    EXPECT_EQ(Wert(QString("SELECT count(*) FROM fvk WHERE id = %1").arg(fvkId)).toInt(), 0);
    EXPECT_EQ(Wert("SELECT menge_4 FROM bne WHERE produkt_id_2 = 10007 AND filiale = 3 AND bewart = 3").toInt(), 3);
    EXPECT_EQ(Wert("SELECT menge_4 FROM bestand WHERE produkt_id_2 = 10007 AND filiale = 3 AND besttyp = 1").toInt(), 3);

    // a second terminal that read the same erroneous sale before it was gone converts nothing
    {
        TTransaktion t("Test");
        EXPECT_THROW(TVerkMani().FVKWandeln(lsn, {3, 17, 412}, ergebnis, fvkId), EORVFehler);
        EXPECT_EQ(ergebnis, 1);
    }
    EXPECT_EQ(Wert("SELECT count(*) FROM lsn WHERE filiale = 3").toInt(), 1);
    EXPECT_EQ(Wert("SELECT menge_4 FROM bestand WHERE produkt_id_2 = 10007 AND filiale = 3 AND besttyp = 1").toInt(), 3);
}
