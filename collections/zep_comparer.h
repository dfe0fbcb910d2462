#pragma once

#include <QString>

#include <cstring>
#include <functional>
#include <type_traits>

// Comparison result < 0, 0, > 0. An empty comparer stands for the default one.
template <class T>
using TZEP_Comparison = std::function<int(const T&, const T&)>;

// The default order of an element type: numeric for numbers (TDateTime among them),
// ordinal and case-sensitive for strings, and byte-wise over the memory of a plain record
// (unsigned bytes from the first one), so (256,0,0) sorts before (1,0,0).
template <class T>
int ZEP_DefaultCompare(const T& a, const T& b)
{
    if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
        return (b < a) - (a < b);
    } else if constexpr (std::is_same_v<T, QString>) {
        const int r = QString::compare(a, b, Qt::CaseSensitive);
        return (r > 0) - (r < 0);
    } else {
        static_assert(std::is_trivially_copyable_v<T> && std::has_unique_object_representations_v<T>,
                      "no default order for this type: pass a comparer");
        const int r = std::memcmp(&a, &b, sizeof(T));
        return (r > 0) - (r < 0);
    }
}

template <class T>
TZEP_Comparison<T> ZEP_DefaultComparer()
{
    return [](const T& a, const T& b) { return ZEP_DefaultCompare(a, b); };
}
