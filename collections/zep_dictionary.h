#pragma once

#include "collections/zep_errors.h"
#include "collections/zep_list.h"

#include <QHash>
#include <QString>

#include <functional>
#include <utility>

template <class K>
struct TZEP_EqualityComparer {
    std::function<bool(const K&, const K&)> Equals = [](const K& a, const K& b) { return a == b; };
    std::function<int(const K&)> GetHashCode = [](const K& k) {
        if constexpr (std::is_same_v<K, QString>)
            return static_cast<int>(qHash(k));
        else
            return static_cast<int>(std::hash<K>{}(k));
    };
};

// Open-addressing hash map: a power-of-two slot array of at least 4 slots, linear probing,
// hash code -1 for an empty slot, growth when the count reaches three quarters of the
// slots, and removal that moves later entries of the probe chain back into the gap.
template <class K, class V>
class TZEP_Dictionary {
public:
    using TPair = std::pair<K, V>;
    std::function<void(const K&, TZEP_CollectionNotification)> OnKeyNotify;
    std::function<void(const V&, TZEP_CollectionNotification)> OnValueNotify;

    TZEP_Dictionary() = default;
    explicit TZEP_Dictionary(int ACapacity) { SetCapacity(ACapacity); }
    explicit TZEP_Dictionary(TZEP_EqualityComparer<K> AComparer) : FComparer(std::move(AComparer)) {}
    explicit TZEP_Dictionary(const std::vector<TPair>& ACollection)
    {
        for (const TPair& p : ACollection)
            Add(p.first, p.second);
    }
    static TZEP_Dictionary Clone(const TZEP_Dictionary& AMother)
    {
        TZEP_Dictionary r;
        for (const TItem& it : AMother.FItems)
            if (it.HashCode != CEmpty)
                r.Add(it.Key, it.Value);
        return r;
    }

    int Count() const { return FCount; }
    int SlotCount() const { return static_cast<int>(FItems.size()); }

    void Add(const K& Key, const V& Value)
    {
        const int hc = Hash(Key);
        if (GetBucketIndex(Key, hc) >= 0)
            throw EZEP_DuplicateItem();
        DoAdd(hc, Key, Value);
    }

    void Remove(const K& Key) { DoRemove(Key, cnRemoved); }

    // Removes the key and returns its pair; a missing key gives the key with a zero value.
    TPair ExtractPair(const K& Key)
    {
        const int i = GetBucketIndex(Key, Hash(Key));
        if (i < 0)
            return {Key, V{}};
        TPair r{FItems[i].Key, FItems[i].Value};
        DoRemove(Key, cnExtracted);
        return r;
    }

    void Clear()
    {
        std::vector<TItem> alt;
        alt.swap(FItems);
        FCount = 0;
        FGrowThreshold = 0;
        for (const TItem& it : alt)
            if (it.HashCode != CEmpty) {
                KeyNotify(it.Key, cnRemoved);
                ValueNotify(it.Value, cnRemoved);
            }
    }

    void TrimExcess() { SetCapacity(FCount + 1); }

    bool TryGetValue(const K& Key, V& Value) const
    {
        const int i = GetBucketIndex(Key, Hash(Key));
        Value = i >= 0 ? FItems[i].Value : V{};
        return i >= 0;
    }

    void AddOrSetValue(const K& Key, const V& Value)
    {
        const int hc = Hash(Key);
        const int i = GetBucketIndex(Key, hc);
        if (i < 0) {
            DoAdd(hc, Key, Value);
            return;
        }
        V alt = std::move(FItems[i].Value);
        FItems[i].Value = Value;
        ValueNotify(alt, cnRemoved);
        ValueNotify(FItems[i].Value, cnAdded);
    }

    bool ContainsKey(const K& Key) const { return GetBucketIndex(Key, Hash(Key)) >= 0; }
    bool ContainsValue(const V& Value) const
    {
        for (const TItem& it : FItems)
            if (it.HashCode != CEmpty && it.Value == Value)
                return true;
        return false;
    }

    const V& Items(const K& Key) const { return *const_cast<TZEP_Dictionary*>(this)->GetPItem(Key); }

    // Address of the stored value, or nil with ASuccess false.
    V* TryGetValuePointer(const K& Key, bool& ASuccess)
    {
        const int i = GetBucketIndex(Key, Hash(Key));
        ASuccess = i >= 0;
        return ASuccess ? &FItems[i].Value : nullptr;
    }
    V* GetPItem(const K& Key)
    {
        bool ok;
        V* p = TryGetValuePointer(Key, ok);
        if (!ok)
            throw EZEP_ItemNotFound();
        return p;
    }

