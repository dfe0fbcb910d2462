#include "framework/core/int32trio.h"

#include <cstring>

QString TInt32Trio::ToText() const
{
    return QStringLiteral("%1.%2.%3").arg(Int1).arg(Int2).arg(Int3);
}

int TInt32Trio::Compare(const TInt32Trio& a, const TInt32Trio& b)
{
    const int r = std::memcmp(&a, &b, sizeof(TInt32Trio));
    return (r > 0) - (r < 0);
}
