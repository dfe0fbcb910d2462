#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/db/blockzeile.h"
#include "framework/db/files/iafile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/files/renrfile.h"
#include "tests/support/testdb.h"
#include "tests/support/umgebung.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

void IaAnlegen(Tiafile& f, TDateTime wiJahr, TDateTime zaehl, const QString& wgn, int fil, QChar kz = QChar('1'))
{
    f.AllesClear();
    f.SetSatz({wiJahr, zaehl, wgn, fil, 100.0 * fil, 90.0 * fil, kz});
    f.Buchen(wrdonInsert);
}

std::vector<int> FilialenLesen(Tiafile& f, bool (Tiafile::*start)())
{
    std::vector<int> r;
    for (bool ok = (f.*start)(); ok; ok = f.Get_next())
        r.push_back(f.Filiale.GetWert());
    return r;
}

class DbFileTest : public ::testing::Test {
protected:
    TTestDb db;
    const TDateTime wj = EncodeDate(2023, 2, 1);
    const TDateTime d1 = EncodeDate(2024, 1, 20);
    const TDateTime d2 = EncodeDate(2024, 2, 3);

    void SetUp() override
    {
        KALMET_REQUIRE_DB(db);
        Tiafile f;
        // inserted out of key order on purpose
        IaAnlegen(f, wj, d2, "", 3);
        IaAnlegen(f, wj, d1, "WG0002", 2);
        IaAnlegen(f, wj, d1, "WG0001", 5);
        IaAnlegen(f, wj, d1, "WG0001", 1);
        IaAnlegen(f, EncodeDate(2022, 2, 1), d1 - 365, "WG0001", 4);
    }
};

}

TEST_F(DbFileTest, ScansInKeyOrderAndStartsAtTheStartKey)
{
    Tiafile f;
    f.AllesClear();
    f.SetKeyNum(Tiafile::StandardKeyNum);
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_first), (std::vector<int>{4, 1, 5, 2, 3}));

    f.AllesClear();
    f.ZaehlDatum.SetKeyWert(d1);
    f.WGN.SetKeyWert("WG0001");
    f.Filiale.SetKeyWert(2);
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_ge), (std::vector<int>{5, 2, 3}));

    // a start key beyond the last record finds nothing and clears the found flag
    f.AllesClear();
    f.ZaehlDatum.SetKeyWert(d2 + 1);
    EXPECT_FALSE(f.Get_ge());
    EXPECT_FALSE(f.Found());
}

TEST_F(DbFileTest, FiltersEndTheScan)
{
    Tiafile f;
    f.AllesClear();
    f.WiJahr.SetFilterMinMax(wj);
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_first), (std::vector<int>{1, 5, 2, 3}));

    f.AllesClear();
    f.ZaehlDatum.SetKeyWertAndFilter(d1);
    f.WGN.SetKeyWertAndFilter("WG0001");
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_ge), (std::vector<int>{1, 5}));

    f.AllesClear();
    f.Filiale.SetFilterMin(2);
    f.Filiale.SetFilterMax(4);
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_first), (std::vector<int>{4, 2, 3}));
}

TEST_F(DbFileTest, GetEqualReadsExactlyTheKey)
{
    Tiafile f;
    f.AllesClear();
    f.ZaehlDatum.SetKeyWert(d1);
    f.WGN.SetKeyWert("WG0001");
    f.Filiale.SetKeyWert(5);
    ASSERT_TRUE(f.Get_equal());
    EXPECT_EQ(f.GetSatz().SollEK, 500.0);

    f.Filiale.SetKeyWert(6);
    EXPECT_FALSE(f.Get_equal());
    // an empty product group is a key value of its own, not a wildcard
    f.AllesClear();
    f.ZaehlDatum.SetKeyWert(d1);
    f.WGN.SetKeyWert("");
    f.Filiale.SetKeyWert(1);
    EXPECT_FALSE(f.Get_equal());
    f.ZaehlDatum.SetKeyWert(d2);
    f.Filiale.SetKeyWert(3);
    EXPECT_TRUE(f.Get_equal());
}

