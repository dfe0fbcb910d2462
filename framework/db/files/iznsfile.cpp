#include "framework/db/files/iznsfile.h"

#include "framework/core/fehler.h"

Tiznsfile::Tiznsfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("IZNS"), openMode, param)
{
    using S = TiznsSatz;
    Spalten({SatzSpalte(ZaehlDatum, &S::ZaehlDatum),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Satzart, &S::Satzart),
             SatzSpalte(Regal, &S::Regal),
             SatzSpalte(Gezaehlt, &S::Gezaehlt),
             SatzSpalte(GrVon, &S::GrVon),
             SatzSpalte(GrBis, &S::GrBis),
             SatzSpalte(GR_MESU, &S::GR_MESU)});
    KeyAdd({&ZaehlDatum, &Produkt_ID, &Filiale, &Satzart, &Regal});
}

int32_t Tiznsfile::GetGR_MESU(int n) const
{
    if (n < 1 || n > 100)
        FehlerRaise(QStringLiteral("Tiznsfile.GetGR_MESU"), {QStringLiteral("Größennummer %1 außerhalb 1..100").arg(n)});
    return GR_MESU.GetWert()[n - 1];
}
