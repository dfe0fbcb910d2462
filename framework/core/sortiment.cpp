#include "framework/core/sortiment.h"

#include "framework/core/geld.h"

#include <cstdlib>

void Intv100_PreisMinMaxAufblasen(int von, int bis, TORV_Intv100_Preis& set)
{
    auto& e = set.Eintraege;
    if (e.empty())
        return;
    e.front().Von = static_cast<uint8_t>(std::min<int>(e.front().Von, von));
    for (size_t i = 0; i + 1 < e.size(); ++i)
        if (e[i].Bis + 1 < e[i + 1].Von)
            e[i].Bis = static_cast<uint8_t>(e[i + 1].Von - 1);
    e.back().Bis = static_cast<uint8_t>(std::max<int>(e.back().Bis, bis));
}

double Preis_4_Index(const TORV_Intv100_Preis& set, int slot)
{
    for (const TORV_PreisEintrag& p : set.Eintraege)
        if (slot >= p.Von && slot <= p.Bis)
            return p.Preis;
    return 0;
}

bool TORV_Intv100_Sortiment_Me::IsEmpty() const
{
    for (int32_t m : Me)
        if (m != 0)
            return false;
    return true;
}

void TORV_Intv100_Sortiment_Me::MinMax_Suchen()
{
    int lo = 0;
    while (lo < 100 && Me[lo] == 0)
        ++lo;
    if (lo == 100) {
        MinInd = 1;
        MaxInd = 0;
        return;
    }
    int hi = 99;
    while (Me[hi] == 0)
        --hi;
    MinInd = static_cast<uint8_t>(lo);
    MaxInd = static_cast<uint8_t>(hi);
}

int64_t TORV_Intv100_Sortiment_Me::Sum() const
{
    int64_t s = 0;
    for (int32_t m : Me)
        s += m;
    return s;
}

int64_t TORV_Intv100_Sortiment_Me::AbsSum() const
{
    int64_t s = 0;
    for (int32_t m : Me)
        s += std::llabs(m);
    return s;
}

void TORV_Intv100_Sortiment_Me::CopyMitFaktor(const TORV_Intv100_Sortiment_Me& quelle, int32_t faktor)
{
    *this = quelle;
    Mul(faktor);
}

void TORV_Intv100_Sortiment_Me::Add(const TORV_Intv100_Sortiment_Me& b)
{
    for (int i = 0; i < 100; ++i)
        Me[i] += b.Me[i];
}

void TORV_Intv100_Sortiment_Me::Sub(const TORV_Intv100_Sortiment_Me& b)
{
    for (int i = 0; i < 100; ++i)
        Me[i] -= b.Me[i];
}

void TORV_Intv100_Sortiment_Me::Mul(int32_t faktor)
{
    for (int32_t& m : Me)
        m *= faktor;
}

long double TORV_Intv100_Sortiment_Me::Bewerten(const TORV_Intv100_Preis& preise) const
{
    long double w = 0;
    for (const TORV_PreisEintrag& p : preise.Eintraege)
        for (int i = p.Von; i <= p.Bis && i < 100; ++i)
            w += static_cast<long double>(Me[i]) * p.Preis;
    return w;
}

long double Bewerten(const TORV_Intv100_Sortiment_Me& me, const TORV_Intv100_Preis& preise)
{
    return me.Bewerten(preise);
}

double Intv100_AenderungBewerten(const TORV_Intv100_Preis& set, const std::array<int64_t, 100>& aenderung)
{
    double wert = 0;
    for (const TORV_PreisEintrag& e : set.Eintraege)
        for (int i = e.Von; i <= e.Bis && i < 100; ++i)
            wert += static_cast<double>(aenderung[static_cast<size_t>(i)]) * AufCentRunden(e.Preis);
    return wert;
}
