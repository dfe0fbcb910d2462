#include "framework/core/sortiment.h"

#include <gtest/gtest.h>

TEST(Sortiment, MinMaxSumsAndArithmetic)
{
    TORV_Intv100_Sortiment_Me v;
    EXPECT_TRUE(v.IsEmpty());
    v.MinMax_Suchen();
    EXPECT_GT(v.MinInd, v.MaxInd) << "an all-zero vector has an empty range";
    v.Me[3] = 2;
    v.Me[40] = -5;
    v.MinMax_Suchen();
    EXPECT_EQ(v.MinInd, 3);
    EXPECT_EQ(v.MaxInd, 40);
    EXPECT_EQ(v.Sum(), -3);
    EXPECT_EQ(v.AbsSum(), 7);
    TORV_Intv100_Sortiment_Me w;
    w.CopyMitFaktor(v, -2);
    EXPECT_EQ(w.Me[3], -4);
    EXPECT_EQ(w.Me[40], 10);
    w.Add(v);
    EXPECT_EQ(w.Me[40], 5);
    w.Sub(v);
    w.Sub(v);
    EXPECT_EQ(w.Me[3], -6);
    w.Mul(0);
    EXPECT_TRUE(w.IsEmpty());
}

TEST(Sortiment, PriceSetsStretchAndValue)
{
    TORV_Intv100_Preis p;
    p.Eintraege.push_back({2, 4, {}, 10.0});
    p.Eintraege.push_back({7, 8, {}, 12.5});
    Intv100_PreisMinMaxAufblasen(0, 9, p);
    EXPECT_EQ(Preis_4_Index(p, 0), 10.0);
    EXPECT_EQ(Preis_4_Index(p, 6), 10.0) << "a gap takes the price before it";
    EXPECT_EQ(Preis_4_Index(p, 9), 12.5);
    EXPECT_EQ(Preis_4_Index(p, 10), 0.0);
    TORV_Intv100_Sortiment_Me v;
    v.Me[0] = 1;
    v.Me[8] = -2;
    v.Me[50] = 7;   // no price: no value
    EXPECT_DOUBLE_EQ(static_cast<double>(v.Bewerten(p)), 10.0 - 25.0);
    TORV_Intv100_Preis leer;
    Intv100_PreisMinMaxAufblasen(0, 9, leer);
    EXPECT_TRUE(leer.IsEmpty());
}
