#include "collections/zep_list.h"
#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"

#include <gtest/gtest.h>

#include <random>

namespace {
template <class T>
std::vector<T> V(const TZEP_List<T>& l)
{
    return l.ToArray();
}
}

TEST(TZEP_List, RangeChecksRaiseAndLeaveTheListUnchanged)
{
    TZEP_List<int> l{1, 2, 3};
    EXPECT_THROW(l.GetItem(3), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.Delete(-1), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.DeleteRange(0, 4), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.Insert(4, 9), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.SetItem(-1, 9), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.Move(0, 3), EZEP_ArgumentOutOfRange);
    EXPECT_THROW(l.SetCount(-1), EZEP_ArgumentOutOfRange);
    EXPECT_EQ(V(l), (std::vector<int>{1, 2, 3}));
    l.Insert(3, 4);   // inserting at Count is allowed
    EXPECT_EQ(V(l), (std::vector<int>{1, 2, 3, 4}));
}

TEST(TZEP_List, GrowthDoublesFromTheFirstRequest)
{
    TZEP_List<int> l;
    EXPECT_EQ(l.GetCapacity(), 0);
    l.Add(1);
    EXPECT_EQ(l.GetCapacity(), 1);
    l.Add(2);
    l.Add(3);
    EXPECT_EQ(l.GetCapacity(), 4);
    l.AddRange(std::vector<int>{4, 5, 6, 7, 8, 9});
    EXPECT_EQ(l.GetCapacity(), 16);
    l.TrimExcess();
    EXPECT_EQ(l.GetCapacity(), 9);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.GetCapacity(), 0);
    l.AddRange(std::vector<int>());
    EXPECT_EQ(l.GetCapacity(), 0) << "an empty range does not grow the list";
}

TEST(TZEP_List, NotificationsForAddStoreExtractAndRemove)
{
    TZEP_List<int> l;
    std::vector<std::pair<int, int>> log;
    l.OnNotify = [&](TZEP_List<int>&, const int& v, TZEP_CollectionNotification k) { log.emplace_back(v, k); };
    l.Add(7);
    l.Add(8);
    l.SetItem(0, 9);
    EXPECT_EQ(l.Extract(8), 8);
    EXPECT_EQ(l.Extract(42), 0);
    l.Remove(9);
    EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{7, 1}, {8, 1}, {7, 5}, {9, 1}, {8, 3}, {9, 5}}));
}

TEST(TZEP_List, BinarySearchIsLowerBoundAndAddToSortedKeepsOrder)
{
    TZEP_List<int> l{1, 3, 3, 3, 7};
    int i;
    EXPECT_TRUE(l.BinarySearch(3, i));
    EXPECT_EQ(i, 1);
    EXPECT_FALSE(l.BinarySearch(4, i));
    EXPECT_EQ(i, 4);
    EXPECT_FALSE(l.BinarySearch(9, i));
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(l.BinarySearch(7, i, [](const int& a, const int& b) { return (a > b) - (a < b); }));

    TZEP_List<int> s;
    EXPECT_EQ(s.AddToSortedList_IfNotContained(5), 0);
    EXPECT_EQ(s.AddToSortedList_IfNotContained(2), 0);
    EXPECT_EQ(s.AddToSortedList_IfNotContained(9), 2);
    EXPECT_EQ(s.AddToSortedList_IfNotContained(5), 1);   // already there: its index, count unchanged
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(V(s), (std::vector<int>{2, 5, 9}));
}

TEST(TZEP_List, DefaultComparers)
{
    TZEP_List<TInt32Trio> ids;
    ids.Add({1, 0, 0});
    ids.Add({256, 0, 0});
    ids.Sort();
    EXPECT_EQ(ids.GetItem(0), (TInt32Trio{256, 0, 0}));

    TZEP_List<QString> s{"b", "B", "a"};
    s.Sort();
    EXPECT_EQ(V(s), (std::vector<QString>{"B", "a", "b"}));
    EXPECT_FALSE(s.Contains("A"));

    TZEP_List<TDateTime> d{EncodeDate(2021, 2, 1), EncodeDate(2020, 2, 1)};
    d.Sort();
    EXPECT_EQ(d.First(), EncodeDate(2020, 2, 1));

    // searches use the list's comparer: case-insensitive list finds "A"
    TZEP_List<QString> ci([](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive); });
    ci.Add("a");
    EXPECT_TRUE(ci.Contains("A"));
    EXPECT_EQ(ci.IndexOf("A"), 0);
}

