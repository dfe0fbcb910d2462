#include "framework/db/files/lsnfile.h"

Tlsnfile::Tlsnfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("LSN"), openMode, param)
{
    using S = TlsnSatz;
    Spalten({SatzSpalte(Mandant, &S::Mandant),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Zusatznummer1, &S::Zusatznummer1),
             SatzSpalte(Zusatznummer2, &S::Zusatznummer2),
             SatzSpalte(Belegcode, &S::Belegcode),
             SatzSpalte(Zusatztext, &S::Zusatztext),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Groesse, &S::Groesse),
             SatzSpalte(GroessenIndex, &S::GroessenIndex),
             SatzSpalte(Vorzeichen, &S::Vorzeichen),
             SatzSpalte(Menge, &S::Menge),
             SatzSpalte(Wert1, &S::Wert1),
             SatzSpalte(Wert2, &S::Wert2),
             SatzSpalte(Uhrzeit, &S::Uhrzeit),
             SatzSpalte(Referenz, &S::Referenz)});
    KeyAdd({&Filiale, &Datum, &Produkt_ID});
}
