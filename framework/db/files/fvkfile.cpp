#include "framework/db/files/fvkfile.h"

TFvkFile::TFvkFile(int openMode, int param) : TZEP_DBFile(QStringLiteral("FVK"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&Produkt_ID, &Filiale, &Datum, &Uhrzeit, &Vorgangsart, &Belegart,
                                                            &Groesse, &Vorzeichen, &Menge, &Preis1, &Preis2, &Zusatznummer,
                                                            &Zusatztext, &BelegPaar, &BelegNr})
        FeldAdd(*f);
    KeyAdd({&Produkt_ID, &Filiale, &Datum, &Uhrzeit});
}

TFvkSatz TFvkFile::GetSatz() const
{
    return {Produkt_ID.GetWert(), Filiale.GetWert(), Datum.GetWert(), Uhrzeit.GetWert(), Vorgangsart.GetWert(),
            Belegart.GetWert(), Groesse.GetWert(), Vorzeichen.GetWert(), Menge.GetWert(), Preis1.GetWert(),
            Preis2.GetWert(), Zusatznummer.GetWert(), Zusatztext.GetWert(), BelegPaar.GetWert(), BelegNr.GetWert()};
}

void TFvkFile::SetSatz(const TFvkSatz& s)
{
    Produkt_ID.SetWert(s.Produkt_ID);
    Filiale.SetWert(s.Filiale);
    Datum.SetWert(s.Datum);
    Uhrzeit.SetWert(s.Uhrzeit);
    Vorgangsart.SetWert(s.Vorgangsart);
    Belegart.SetWert(s.Belegart);
    Groesse.SetWert(s.Groesse);
    Vorzeichen.SetWert(s.Vorzeichen);
    Menge.SetWert(s.Menge);
    Preis1.SetWert(s.Preis1);
    Preis2.SetWert(s.Preis2);
    Zusatznummer.SetWert(s.Zusatznummer);
    Zusatztext.SetWert(s.Zusatztext);
    BelegPaar.SetWert(s.BelegPaar);
    BelegNr.SetWert(s.BelegNr);
}
