#include "demo/demogenerator.h"

#include "framework/core/geld.h"
#include "framework/db/transaktion.h"


#include <cmath>

TDemoGenerator::TDemoGenerator(TDemoParameter p) : FP(std::move(p)), FZustand(FP.Seed * 0x9E3779B97F4A7C15ull + 1) {}

// splitmix64: portable, so that one seed gives the same chain on every machine
int TDemoGenerator::Zufall(int von, int bis)
{
    uint64_t z = (FZustand += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return von + static_cast<int>(z % static_cast<uint64_t>(bis - von + 1));
}

TDateTime TDemoGenerator::WiJahrAktuell(QDate heute)
{
    const int jahr = heute.month() >= 2 ? heute.year() : heute.year() - 1;
    return EncodeDate(jahr, 2, 1);
}

void TDemoGenerator::Erzeugen(QSqlDatabase db)
{
    TTransaktion t(QStringLiteral("TDemoGenerator"), db);
    Stammdaten(db);
    Artikelstamm(db);
    Bewegungen(db);
    Inventuren(db);
    t.Commit();
}

std::array<int32_t, 100> TDemoGenerator::BestandAm(const TArtikel& a, int filiale, int besttyp, TDateTime tag) const
{
    std::array<int32_t, 100> r{};
    const auto it = FBewegungen.find({static_cast<int>(&a - FArtikel.data()), filiale});
    if (it == FBewegungen.end())
        return r;
    for (const TBewegung& b : it->second)
        if (b.BestTyp == besttyp && DateOf(b.Datum) <= DateOf(tag))
            for (int i = 0; i < 100; ++i)
                r[i] += b.Menge[i];
    return r;
}

double TDemoGenerator::EkAm(const TArtikel& a, int slot) const
{
    const double ek = a.SlotGross > 0 && slot >= a.SlotGross ? a.EKGross : a.EK;
    return AufCentRunden(ek);
}
