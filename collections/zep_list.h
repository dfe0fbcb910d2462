#pragma once

#include "collections/zep_comparer.h"
#include "collections/zep_errors.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <vector>

// Notification kinds passed to OnNotify.
enum TZEP_CollectionNotification { cnAdded = 1, cnExtracted = 3, cnRemoved = 5 };

// Growable list. The element array's length is the capacity; Items_Ptr gives the address
// of an element in place, valid until the capacity changes. Every search uses the list's
// comparer.
template <class T>
class TZEP_List {
public:
    using TNotifyEvent = std::function<void(TZEP_List&, const T&, TZEP_CollectionNotification)>;

    TZEP_List() = default;
    explicit TZEP_List(TZEP_Comparison<T> AComparer) : FComparer(std::move(AComparer)) {}
    TZEP_List(std::initializer_list<T> Collection) { AddRange(Collection); }
    explicit TZEP_List(const std::vector<T>& Collection) { AddRange(Collection); }

    // A new list with the default comparer holding a copy of AMother's elements.
    static TZEP_List Clone(const TZEP_List& AMother)
    {
        TZEP_List r;
        r.AddRange(AMother);
        return r;
    }

    int Count() const { return FCount; }
    int GetCapacity() const { return static_cast<int>(FItems.size()); }
    const TZEP_Comparison<T>& Comparer() const { return FComparer; }
    TNotifyEvent OnNotify;

    const T& GetItem(int Index) const
    {
        CheckIndex(Index);
        return FItems[Index];
    }
    const T& Items(int Index) const { return GetItem(Index); }
    void SetItem(int Index, const T& Value)
    {
        CheckIndex(Index);
        T alt = std::move(FItems[Index]);
        FItems[Index] = Value;
        Notify(alt, cnRemoved);
        Notify(FItems[Index], cnAdded);
    }
    T* GetItem_Ptr(int Index)
    {
        CheckIndex(Index);
        return &FItems[Index];
    }
    T* Items_Ptr(int Index) { return GetItem_Ptr(Index); }
    const T* Items_Ptr(int Index) const
    {
        CheckIndex(Index);
        return &FItems[Index];
    }

    void SetCount(int Value)
    {
        if (Value < 0)
            throw EZEP_ArgumentOutOfRange();
        if (Value > FCount) {
            GrowCheck(Value);
            FCount = Value;
        } else if (Value < FCount) {
            DeleteRange(Value, FCount - Value);
        }
    }

    void SetCapacity(int Value)
    {
        if (Value < FCount)
            SetCount(Value);
        FItems.resize(static_cast<size_t>(Value));
    }

    int Add(const T& Value)
    {
        GrowCheck(FCount + 1);
        const int i = FCount;
        FItems[i] = Value;
        ++FCount;
        Notify(FItems[i], cnAdded);
        return i;
    }

    template <class Range>
    void AddRange(const Range& Values)
    {
        InsertRange(FCount, Values);
    }
    void AddRange(std::initializer_list<T> Values) { InsertRange(FCount, std::vector<T>(Values)); }

    void Insert(int Index, const T& Value)
    {
        if (Index < 0 || Index > FCount)
            throw EZEP_ArgumentOutOfRange();
        GrowCheck(FCount + 1);
        std::move_backward(FItems.begin() + Index, FItems.begin() + FCount, FItems.begin() + FCount + 1);
        FItems[Index] = Value;
        ++FCount;
        Notify(FItems[Index], cnAdded);
    }

    template <class Range>
    void InsertRange(int Index, const Range& Values)
    {
        if (Index < 0 || Index > FCount)
            throw EZEP_ArgumentOutOfRange();
        std::vector<T> neu(std::begin(Values), std::end(Values));   // Values may be this list
        const int n = static_cast<int>(neu.size());
        if (n == 0)
            return;
        GrowCheck(FCount + n);
        std::move_backward(FItems.begin() + Index, FItems.begin() + FCount, FItems.begin() + FCount + n);
        std::move(neu.begin(), neu.end(), FItems.begin() + Index);
        FCount += n;
        for (int i = Index; i < Index + n; ++i)
            Notify(FItems[i], cnAdded);
    }

