#include "framework/db/files/fvkfile.h"

TFvkFile::TFvkFile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("FVK"), openMode, param)
{
    using S = TFvkSatz;
    Spalten({SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Uhrzeit, &S::Uhrzeit),
             SatzSpalte(Vorgangsart, &S::Vorgangsart),
             SatzSpalte(Belegart, &S::Belegart),
             SatzSpalte(Groesse, &S::Groesse),
             SatzSpalte(Vorzeichen, &S::Vorzeichen),
             SatzSpalte(Menge, &S::Menge),
             SatzSpalte(Preis1, &S::Preis1),
             SatzSpalte(Preis2, &S::Preis2),
             SatzSpalte(Zusatznummer, &S::Zusatznummer),
             SatzSpalte(Zusatztext, &S::Zusatztext),
             SatzSpalte(BelegPaar, &S::BelegPaar),
             SatzSpalte(BelegNr, &S::BelegNr)});
    KeyAdd({&Produkt_ID, &Filiale, &Datum, &Uhrzeit});
}
