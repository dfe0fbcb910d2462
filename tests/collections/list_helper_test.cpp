#include "collections/zep_list_helper.h"

#include <QBuffer>

#include <gtest/gtest.h>

using H = TZEP_List_Helper<int>;

TEST(TZEP_List_Helper, CompareTwoLists)
{
    TZEP_List<int> a{1, 2}, b{1, 2, 3}, c{1, 3}, d{2, 1}, e, f;
    EXPECT_EQ(H::CompareTwoLists(a, b), -1);
    EXPECT_GT(H::CompareTwoLists(c, a), 0);
    EXPECT_EQ(H::CompareTwoLists(e, f), 0);
    EXPECT_NE(H::CompareTwoLists(a, d), 0);
    EXPECT_EQ(H::CompareTwoLists_OrderIrrelevant(d, a, ZEP_DefaultComparer<int>()), 0);
    EXPECT_EQ(d.First(), 2) << "inputs stay unsorted";
}

TEST(TZEP_List_Helper, SortAndRemoveDuplicatesKeepsTheFirstOfARun)
{
    TZEP_List<int> l{2, 1, 2, 1};
    H::SortAndRemoveDuplicates(l);
    EXPECT_EQ(l.ToArray(), (std::vector<int>{1, 2}));

    // equal by tens: the first element of each run in sorted order survives
    TZEP_List<int> t{15, 11, 23, 12};
    H::SortAndRemoveDuplicates(t, [](const int& a, const int& b) { return a / 10 - b / 10; });
    EXPECT_EQ(t.ToArray(), (std::vector<int>{11, 23}));

    TZEP_List<int> leer;
    H::SortAndRemoveDuplicates(leer);
    EXPECT_TRUE(leer.IsEmpty());
}

TEST(TZEP_List_Helper, BinarySearchFirstFindsTheFirstOfEqualElements)
{
    TZEP_List<int> l{1, 4, 4, 4, 4, 4, 4, 9};
    int i;
    EXPECT_TRUE(TZEP_List_Helper<int>::BinarySearch_First(l, 4, i));
    EXPECT_EQ(i, 1);
    EXPECT_FALSE(TZEP_List_Helper<int>::BinarySearch_First(l, 5, i));
    EXPECT_EQ(i, 7);
}

TEST(TZEP_List_Helper, CommaSeparatedTextsAndStreams)
{
    TZEP_List<int> l{1, 2, 3};
    const auto text = [](const int& v) { return QString::number(v); };
    EXPECT_EQ(H::ToCommaSeperatedString(l, text), "1, 2, 3");
    EXPECT_EQ(H::ToCommaSeperatedString(std::vector<int>{}, text), "");
    EXPECT_EQ(H::ToCommaSeperatedString(l, [](const int& v, const QString& p) { return p + QString::number(v); },
                                        QString("#")),
              "#1, #2, #3");

    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    H::SaveToStream(l, buf, text);
    buf.seek(0);
    TZEP_List<int> gelesen{99};
    H::LoadFromStream(buf, gelesen, [](const QString& s) { return s.toInt(); });
    EXPECT_EQ(gelesen.ToArray(), l.ToArray());
}

TEST(TZEP_List_Helper, PointerEnumerationChangesInPlace)
{
    TZEP_List<int> l{1, 2, 3};
    for (int* p : H::GetPEnumerator(l))
        *p *= 10;
    EXPECT_EQ(l.ToArray(), (std::vector<int>{10, 20, 30}));
}