    int Remove(const T& Value)
    {
        const int i = IndexOf(Value);
        if (i >= 0)
            DoDelete(i, cnRemoved);
        return i;
    }

    void Delete(int Index)
    {
        CheckIndex(Index);
        DoDelete(Index, cnRemoved);
    }

    void DeleteRange(int AIndex, int ACount)
    {
        if (AIndex < 0 || ACount < 0 || AIndex + ACount > FCount)
            throw EZEP_ArgumentOutOfRange();
        if (ACount == 0)
            return;
        std::vector<T> weg(std::make_move_iterator(FItems.begin() + AIndex),
                           std::make_move_iterator(FItems.begin() + AIndex + ACount));
        std::move(FItems.begin() + AIndex + ACount, FItems.begin() + FCount, FItems.begin() + AIndex);
        std::fill(FItems.begin() + FCount - ACount, FItems.begin() + FCount, T{});
        FCount -= ACount;
        for (const T& w : weg)
            Notify(w, cnRemoved);
    }

    // Removes the first equal element and returns it; a zero value when there is none.
    T Extract(const T& Value)
    {
        const int i = IndexOf(Value);
        if (i < 0)
            return T{};
        return DoDelete(i, cnExtracted);
    }

    // Indexes are not checked: callers pass valid ones.
    void Exchange(int Index1, int Index2) { std::swap(FItems[Index1], FItems[Index2]); }

    void Move(int CurIndex, int NewIndex)
    {
        if (CurIndex == NewIndex)
            return;
        if (NewIndex < 0 || NewIndex >= FCount)
            throw EZEP_ArgumentOutOfRange();
        T tmp = std::move(FItems[CurIndex]);
        if (CurIndex < NewIndex)
            std::move(FItems.begin() + CurIndex + 1, FItems.begin() + NewIndex + 1, FItems.begin() + CurIndex);
        else
            std::move_backward(FItems.begin() + NewIndex, FItems.begin() + CurIndex, FItems.begin() + CurIndex + 1);
        FItems[NewIndex] = std::move(tmp);
    }

    const T& First() const { return GetItem(0); }
    const T& Last() const { return GetItem(FCount - 1); }

    // Count and capacity 0.
    void Clear()
    {
        std::vector<T> weg;
        weg.swap(FItems);
        const int n = FCount;
        FCount = 0;
        for (int i = 0; i < n; ++i)
            Notify(weg[i], cnRemoved);
    }

    bool Contains(const T& Value) const { return IndexOf(Value) >= 0; }
    int IndexOf(const T& Value) const
    {
        for (int i = 0; i < FCount; ++i)
            if (Cmp(FItems[i], Value) == 0)
                return i;
        return -1;
    }
    int LastIndexOf(const T& Value) const
    {
        for (int i = FCount - 1; i >= 0; --i)
            if (Cmp(FItems[i], Value) == 0)
                return i;
        return -1;
    }

    void Reverse() { std::reverse(FItems.begin(), FItems.begin() + FCount); }

    // Unstable sort: equal elements may change their order.
    void Sort()
    {
        if (FComparer)
            Sort(FComparer);
        else
            std::sort(FItems.begin(), FItems.begin() + FCount,
                      [](const T& a, const T& b) { return ZEP_DefaultCompare(a, b) < 0; });
    }
    void Sort(const TZEP_Comparison<T>& AComparer)
    {
        std::sort(FItems.begin(), FItems.begin() + FCount, [&](const T& a, const T& b) { return AComparer(a, b) < 0; });
    }

    void TrimExcess() { FItems.resize(static_cast<size_t>(FCount)); }
    std::vector<T> ToArray() const { return std::vector<T>(begin(), end()); }

    // Lower-bound search: Index is the first position whose element is not smaller than
    // Item; the result tells whether an equal element was met.
    bool BinarySearch(const T& Item) const
    {
        int i;
        return BinarySearch(Item, i);
    }
    bool BinarySearch(const T& Item, int& Index) const
    {
        return FComparer ? BinarySearch(Item, Index, FComparer) : LowerBound(Item, Index, &ZEP_DefaultCompare<T>);
    }
    bool BinarySearch(const T& Item, int& Index, const TZEP_Comparison<T>& AComparer) const
    {
        return LowerBound(Item, Index, AComparer);
    }

