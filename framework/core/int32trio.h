#pragma once

#include <QString>

#include <cstdint>
#include <tuple>

// Three-part 32-bit product identifier ("Produkt-ID"). All parts 0 is the null id.
struct TInt32Trio {
    int32_t Int1 = 0;
    int32_t Int2 = 0;
    int32_t Int3 = 0;

    static TInt32Trio Null() { return {}; }
    bool IsNull() const { return Int1 == 0 && Int2 == 0 && Int3 == 0; }
    QString ToText() const;

    // Byte-wise order over the record's memory, the default order of record lists.
    static int Compare(const TInt32Trio& a, const TInt32Trio& b);

    friend bool operator==(const TInt32Trio&, const TInt32Trio&) = default;

    // The order of SQL keys and scans: the three numbers one after the other.
    static bool Numerisch_Kleiner(const TInt32Trio& a, const TInt32Trio& b)
    {
        return std::tie(a.Int1, a.Int2, a.Int3) < std::tie(b.Int1, b.Int2, b.Int3);
    }
};

// Two-part integer key, for example client and supplier.
struct TIntPair {
    int32_t Int1 = 0;
    int32_t Int2 = 0;

    bool IsNull() const { return Int1 == 0 && Int2 == 0; }
    friend bool operator==(const TIntPair&, const TIntPair&) = default;
};
