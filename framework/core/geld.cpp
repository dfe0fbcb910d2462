#include "framework/core/geld.h"

#include <cmath>
#include <cstdint>

double Abgewertet(double wert, double prozent)
{
    return static_cast<double>((1.0L - prozent / 100.0L) * static_cast<long double>(wert));
}

double AufCentRunden(double betrag)
{
    constexpr int64_t CMillionstelJeCent = 1000000;
    const int64_t millionstel = std::llround(static_cast<long double>(betrag) * 100.0L * CMillionstelJeCent);
    int64_t cent = millionstel / CMillionstelJeCent;
    int64_t rest = millionstel % CMillionstelJeCent;
    if (rest < 0) {   // floor division, so that the rest lies in [0, 1 cent)
        --cent;
        rest += CMillionstelJeCent;
    }
    if (rest * 2 > CMillionstelJeCent || (rest * 2 == CMillionstelJeCent && cent % 2 != 0))
        ++cent;
    return static_cast<double>(cent) / 100.0;
}
