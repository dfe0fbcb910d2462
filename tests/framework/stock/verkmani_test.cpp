#include "framework/stock/verkmani.h"
#include "tests/support/testdb.h"

#include <gtest/gtest.h>

TEST(TVerkMani, ConvertedErroneousSaleBecomesASalesLine)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    Tlsnfile lsn;
    lsn.AllesClear();
    TlsnSatz s;
    s.Datum = EncodeDate(2026, 5, 2);
    s.Filiale = 3;
    s.Belegcode = "A9";
    s.Produkt_ID = {1, 10007, 1};
    s.Vorzeichen = '2';
    s.Menge = -3;
    s.Wert1 = -30.0;
    lsn.SetSatz(s);
    int ergebnis = -1;
    TVerkMani().FVKWandeln(lsn, {3, 17, 412}, ergebnis);
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
}
