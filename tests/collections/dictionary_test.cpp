#include "collections/zep_dictionary.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

TEST(TZEP_Dictionary, ErrorsAndPointers)
{
    TZEP_Dictionary<QString, int> d;
    d.Add("a", 1);
    EXPECT_THROW(d.Add("a", 2), EZEP_DuplicateItem);
    EXPECT_THROW(d.Items("b"), EZEP_ItemNotFound);
    EXPECT_THROW(d.GetPItem("b"), EZEP_ItemNotFound);
    bool ok;
    EXPECT_EQ(d.TryGetValuePointer("b", ok), nullptr);
    EXPECT_FALSE(ok);
    *d.TryGetValuePointer("a", ok) = 5;
    EXPECT_TRUE(ok);
    EXPECT_EQ(d.Items("a"), 5);
    d.AddOrSetValue("a", 6);
    d.AddOrSetValue("c", 7);
    EXPECT_EQ(d.Count(), 2);
    EXPECT_TRUE(d.ContainsValue(6));
    const auto p = d.ExtractPair("a");
    EXPECT_EQ(p.second, 6);
    EXPECT_FALSE(d.ContainsKey("a"));
}

TEST(TZEP_Dictionary, SlotsArePowersOfTwoAndGrowAtThreeQuarters)
{
    TZEP_Dictionary<int, int> d;
    EXPECT_EQ(d.SlotCount(), 0);
    d.Add(1, 1);
    EXPECT_EQ(d.SlotCount(), 4);
    d.Add(2, 2);
    d.Add(3, 3);
    EXPECT_EQ(d.SlotCount(), 4);
    d.Add(4, 4);   // count 3 reached the threshold of 3
    EXPECT_EQ(d.SlotCount(), 8);
    TZEP_Dictionary<int, int> c(5);
    EXPECT_EQ(c.SlotCount(), 8);
}

TEST(TZEP_Dictionary, NotificationsAndSlotOrderEnumeration)
{
    // every key hashes to slot 0 so the probe chain order is the insertion order
    TZEP_EqualityComparer<int> same;
    same.GetHashCode = [](const int&) { return -1; };
    TZEP_Dictionary<int, int> d(same);
    std::vector<std::pair<int, int>> log;
    d.OnKeyNotify = [&](const int& k, TZEP_CollectionNotification n) { log.emplace_back(k, n); };
    d.Add(10, 1);
    d.Add(20, 2);
    d.Add(30, 3);
    EXPECT_EQ(d.Keys(), (std::vector<int>{10, 20, 30}));
    d.Remove(10);   // the chain moves back into the gap
    EXPECT_EQ(d.Keys(), (std::vector<int>{20, 30}));
    EXPECT_EQ(d.Items(30), 3);
    d.ExtractPair(20);
    EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{10, 1}, {20, 1}, {30, 1}, {10, 5}, {20, 3}}));
}

TEST(TZEP_Dictionary, RandomOperationsMatchUnorderedMap)
{
    std::mt19937 rng(17);
    // a weak hash makes long probe chains that wrap around the slot array
    TZEP_EqualityComparer<int> weak;
    weak.GetHashCode = [](const int& k) { return k % 7; };
    TZEP_Dictionary<int, int> d(weak);
    std::unordered_map<int, int> m;
    for (int step = 0; step < 30000; ++step) {
        const int k = static_cast<int>(rng() % 300);
        switch (rng() % 4) {
        case 0:
            if (m.count(k)) {
                EXPECT_THROW(d.Add(k, step), EZEP_DuplicateItem);
            } else {
                d.Add(k, step);
                m[k] = step;
            }
            break;
        case 1:
            d.AddOrSetValue(k, step);
            m[k] = step;
            break;
        case 2:
            d.Remove(k);
            m.erase(k);
            break;
        case 3: {
            int v;
            const bool found = d.TryGetValue(k, v);
            ASSERT_EQ(found, m.count(k) == 1);
            if (found) {
                ASSERT_EQ(v, m[k]);
            }
            break;
        }
        }
        ASSERT_EQ(d.Count(), static_cast<int>(m.size()));
        if (step % 5000 == 0)
            d.TrimExcess();
    }
    for (const auto& [k, v] : m)
        EXPECT_EQ(d.Items(k), v);
    EXPECT_EQ(d.Keys().size(), m.size());
}
