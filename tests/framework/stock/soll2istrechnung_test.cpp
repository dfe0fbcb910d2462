// The takeover's computation on its own: which targets count, how erroneous sales lower them,
// and what is left alone.
#include "framework/stock/soll2istrechnung.h"

#include <gtest/gtest.h>

namespace {

TMengen100 Mengen(std::initializer_list<std::pair<int, int32_t>> m)
{
    TMengen100 r{};
    for (const auto& [slot, menge] : m)
        r[slot] = menge;
    return r;
}

}

TEST(Soll2IstRechnen, CurrentCountedTargetsLessErroneousSalesForEveryArticleButThePosted)
{
    const TInt32Trio a{1, 1, 1}, b{1, 2, 1}, c{1, 3, 1}, d{1, 4, 1}, fremd{9, 9, 9};
    const auto gezaehlt = [](int t) { return t != 3; };   // type 3: not counted
    TSoll2IstBisher bisher(&TInt32Trio::Numerisch_Kleiner);
    bisher[a][2] = 7;
    bisher[c][0] = 4;   // counted, no target: becomes 0
    bisher[d][0] = 1;
    const TSoll2IstErgebnis r = Soll2IstRechnen(
        {{a, 1, true, Mengen({{2, 10}, {3, 5}})}, {a, 3, true, Mengen({{2, 100}})},   // not a counted type
         {a, 1, false, Mengen({{2, 1000}})},                                        // an older target record
         {a, 17, true, Mengen({{2, 1000}})},                                        // no stock type
         {b, 2, true, Mengen({{0, 2}})}},
        bisher,
        {{a, 2, 3}, {a, 3, -2},   // sold 3, two came back
         {a, 100, 5},             // a size the grid does not have
         {fremd, 0, 1}},          // an article the inventory does not hold
        {d}, gezaehlt);

    ASSERT_EQ(r.size(), 3u) << "a, b and c; d is posted already";
    EXPECT_EQ(r.at(a).Neu[2], 7);
    EXPECT_EQ(r.at(a).Neu[3], 7);
    EXPECT_EQ(r.at(a).Bisher[2], 7);
    EXPECT_EQ(r.at(b).Neu[0], 2);
    EXPECT_EQ(r.at(c).Neu, TSoll2IstMengen{});
    EXPECT_EQ(r.at(c).Bisher[0], 4);
}
