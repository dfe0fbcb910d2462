#include "framework/db/files/bnefile.h"

TBNEFile::TBNEFile(int openMode, int param) : TZEP_DBFile(QStringLiteral("BNE"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&Produkt_ID, &Filiale, &Datum, &Filiale2, &BewArt, &BestTyp, &Menge})
        FeldAdd(*f);
    KeyAdd({&Produkt_ID, &Filiale, &Datum});
}

TBNESatz TBNEFile::GetSatz() const
{
    return {Produkt_ID.GetWert(), Filiale.GetWert(), Datum.GetWert(), Filiale2.GetWert(),
            BewArt.GetWert(), BestTyp.GetWert(), Menge.GetWert()};
}

void TBNEFile::SetSatz(const TBNESatz& s)
{
    Produkt_ID.SetWert(s.Produkt_ID);
    Filiale.SetWert(s.Filiale);
    Datum.SetWert(s.Datum);
    Filiale2.SetWert(s.Filiale2);
    BewArt.SetWert(s.BewArt);
    BestTyp.SetWert(s.BestTyp);
    Menge.SetWert(s.Menge);
}
