// The product-group texts the marked rows are listed under.
#include "inventurliste/bau.h"

#include <gtest/gtest.h>

namespace {

TZeileAnzeige Zeile(const char* wgn, int filiale)
{
    return {EncodeDate(2026, 5, 15), wgn, filiale};
}

}

TEST(Gruppen, TheMoreSpecificTextOfRowAndSelection)
{
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("*", 1), "12"), "12");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("*", 1), ""), "");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("1234", 1), "12"), "1234");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("12", 1), "1234"), "1234");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("12", 1), "12"), "12");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("13", 1), "12"), "-");
    EXPECT_EQ(GetWGN_4_Zeile(Zeile("1234", 1), "1235"), "-");
}

TEST(Gruppen, RowsOfOtherBranchesStayOnlyForNetting)
{
    const TZeileAnzeige_Arr zeilen{Zeile("12", 1), Zeile("*", 5), Zeile("1234", 5), Zeile("13", 5), Zeile("12", 2)};
    const TWGNZeilen ohne = GetWGNs(zeilen, false, "12", 5);
    ASSERT_EQ(ohne.size(), 2u);
    EXPECT_EQ(ohne.at("12").size(), 1u);   // the "*" row of branch 5
    EXPECT_EQ(ohne.at("1234").size(), 1u);

    const TWGNZeilen mit = GetWGNs(zeilen, true, "12", 5);
    ASSERT_EQ(mit.size(), 2u);
    ASSERT_EQ(mit.at("12").size(), 3u);   // in the order of the rows
    EXPECT_EQ(mit.at("12")[0].Filiale, 1);
    EXPECT_EQ(mit.at("12")[1].Filiale, 5);
    EXPECT_EQ(mit.at("12")[2].Filiale, 2);

    EXPECT_TRUE(GetWGNs({Zeile("13", 5)}, false, "12", 0).empty());
    EXPECT_EQ(GetWGNs(zeilen, false, "", 0).size(), 4u);   // "", "12", "1234", "13"
}
