#include "framework/db/files/renrfile.h"

Trenrfile::Trenrfile(int openMode, int param) : TZEP_DBFile(QStringLiteral("RENR"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&Produkt_ID, &ReNr, &ReNr2})
        FeldAdd(*f);
    KeyAdd({&Produkt_ID});
}

TrenrSatz Trenrfile::GetSatz() const
{
    return {Produkt_ID.GetWert(), ReNr.GetWert(), ReNr2.GetWert()};
}

void Trenrfile::SetSatz(const TrenrSatz& s)
{
    Produkt_ID.SetWert(s.Produkt_ID);
    ReNr.SetWert(s.ReNr);
    ReNr2.SetWert(s.ReNr2);
}