TEST_F(DbFileTest, BuchenUpdatesTheCurrentRecordAndGetAgainRereadsIt)
{
    Tiafile f;
    f.AllesClear();
    f.ZaehlDatum.SetKeyWert(d1);
    f.WGN.SetKeyWert("WG0002");
    f.Filiale.SetKeyWert(2);
    ASSERT_TRUE(f.Get_equal());
    f.KZZaehlung.SetWert(QChar('5'));
    f.Buchen(wrdonUpdate);
    f.KZZaehlung.SetWert(QChar('x'));
    ASSERT_TRUE(f.Get_again());
    EXPECT_EQ(f.KZZaehlung.GetWert(), QChar('5'));

    Tiafile g;
    g.AllesClear();
    g.KZZaehlung.SetFilterMinMax(QChar('5'));
    EXPECT_EQ(FilialenLesen(g, &Tiafile::Get_first), (std::vector<int>{2}));

    Tiafile leer;
    leer.AllesClear();
    EXPECT_THROW(leer.Buchen(wrdonUpdate), EORVFehler);
}

TEST_F(DbFileTest, ExtendedFiltersWithNotEqualAndReceiveLimit)
{
    Tivfile iv;
    for (int p = 1; p <= 6; ++p) {
        iv.AllesClear();
        TivSatz s;
        s.WiJahr = wj;
        s.ZaehlDatum = d1;
        s.Filiale = p % 2 + 1;
        s.Produkt_ID = {p, 0, 0};
        s.BestTyp = QChar('1');
        s.KZGebucht = p == 3 ? QChar('A') : QChar();
        s.Menge[p] = p * 10;
        iv.SetSatz(s);
        iv.Buchen(wrdonInsert);
    }
    iv.AllesClear();
    iv.SetKeyNum(0);
    iv.WiJahr.SetWert(wj);
    iv.ExtendedFilterAdd(iv.WiJahr, evGleich, evUnd);
    iv.Filiale.SetWert(2);
    iv.ExtendedFilterAdd(iv.Filiale, evGleich, evUnd);
    iv.KZGebucht.SetWert(QChar('A'));
    iv.ExtendedFilterAdd(iv.KZGebucht, evUngleich, evEnde);
    iv.ExtendedMaxReceive_Set(2147483647);
    std::vector<int> ids;
    for (bool ok = iv.Get_ge_extMode(); ok; ok = iv.Get_next_extMode()) {
        const TivSatz s = iv.GetSatz();
        EXPECT_EQ(s.Menge[s.Produkt_ID.Int1], s.Produkt_ID.Int1 * 10);
        ids.push_back(s.Produkt_ID.Int1);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 5}));

    iv.ExtendedMaxReceive_Set(1);
    EXPECT_TRUE(iv.Get_ge_extMode());
    EXPECT_FALSE(iv.Get_next_extMode());
}

TEST_F(DbFileTest, LongScansCrossBatchBoundariesInOrder)
{
    TTestDb::Exec("DELETE FROM renr");
    Trenrfile r;
    const int n = 2500;
    QSqlDatabase sql = TZEP_Connection::Database();
    sql.transaction();
    for (int i = n; i >= 1; --i) {
        r.AllesClear();
        r.SetSatz({{i / 100, i % 100, 7}, i, -i});
        r.Buchen(wrdonInsert);
    }
    sql.commit();
    r.AllesClear();
    int gelesen = 0;
    TInt32Trio vorher{-1, 0, 0};
    for (bool ok = r.Get_first(); ok; ok = r.Get_next()) {
        const TrenrSatz s = r.GetSatz();
        const bool aufsteigend = s.Produkt_ID.Int1 > vorher.Int1
            || (s.Produkt_ID.Int1 == vorher.Int1 && s.Produkt_ID.Int2 > vorher.Int2);
        ASSERT_TRUE(aufsteigend) << gelesen;
        EXPECT_EQ(s.ReNr2, -s.ReNr);
        vorher = s.Produkt_ID;
        ++gelesen;
    }
    EXPECT_EQ(gelesen, n);
}

TEST_F(DbFileTest, CountRecordsKeepQuantitiesAndDatesExactly)
{
    Tiznsfile z;
    TiznsSatz s;
    s.ZaehlDatum = EncodeDateTime(2024, 1, 31, 23, 59, 59, 999);
    s.Produkt_ID = {12, 34, 56};
    s.Filiale = 7;
    s.Satzart = QChar('G');
    s.Gezaehlt = 1;
    for (int n = 1; n <= 100; ++n)
        s.GR_MESU[n - 1] = n * (n % 2 ? 1 : -1);
    s.GR_MESU[49] = INT32_MIN;
    s.GR_MESU[50] = INT32_MAX;
    z.AllesClear();
    z.SetSatz(s);
    z.Buchen(wrdonInsert);

    z.AllesClear();
    z.SetKeyNum(0);
    z.ZaehlDatum.SetKeyWert(s.ZaehlDatum);
    z.Produkt_ID.SetKeyWert(s.Produkt_ID);
    z.Filiale.SetKeyWert(7);
    z.Satzart.SetKeyWert(QChar('G'));
    z.Regal.SetKeyWert(0);
    ASSERT_TRUE(z.Get_equal());
    EXPECT_EQ(z.GetGR_MESU(1), 1);
    EXPECT_EQ(z.GetGR_MESU(100), -100);
    EXPECT_EQ(z.GR_MESU.GetWert(), s.GR_MESU);
    EXPECT_EQ(TDateTime_ToQDateTime(z.ZaehlDatum.GetWert()), TDateTime_ToQDateTime(s.ZaehlDatum));
    EXPECT_THROW(z.GetGR_MESU(0), EORVFehler);
    z.GR_MESU.Clear();
    ASSERT_TRUE(z.Get_again());
    EXPECT_EQ(z.GR_MESU.GetWert(), s.GR_MESU);
}

