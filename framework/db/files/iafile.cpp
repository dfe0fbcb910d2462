#include "framework/db/files/iafile.h"

Tiafile::Tiafile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("IA"), openMode, param)
{
    using S = TiaSatz;
    Spalten({SatzSpalte(WiJahr, &S::WiJahr),
             SatzSpalte(ZaehlDatum, &S::ZaehlDatum),
             SatzSpalte(WGN, &S::WGN),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(SollEK, &S::SollEK),
             SatzSpalte(IstEK, &S::IstEK),
             SatzSpalte(KZZaehlung, &S::KZZaehlung)});
    KeyAdd({&ZaehlDatum, &WGN, &Filiale});
}
