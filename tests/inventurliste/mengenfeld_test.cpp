#include "framework/core/fehler.h"
#include "inventurliste/mengenfeld.h"

#include <gtest/gtest.h>

namespace {

TiznsSatz Zaehlung(QChar art, int gezaehlt, std::initializer_list<std::pair<int, int>> mengen, int von = 1, int bis = 10)
{
    TiznsSatz s;
    s.Satzart = art;
    s.Gezaehlt = gezaehlt;
    s.Filiale = 4;
    s.Regal = 110;
    s.GrVon = von;
    s.GrBis = bis;
    for (auto [groesse, menge] : mengen)
        s.GR_MESU[groesse - 1] = menge;
    return s;
}

TivSatz Soll(QChar typ, std::initializer_list<std::pair<int, int>> mengen, int standNeu = 2, int standAlt = 1)
{
    TivSatz s;
    s.BestTyp = typ;
    s.StandNeu = standNeu;
    s.StandAlt = standAlt;
    for (auto [slot, menge] : mengen)
        s.Menge[slot] = menge;
    return s;
}

bool Gezaehlt(int t) { return t == 1 || t == 2; }

}

TEST(Mengenfeld, CountAddsToIstAndDiffOnlyWhenCounted)
{
    TMengenfeld f{};
    MengenfeldZaehlsatzAddieren(f, Zaehlung('G', 0, {{3, 5}}), "ort");
    EXPECT_TRUE(f[mfIst].IsEmpty()) << "a count record with Gezaehlt 0 carries no quantities";
    MengenfeldZaehlsatzAddieren(f, Zaehlung('G', 1, {{3, 5}, {100, 1}}), "ort");
    EXPECT_EQ(f[mfIst].Me[2], 5);
    EXPECT_EQ(f[mfDiff].Me[2], 5);
    EXPECT_EQ(f[mfIst].Me[99], 1);
    EXPECT_THROW(MengenfeldZaehlsatzAddieren(f, Zaehlung('R', 1, {{3, 5}}), "ort"), EORVFehler);
}

TEST(Mengenfeld, TargetsByStockType)
{
    TMengenfeld f{};
    MengenfeldSollsatzAddieren(f, Soll('1', {{0, 3}, {1, 1}}), Gezaehlt);
    MengenfeldSollsatzAddieren(f, Soll('1', {{0, 2}}), Gezaehlt);   // same stock type again
    MengenfeldSollsatzAddieren(f, Soll('8', {{0, 4}}), Gezaehlt);   // not counted
    MengenfeldSollsatzAddieren(f, Soll('Z', {{0, 9}}), Gezaehlt);   // no stock type
    MengenfeldSollsatzAddieren(f, Soll('0', {{0, 9}}), Gezaehlt);
    MengenfeldSollsatzAddieren(f, Soll('2', {{0, 9}}, 1, 2), Gezaehlt);   // superseded
    EXPECT_EQ(f[0].Me[0], 2) << "the stock-type vector keeps the last record";
    EXPECT_EQ(f[0].Me[1], 0);
    EXPECT_EQ(f[7].Me[0], 4);
    EXPECT_EQ(f[mfSoll].Me[0], 3 + 2 + 4);
    EXPECT_EQ(f[mfDiff].Me[0], -5) << "counted types lower the difference";
    EXPECT_EQ(f[mfIst].Me[0], 4) << "types not counted raise the actual";
    EXPECT_TRUE(f[1].IsEmpty());
}

TEST(Mengenfeld, ShelvesKeepTheirRangeAndEmptyOnes)
{
    TRegalMengen r;
    RegalmengeAnfuegen(r, Zaehlung('R', 1, {{2, 3}, {4, 1}, {12, 9}}, 2, 10), "ort");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE(r[0].Gefuellt);
    EXPECT_EQ(r[0].GesMenge, 4) << "sizes outside the shelf's range are not taken";
    EXPECT_EQ(r[0].Menge_Regal.Me.MinInd, 1);
    EXPECT_EQ(r[0].Menge_Regal.Me.MaxInd, 9);
    EXPECT_EQ(r[0].Menge_Regal.Fil, 4);
    EXPECT_EQ(r[0].Regal, 110);
    RegalmengeAnfuegen(r, Zaehlung('R', 1, {{5, 3}}, 9, 4), "ort");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_FALSE(r[1].Gefuellt);
    EXPECT_EQ(r[1].GesMenge, 0);
    RegalmengeAnfuegen(r, Zaehlung('R', 0, {{5, 3}}), "ort");
    EXPECT_EQ(r.size(), 2u) << "an uncounted shelf adds nothing";
    RegalmengeAnfuegen(r, Zaehlung('R', 1, {{1, 2}}, 0, 120), "ort");
    EXPECT_EQ(r.back().GesMenge, 2) << "a broken size range is clamped, not read outside the record";
    try {
        RegalmengeAnfuegen(r, Zaehlung('G', 1, {}), "TfrmKalmetMain.FuelleRegalmengen");
        FAIL();
    } catch (const EORVFehler& e) {
        EXPECT_STREQ(e.what(), "TfrmKalmetMain.FuelleRegalmengen: Regalsatz erwartet!");
    }
}

TEST(Mengenfeld, ErroneousSaleSigns)
{
    TMengenfeld f{};
    FehlverkaufAnwenden(f, 4, '1', 3);
    EXPECT_EQ(f[mfSoll].Me[4], 3);
    EXPECT_EQ(f[mfDiff].Me[4], -3);
    EXPECT_EQ(f[mfFVK].Me[4], 3);
    FehlverkaufAnwenden(f, 4, '2', 1);
    EXPECT_EQ(f[mfSoll].Me[4], 4);
    FehlverkaufAnwenden(f, 5, '0', 2);
    FehlverkaufAnwenden(f, 5, ' ', 1);
    EXPECT_EQ(f[mfSoll].Me[5], -3);
    EXPECT_EQ(f[mfDiff].Me[5], 3);
    EXPECT_EQ(f[mfFVK].Me[5], -3);
}