    // Pairs, keys and values in slot order.
    std::vector<TPair> Pairs() const
    {
        std::vector<TPair> r;
        for (const TItem& it : FItems)
            if (it.HashCode != CEmpty)
                r.emplace_back(it.Key, it.Value);
        return r;
    }
    std::vector<K> Keys() const
    {
        std::vector<K> r;
        for (const TItem& it : FItems)
            if (it.HashCode != CEmpty)
                r.push_back(it.Key);
        return r;
    }
    std::vector<V> Values() const
    {
        std::vector<V> r;
        for (const TItem& it : FItems)
            if (it.HashCode != CEmpty)
                r.push_back(it.Value);
        return r;
    }

private:
    static constexpr int CEmpty = -1;
    struct TItem {
        int HashCode = CEmpty;
        K Key{};
        V Value{};
    };

    int Hash(const K& Key) const { return static_cast<int>(static_cast<unsigned>(FComparer.GetHashCode(Key) + 1u) & 0x7FFFFFFFu); }

    int GetBucketIndex(const K& Key, int hc) const
    {
        if (FItems.empty())
            return -1;
        const int mask = SlotCount() - 1;
        for (int i = hc & mask;; i = (i + 1) & mask) {
            const TItem& it = FItems[i];
            if (it.HashCode == CEmpty)
                return -1;
            if (it.HashCode == hc && FComparer.Equals(it.Key, Key))
                return i;
        }
    }

    int FreeBucket(int hc) const
    {
        const int mask = SlotCount() - 1;
        int i = hc & mask;
        while (FItems[i].HashCode != CEmpty)
            i = (i + 1) & mask;
        return i;
    }

    // Capacity is rounded up to a power of two of at least 4; the entries are rehashed.
    void SetCapacity(int ACapacity)
    {
        if (ACapacity < FCount)
            throw EZEP_ArgumentOutOfRange();
        int neu = 0;
        if (ACapacity > 0) {
            neu = 4;
            while (neu < ACapacity)
                neu *= 2;
        }
        std::vector<TItem> alt;
        alt.swap(FItems);
        FItems.resize(static_cast<size_t>(neu));
        FGrowThreshold = neu / 4 * 3;
        for (TItem& it : alt)
            if (it.HashCode != CEmpty)
                FItems[FreeBucket(it.HashCode)] = std::move(it);
    }

    void DoAdd(int hc, const K& Key, const V& Value)
    {
        if (FCount >= FGrowThreshold)
            SetCapacity(SlotCount() == 0 ? 4 : SlotCount() * 2);
        TItem& it = FItems[FreeBucket(hc)];
        it.HashCode = hc;
        it.Key = Key;
        it.Value = Value;
        ++FCount;
        KeyNotify(it.Key, cnAdded);
        ValueNotify(it.Value, cnAdded);
    }

    void DoRemove(const K& Key, TZEP_CollectionNotification kind)
    {
        int gap = GetBucketIndex(Key, Hash(Key));
        if (gap < 0)
            return;
        TItem weg = std::move(FItems[gap]);
        FItems[gap] = TItem{};
        const int mask = SlotCount() - 1;
        // Move later entries of the probe chain back unless their home slot lies
        // cyclically in (gap, i].
        for (int i = (gap + 1) & mask; FItems[i].HashCode != CEmpty; i = (i + 1) & mask) {
            const int home = FItems[i].HashCode & mask;
            const bool bleibt = gap < i ? (gap < home && home <= i) : (gap < home || home <= i);
            if (!bleibt) {
                FItems[gap] = std::move(FItems[i]);
                FItems[i] = TItem{};
                gap = i;
            }
        }
        --FCount;
        KeyNotify(weg.Key, kind);
        ValueNotify(weg.Value, kind);
    }

    void KeyNotify(const K& k, TZEP_CollectionNotification kind)
    {
        if (OnKeyNotify)
            OnKeyNotify(k, kind);
    }
    void ValueNotify(const V& v, TZEP_CollectionNotification kind)
    {
        if (OnValueNotify)
            OnValueNotify(v, kind);
    }

    std::vector<TItem> FItems;
    int FCount = 0;
    int FGrowThreshold = 0;
    TZEP_EqualityComparer<K> FComparer;
};
