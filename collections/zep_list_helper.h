#pragma once

#include "collections/zep_list.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

template <class T>
class TZEP_List_Helper {
public:
    TZEP_List_Helper() = delete;

    // Count difference when the counts differ or both lists are empty; otherwise the first
    // non-zero pairwise comparison, or 0.
    static int CompareTwoLists(const TZEP_List<T>& AList1, const TZEP_List<T>& AList2, const TZEP_Comparison<T>& AComparer)
    {
        if (AList1.Count() != AList2.Count() || AList1.Count() == 0)
            return AList1.Count() - AList2.Count();
        for (int i = 0; i < AList1.Count(); ++i)
            if (const int r = AComparer(AList1.GetItem(i), AList2.GetItem(i)); r != 0)
                return r;
        return 0;
    }
    static int CompareTwoLists(const TZEP_List<T>& AList1, const TZEP_List<T>& AList2)
    {
        return CompareTwoLists(AList1, AList2, ZEP_DefaultComparer<T>());
    }

    // Compares sorted copies; the inputs stay as they are.
    static int CompareTwoLists_OrderIrrelevant(const TZEP_List<T>& AList1, const TZEP_List<T>& AList2,
                                               const TZEP_Comparison<T>& AComparer)
    {
        TZEP_List<T> a = TZEP_List<T>::Clone(AList1);
        TZEP_List<T> b = TZEP_List<T>::Clone(AList2);
        a.Sort(AComparer);
        b.Sort(AComparer);
        return CompareTwoLists(a, b, AComparer);
    }

    // Sorts with the list's comparer and keeps the first of each run of elements that
    // compare equal (with AComparer) to the last one kept.
    static void SortAndRemoveDuplicates(TZEP_List<T>& AList, const TZEP_Comparison<T>& AComparer)
    {
        if (AList.IsEmpty())
            return;
        AList.Sort();
        std::vector<T> alle = AList.ToArray();
        AList.Clear();
        AList.Add(alle.front());
        for (size_t i = 1; i < alle.size(); ++i)
            if (AComparer(alle[i], AList.Last()) != 0)
                AList.Add(alle[i]);
    }
    static void SortAndRemoveDuplicates(TZEP_List<T>& AList)
    {
        SortAndRemoveDuplicates(AList, AList.Comparer() ? AList.Comparer() : ZEP_DefaultComparer<T>());
    }

    // Binary search, then back to the first of several equal elements.
    static bool BinarySearch_First(const TZEP_List<T>& AList, const T& AItem, int& AIndex)
    {
        const bool found = AList.BinarySearch(AItem, AIndex);
        if (found) {
            const TZEP_Comparison<T> cmp = AList.Comparer() ? AList.Comparer() : ZEP_DefaultComparer<T>();
            while (AIndex > 0 && cmp(AList.GetItem(AIndex - 1), AItem) == 0)
                --AIndex;
        }
        return found;
    }

    template <class Range, class F>
    static QString ToCommaSeperatedString(const Range& AList, F AToStringFunc)
    {
        QStringList texte;
        for (const T& v : AList)
            texte << AToStringFunc(v);
        return texte.join(QStringLiteral(", "));
    }
    template <class Range, class F, class C>
    static QString ToCommaSeperatedString(const Range& AList, F AToStringFunc, const C& AValue)
    {
        return ToCommaSeperatedString(AList, [&](const T& v) { return AToStringFunc(v, AValue); });
    }

    // One element per text line.
    template <class F>
    static void SaveToStream(const TZEP_List<T>& ASource, QIODevice& ATarget, F AToStringFunc)
    {
        QTextStream out(&ATarget);
        for (const T& v : ASource)
            out << AToStringFunc(v) << '\n';
        out.flush();
    }
    template <class F>
    static void LoadFromStream(QIODevice& ASource, TZEP_List<T>& ATarget, F AFromStringFunc)
    {
        ATarget.Clear();
        QTextStream in(&ASource);
        QString zeile;
        while (in.readLineInto(&zeile))
            ATarget.Add(AFromStringFunc(zeile));
    }

    // Enumerates the addresses of the elements, for changing them in place.
    struct TPEnumerator {
        TZEP_List<T>* FList;
        struct Iter {
            T* p;
            T* operator*() const { return p; }
            Iter& operator++()
            {
                ++p;
                return *this;
            }
            bool operator!=(const Iter& o) const { return p != o.p; }
        };
        Iter begin() const { return {FList->begin()}; }
        Iter end() const { return {FList->end()}; }
    };
    static TPEnumerator GetPEnumerator(TZEP_List<T>& AList) { return {&AList}; }
};