TEST(TZEP_List, MergeFromUnionIntersectionAndSingleList)
{
    TZEP_List<int> a{3, 1, 2}, b{2, 3, 4}, r;
    r.MergeFrom({&a, &b}, false);
    EXPECT_EQ(V(r), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(V(a), (std::vector<int>{3, 1, 2})) << "a union leaves its inputs as they are";

    r.MergeFrom({&a, &b}, true);
    EXPECT_EQ(V(r), (std::vector<int>{2, 3}));
    EXPECT_EQ(V(a), (std::vector<int>{1, 2, 3})) << "an intersection sorts its inputs";

    TZEP_List<int> one{3, 1, 3};
    r.MergeFrom({&one}, true);
    EXPECT_EQ(V(r), (std::vector<int>{3, 1, 3}));

    TZEP_List<int> c{5, 1}, leer;
    r.MergeFrom({&c, &leer}, true);
    EXPECT_TRUE(r.IsEmpty());
    r.MergeFrom({}, false);
    EXPECT_TRUE(r.IsEmpty());
}

TEST(TZEP_List, MoveExchangeReversePointersAndAssign)
{
    TZEP_List<int> l{0, 1, 2, 3, 4};
    l.Move(0, 3);
    EXPECT_EQ(V(l), (std::vector<int>{1, 2, 3, 0, 4}));
    l.Move(4, 1);
    EXPECT_EQ(V(l), (std::vector<int>{1, 4, 2, 3, 0}));
    l.Exchange(0, 4);
    l.Reverse();
    EXPECT_EQ(V(l), (std::vector<int>{1, 3, 2, 4, 0}));
    *l.Items_Ptr(2) = 20;
    EXPECT_EQ(l.GetItem(2), 20);
    EXPECT_EQ(l.LastIndexOf(0), 4);
    l.DeleteRange(1, 2);
    EXPECT_EQ(V(l), (std::vector<int>{1, 4, 0}));
    l.SetCount(5);
    EXPECT_EQ(V(l), (std::vector<int>{1, 4, 0, 0, 0})) << "new slots are zero";

    TZEP_List<int> k;
    k.AssignFrom(l);
    EXPECT_EQ(V(k), V(l));
    k.AddIfNotContained(4);
    k.AddIfNotContained(8);
    EXPECT_EQ(k.Count(), 6);
    EXPECT_TRUE(k.IndexInRange(5));
    EXPECT_FALSE(k.IndexInRange(6));
    l.InsertRange(0, l);   // a list inserted into itself
    EXPECT_EQ(l.Count(), 10);
}

TEST(TZEP_List, RandomOperationsMatchStdVector)
{
    std::mt19937 rng(4711);
    TZEP_List<int> l;
    std::vector<int> v;
    for (int step = 0; step < 20000; ++step) {
        const int op = static_cast<int>(rng() % 8);
        const int x = static_cast<int>(rng() % 50);
        const int n = static_cast<int>(v.size());
        switch (op) {
        case 0: case 1:
            l.Add(x);
            v.push_back(x);
            break;
        case 2: {
            const int i = n ? static_cast<int>(rng() % (n + 1)) : 0;
            l.Insert(i, x);
            v.insert(v.begin() + i, x);
            break;
        }
        case 3:
            if (n) {
                const int i = static_cast<int>(rng() % n);
                l.Delete(i);
                v.erase(v.begin() + i);
            }
            break;
        case 4: {
            const int i = l.Remove(x);
            auto it = std::find(v.begin(), v.end(), x);
            EXPECT_EQ(i, it == v.end() ? -1 : static_cast<int>(it - v.begin()));
            if (it != v.end())
                v.erase(it);
            break;
        }
        case 5:
            if (n > 1) {
                const int a = static_cast<int>(rng() % n), b = static_cast<int>(rng() % n);
                l.Move(a, b);
                const int t = v[a];
                v.erase(v.begin() + a);
                v.insert(v.begin() + b, t);
            }
            break;
        case 6:
            if (n) {
                const int i = static_cast<int>(rng() % n);
                const int c = static_cast<int>(rng() % (n - i + 1));
                l.DeleteRange(i, c);
                v.erase(v.begin() + i, v.begin() + i + c);
            }
            break;
        case 7:
            if (rng() % 100 == 0) {
                l.Sort();
                std::sort(v.begin(), v.end());
            }
            break;
        }
        ASSERT_EQ(l.Count(), static_cast<int>(v.size()));
    }
    EXPECT_EQ(V(l), v);
}
