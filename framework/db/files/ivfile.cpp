#include "framework/db/files/ivfile.h"

Tivfile::Tivfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("IV"), openMode, param)
{
    using S = TivSatz;
    Spalten({SatzSpalte(WiJahr, &S::WiJahr),
             SatzSpalte(ZaehlDatum, &S::ZaehlDatum),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(BestTyp, &S::BestTyp),
             SatzSpalte(StandNeu, &S::StandNeu),
             SatzSpalte(StandAlt, &S::StandAlt),
             SatzSpalte(KZGebucht, &S::KZGebucht),
             SatzSpalte(Menge, &S::Menge)});
    KeyAdd({&WiJahr, &ZaehlDatum, &Filiale, &Produkt_ID, &BestTyp});
}
