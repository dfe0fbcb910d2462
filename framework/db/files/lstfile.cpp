#include "framework/db/files/lstfile.h"

Tlstfile::Tlstfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("LST"), openMode, param)
{
    using S = TlstSatz;
    Spalten({SatzSpalte(PosTyp, &S::PosTyp),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Groesse, &S::Groesse),
             SatzSpalte(Menge, &S::Menge),
             SatzSpalte(Preis, &S::Preis)});
    KeyAdd({&Filiale, &Datum, &Produkt_ID});
}
