#include "framework/db/files/ivfile.h"

Tivfile::Tivfile(int openMode, int param) : TZEP_DBFile(QStringLiteral("IV"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&WiJahr, &ZaehlDatum, &Filiale, &Produkt_ID, &BestTyp,
                                                            &StandNeu, &StandAlt, &KZGebucht, &Menge})
        FeldAdd(*f);
    KeyAdd({&WiJahr, &ZaehlDatum, &Filiale, &Produkt_ID, &BestTyp});
}

TivSatz Tivfile::GetSatz() const
{
    return {WiJahr.GetWert(), ZaehlDatum.GetWert(), Filiale.GetWert(), Produkt_ID.GetWert(), BestTyp.GetWert(),
            StandNeu.GetWert(), StandAlt.GetWert(), KZGebucht.GetWert(), Menge.GetWert()};
}

void Tivfile::SetSatz(const TivSatz& s)
{
    WiJahr.SetWert(s.WiJahr);
    ZaehlDatum.SetWert(s.ZaehlDatum);
    Filiale.SetWert(s.Filiale);
    Produkt_ID.SetWert(s.Produkt_ID);
    BestTyp.SetWert(s.BestTyp);
    StandNeu.SetWert(s.StandNeu);
    StandAlt.SetWert(s.StandAlt);
    KZGebucht.SetWert(s.KZGebucht);
    Menge.SetWert(s.Menge);
}