// Dates come back to the millisecond, also those whose text form ends in zeros, and the
// column default (day 0).
TEST_F(DbFileTest, DatesComeBackToTheMillisecond)
{
    Tiafile f;
    const std::vector<TDateTime> zeiten = {EncodeDateTime(2024, 5, 6, 7, 8, 9, 500), EncodeDateTime(2024, 5, 6, 7, 8, 9, 50),
                                           EncodeDateTime(2024, 5, 6, 23, 59, 59, 0), 0};
    for (size_t i = 0; i < zeiten.size(); ++i)
        IaAnlegen(f, EncodeDate(2030, 2, 1), zeiten[i], "ZEIT", 10 + static_cast<int>(i));
    for (size_t i = 0; i < zeiten.size(); ++i) {
        f.AllesClear();
        f.SetKeyNum(Tiafile::StandardKeyNum);
        f.Filiale.SetKeyWertAndFilter(10 + static_cast<int>(i));
        ASSERT_TRUE(f.Get_first());
        EXPECT_EQ(TDateTime_ToQDateTime(f.ZaehlDatum.GetWert()), TDateTime_ToQDateTime(zeiten[i])) << i;
    }
    // the engine's own text forms: fractions cut of their trailing zeros, or in microseconds
    const auto text = [](const char* t) { const QVariant v(QString::fromLatin1(t)); return TDatumTraits::FromSql(&v); };
    EXPECT_EQ(text("2024-05-06 07:08:09.5"), zeiten[0]);
    EXPECT_EQ(text("2024-05-06 07:08:09.050999"), zeiten[1]);
    EXPECT_EQ(text("2024-05-06 23:59:59"), zeiten[2]);
}

// PostgreSQL sends the quantities as one array text; anything but 100 integers is refused
// rather than read as zeros.
TEST(MengenDatenFeldTest, ArrayTextIsReadExactlyOrRefused)
{
    TMengenDatenFeld f("GR_MESU", "gr_mesu", 1);
    QStringList werte;
    for (int n = 1; n <= 100; ++n)
        werte << QString::number(n == 1 ? INT32_MIN : n == 100 ? INT32_MAX : -n);
    const QVariant text("{" + werte.join(",") + "}");
    const QVariantList zeile{text};
    f.ZeileLesen(TVariantZeile(zeile), 0);
    EXPECT_EQ(f.GetWert()[0], INT32_MIN);
    EXPECT_EQ(f.GetWert()[1], -2);
    EXPECT_EQ(f.GetWert()[99], INT32_MAX);
    for (const QString& falsch : {QString("{1,2,3}"), "{" + werte.join(",") + ",5}", "{" + werte.join(",") + "}x", QString(),
                                  QString("{") + QString("2147483648,").repeated(99) + "1}", QString("{NULL") + QString(",0").repeated(99) + "}"}) {
        const QVariantList falscheZeile{falsch};
        EXPECT_THROW(f.ZeileLesen(TVariantZeile(falscheZeile), 0), EORVFehler) << qPrintable(falsch);
    }
}

TEST_F(DbFileTest, ScansWithAFixedKeyPrefixCrossBatchesInOrder)
{
    Tivfile iv;
    QSqlDatabase sql = TZEP_Connection::Database();
    sql.transaction();
    for (int fil : {1, 2})
        for (int p = 1300; p >= 1; --p) {
            iv.AllesClear();
            TivSatz s;
            s.WiJahr = wj;
            s.ZaehlDatum = d1;
            s.Filiale = fil;
            s.Produkt_ID = {1, p, p % 3};
            s.BestTyp = p % 2 ? QChar('1') : QChar('8');
            iv.SetSatz(s);
            iv.Buchen(wrdonInsert);
        }
    sql.commit();
    iv.AllesClear();
    iv.WiJahr.SetKeyWertAndFilter(wj);
    iv.ZaehlDatum.SetKeyWertAndFilter(d1);
    iv.Filiale.SetKeyWertAndFilter(2);
    iv.Produkt_ID.SetKeyWert({1, 100, 0});
    int n = 0, vorher = 99;
    for (bool ok = iv.Get_ge(); ok; ok = iv.Get_next()) {
        ASSERT_EQ(iv.Filiale.GetWert(), 2);
        ASSERT_GT(iv.Produkt_ID.GetWert().Int2, vorher);
        vorher = iv.Produkt_ID.GetWert().Int2;
        ++n;
    }
    EXPECT_EQ(n, 1201) << "articles 100 to 1300 of branch 2";
}

