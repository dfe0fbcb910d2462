#include "framework/db/files/renrfile.h"

Trenrfile::Trenrfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("RENR"), openMode, param)
{
    using S = TrenrSatz;
    Spalten({SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(ReNr, &S::ReNr),
             SatzSpalte(ReNr2, &S::ReNr2)});
    KeyAdd({&Produkt_ID});
}
