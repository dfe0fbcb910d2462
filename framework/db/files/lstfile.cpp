#include "framework/db/files/lstfile.h"

Tlstfile::Tlstfile(int openMode, int param) : TZEP_DBFile(QStringLiteral("LST"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&PosTyp, &Filiale, &Datum, &Produkt_ID, &Groesse, &Menge, &Preis})
        FeldAdd(*f);
    KeyAdd({&Filiale, &Datum, &Produkt_ID});
}

TlstSatz Tlstfile::GetSatz() const
{
    return {PosTyp.GetWert(), Filiale.GetWert(), Datum.GetWert(), Produkt_ID.GetWert(),
            Groesse.GetWert(), Menge.GetWert(), Preis.GetWert()};
}

void Tlstfile::SetSatz(const TlstSatz& s)
{
    PosTyp.SetWert(s.PosTyp);
    Filiale.SetWert(s.Filiale);
    Datum.SetWert(s.Datum);
    Produkt_ID.SetWert(s.Produkt_ID);
    Groesse.SetWert(s.Groesse);
    Menge.SetWert(s.Menge);
    Preis.SetWert(s.Preis);
}
