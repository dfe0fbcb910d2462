#pragma once

#include <QString>
#include <cstdint>

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
};

// Two-part integer key, for example client and supplier.
struct TIntPair {
    int32_t Int1 = 0;
    int32_t Int2 = 0;

    bool IsNull() const { return Int1 == 0 && Int2 == 0; }
    friend bool operator==(const TIntPair&, const TIntPair&) = default;
};
