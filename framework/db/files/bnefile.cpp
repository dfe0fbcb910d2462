#include "framework/db/files/bnefile.h"

TBNEFile::TBNEFile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("BNE"), openMode, param)
{
    using S = TBNESatz;
    Spalten({SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Filiale2, &S::Filiale2),
             SatzSpalte(BewArt, &S::BewArt),
             SatzSpalte(BestTyp, &S::BestTyp),
             SatzSpalte(Menge, &S::Menge)});
    KeyAdd({&Produkt_ID, &Filiale, &Datum});
}
