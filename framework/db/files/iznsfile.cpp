#include "framework/db/files/iznsfile.h"

#include "framework/core/fehler.h"

Tiznsfile::Tiznsfile(int openMode, int param) : TZEP_DBFile(QStringLiteral("IZNS"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&ZaehlDatum, &Produkt_ID, &Filiale, &Satzart, &Regal,
                                                            &Gezaehlt, &GrVon, &GrBis, &GR_MESU})
        FeldAdd(*f);
    KeyAdd({&ZaehlDatum, &Produkt_ID, &Filiale, &Satzart, &Regal});
}

int32_t Tiznsfile::GetGR_MESU(int n) const
{
    if (n < 1 || n > 100)
        FehlerRaise(QStringLiteral("Tiznsfile.GetGR_MESU"), {QStringLiteral("Größennummer %1 außerhalb 1..100").arg(n)});
    return GR_MESU.GetWert()[n - 1];
}

TiznsSatz Tiznsfile::GetSatz() const
{
    return {ZaehlDatum.GetWert(), Produkt_ID.GetWert(), Filiale.GetWert(), Satzart.GetWert(), Regal.GetWert(),
            Gezaehlt.GetWert(), GrVon.GetWert(), GrBis.GetWert(), GR_MESU.GetWert()};
}

void Tiznsfile::SetSatz(const TiznsSatz& s)
{
    ZaehlDatum.SetWert(s.ZaehlDatum);
    Produkt_ID.SetWert(s.Produkt_ID);
    Filiale.SetWert(s.Filiale);
    Satzart.SetWert(s.Satzart);
    Regal.SetWert(s.Regal);
    Gezaehlt.SetWert(s.Gezaehlt);
    GrVon.SetWert(s.GrVon);
    GrBis.SetWert(s.GrBis);
    GR_MESU.SetWert(s.GR_MESU);
}