    // Inserts AItem at its sorted position unless an equal element is there; the result is
    // that position in both cases.
    int AddToSortedList_IfNotContained(const T& AItem)
    {
        int i;
        if (!BinarySearch(AItem, i))
            Insert(i, AItem);
        return i;
    }
    int AddToSortedList_IfNotContained(const T& AItem, const TZEP_Comparison<T>& AComparer)
    {
        int i;
        if (!BinarySearch(AItem, i, AComparer))
            Insert(i, AItem);
        return i;
    }

    void AssignFrom(const TZEP_List& AOther)
    {
        if (&AOther == this)
            return;
        Clear();
        AddRange(AOther);
    }

    // Union (AInAllenAnderen false) or intersection of the lists, sorted and free of
    // duplicates; one list is copied as it is. An intersection sorts its input lists in
    // place up to the shortest one, which becomes the reference list.
    void MergeFrom(const std::vector<TZEP_List*>& AOtherArray, bool AInAllenAnderen)
    {
        Clear();
        if (AOtherArray.empty())
            return;
        if (AOtherArray.size() == 1) {
            AssignFrom(*AOtherArray.front());
            return;
        }
        if (!AInAllenAnderen) {
            for (const TZEP_List* l : AOtherArray)
                for (const T& v : *l)
                    AddToSortedList_IfNotContained(v);
            return;
        }
        int kleinste = INT_MAX;
        TZEP_List* referenz = nullptr;
        for (TZEP_List* l : AOtherArray) {
            if (l->Count() <= kleinste) {
                kleinste = l->Count();
                referenz = l;
                if (kleinste < 1)
                    return;
            }
            l->Sort();
        }
        for (const T& v : *referenz) {
            bool inAllen = true;
            for (const TZEP_List* l : AOtherArray)
                if (l != referenz && !l->BinarySearch(v)) {
                    inAllen = false;
                    break;
                }
            if (inAllen)
                AddToSortedList_IfNotContained(v);
        }
    }

    bool IsEmpty() const { return FCount < 1; }
    bool IndexInRange(int AIndex) const { return AIndex >= 0 && AIndex < FCount; }
    void AddIfNotContained(const T& Value)
    {
        if (!Contains(Value))
            Add(Value);
    }

    const T* begin() const { return FItems.data(); }
    const T* end() const { return FItems.data() + FCount; }
    T* begin() { return FItems.data(); }
    T* end() { return FItems.data() + FCount; }

private:
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= FCount)
            throw EZEP_ArgumentOutOfRange();
    }

    int Cmp(const T& a, const T& b) const { return FComparer ? FComparer(a, b) : ZEP_DefaultCompare(a, b); }

    template <class F>
    bool LowerBound(const T& Item, int& Index, const F& cmp) const
    {
        int low = 0, high = FCount - 1;
        bool found = false;
        while (low <= high) {
            const int mid = low + (high - low) / 2;
            const int c = cmp(FItems[mid], Item);
            if (c < 0) {
                low = mid + 1;
            } else {
                high = mid - 1;
                if (c == 0)
                    found = true;
            }
        }
        Index = low;
        return found;
    }

    // Ensures capacity for ACount elements: from 0 straight to ACount, else doubling.
    void GrowCheck(int ACount)
    {
        if (ACount < 0)
            throw EZEP_OutOfMemory();
        int cap = GetCapacity();
        if (ACount <= cap)
            return;
        if (cap == 0) {
            cap = ACount;
        } else {
            while (cap < ACount) {
                if (cap >= (1 << 30))
                    throw EZEP_OutOfMemory();
                cap *= 2;
            }
        }
        FItems.resize(static_cast<size_t>(cap));
    }

    T DoDelete(int Index, TZEP_CollectionNotification kind)
    {
        T weg = std::move(FItems[Index]);
        std::move(FItems.begin() + Index + 1, FItems.begin() + FCount, FItems.begin() + Index);
        --FCount;
        FItems[FCount] = T{};
        Notify(weg, kind);
        return weg;
    }

    void Notify(const T& item, TZEP_CollectionNotification kind)
    {
        if (OnNotify)
            OnNotify(*this, item, kind);
    }

    std::vector<T> FItems;
    int FCount = 0;
    TZEP_Comparison<T> FComparer;
};
