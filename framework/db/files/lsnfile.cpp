#include "framework/db/files/lsnfile.h"

Tlsnfile::Tlsnfile(int openMode, int param) : TZEP_DBFile(QStringLiteral("LSN"), openMode, param)
{
    for (TDatenfeld* f : std::initializer_list<TDatenfeld*>{&Mandant, &Datum, &Filiale, &Zusatznummer1, &Zusatznummer2,
                                                            &Belegcode, &Zusatztext, &Produkt_ID, &Groesse, &GroessenIndex,
                                                            &Vorzeichen, &Menge, &Wert1, &Wert2, &Uhrzeit, &Referenz})
        FeldAdd(*f);
    KeyAdd({&Filiale, &Datum, &Produkt_ID});
}

TlsnSatz Tlsnfile::GetSatz() const
{
    return {Mandant.GetWert(), Datum.GetWert(), Filiale.GetWert(), Zusatznummer1.GetWert(), Zusatznummer2.GetWert(),
            Belegcode.GetWert(), Zusatztext.GetWert(), Produkt_ID.GetWert(), Groesse.GetWert(), GroessenIndex.GetWert(),
            Vorzeichen.GetWert(), Menge.GetWert(), Wert1.GetWert(), Wert2.GetWert(), Uhrzeit.GetWert(), Referenz.GetWert()};
}

void Tlsnfile::SetSatz(const TlsnSatz& s)
{
    Mandant.SetWert(s.Mandant);
    Datum.SetWert(s.Datum);
    Filiale.SetWert(s.Filiale);
    Zusatznummer1.SetWert(s.Zusatznummer1);
    Zusatznummer2.SetWert(s.Zusatznummer2);
    Belegcode.SetWert(s.Belegcode);
    Zusatztext.SetWert(s.Zusatztext);
    Produkt_ID.SetWert(s.Produkt_ID);
    Groesse.SetWert(s.Groesse);
    GroessenIndex.SetWert(s.GroessenIndex);
    Vorzeichen.SetWert(s.Vorzeichen);
    Menge.SetWert(s.Menge);
    Wert1.SetWert(s.Wert1);
    Wert2.SetWert(s.Wert2);
    Uhrzeit.SetWert(s.Uhrzeit);
    Referenz.SetWert(s.Referenz);
}
