#include "framework/db/files/iafile.h"

Tiafile::Tiafile(int openMode, int param) : TZEP_DBFile(QStringLiteral("IA"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&WiJahr, &ZaehlDatum, &WGN, &Filiale, &SollEK, &IstEK, &KZZaehlung})
        FeldAdd(*f);
    KeyAdd({&ZaehlDatum, &WGN, &Filiale});
}

TiaSatz Tiafile::GetSatz() const
{
    return {WiJahr.GetWert(), ZaehlDatum.GetWert(), WGN.GetWert(), Filiale.GetWert(),
            SollEK.GetWert(), IstEK.GetWert(), KZZaehlung.GetWert()};
}

void Tiafile::SetSatz(const TiaSatz& s)
{
    WiJahr.SetWert(s.WiJahr);
    ZaehlDatum.SetWert(s.ZaehlDatum);
    WGN.SetWert(s.WGN);
    Filiale.SetWert(s.Filiale);
    SollEK.SetWert(s.SollEK);
    IstEK.SetWert(s.IstEK);
    KZZaehlung.SetWert(s.KZZaehlung);
}