// A scan whose key starts with a date continues after each batch at the last row's key, also
// when the client, the server session and UTC all differ.
TEST(DbFileZeitzonenTest, DateKeyScansCrossBatchesWhateverTheTimeZones)
{
    const TUmgebung client("TZ", "America/New_York");
    const TUmgebung server("PGTZ", "Asia/Tokyo");
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    Tiafile f;
    const int n = 300;
    QSqlDatabase sql = TZEP_Connection::Database();
    sql.transaction();
    for (int i = 0; i < n; ++i) {
        // several inventories a day, some late in the evening
        IaAnlegen(f, EncodeDate(2024, 2, 1), EncodeDate(2024, 3, 1) + i / 3 + (i % 3) * 0.45, "WG", i);
    }
    sql.commit();
    f.AllesClear();
    std::vector<int> gelesen = FilialenLesen(f, &Tiafile::Get_first);
    ASSERT_EQ(static_cast<int>(gelesen.size()), n);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(gelesen[i], i) << "row " << i;
}

// Santiago starts daylight saving at midnight: 6 September 2026 has no 00:00 to 00:59. A count
// date of that day and a time in the gap are read back as written, by record files and by the
// inventory table's own reads, on both engines.
TEST(DbFileZeitzonenTest, DatesInADaylightSavingGapKeepTheirDay)
{
    const TUmgebung client("TZ", "America/Santiago");
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    const TDateTime tag = EncodeDate(2026, 9, 6);
    const TDateTime imLoch = EncodeDateTime(2026, 9, 6, 0, 30, 0, 0);
    Tiafile f;
    IaAnlegen(f, EncodeDate(2026, 2, 1), tag, "WG", 7);
    IaAnlegen(f, EncodeDate(2026, 2, 1), imLoch, "WG", 8);
    f.AllesClear();
    f.Filiale.SetKeyWertAndFilter(8);
    f.SetKeyNum(Tiafile::StandardKeyNum);
    ASSERT_TRUE(f.Get_first());
    EXPECT_EQ(f.ZaehlDatum.GetWert(), imLoch);
    const auto tage = IA_Zaehltage(7);
    ASSERT_EQ(tage.size(), 1u);
    EXPECT_EQ(tage[0].ZaehlDatum, tag);
    EXPECT_EQ(TDateTime_ToQDateTime(imLoch).toString("dd.MM.yyyy HH:mm"), "06.09.2026 00:30");
}

// The booking's order: the filter first, then the field's value; one field may bound a range;
// a cleared file has no receive limit.
TEST_F(DbFileTest, ExtendedFiltersTakeTheValueSetAfterAdding)
{
    Tiafile f;
    f.AllesClear();
    f.ExtendedFilterAdd(f.Filiale, evGroesserGleich, evUnd);
    f.Filiale.SetWert(2);
    f.ExtendedFilterAdd(f.Filiale, evKleinerGleich, evUnd);
    f.Filiale.SetWert(4);
    f.ExtendedFilterAdd(f.WiJahr, evGleich, evEnde);
    f.WiJahr.SetWert(wj);
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_ge_extMode), (std::vector<int>{2, 3}));
    // the values hold for the scan, although reading changes the buffer
    EXPECT_EQ(FilialenLesen(f, &Tiafile::Get_ge_extMode), (std::vector<int>{2, 3}));
}

// A file read on a worker thread's connection in between reads on its own one.
TEST_F(DbFileTest, AFileReadOnAnotherThreadInBetweenReadsOnItsOwnAgain)
{
    Tiafile f;
    const auto lesen = [&f] {
        f.AllesClear();
        return f.Get_first();
    };
    ASSERT_TRUE(lesen());
    std::thread([&] {
        EXPECT_TRUE(lesen());
        TZEP_Connection::CloseThreadConnection();
    }).join();
    EXPECT_TRUE(lesen());
}
