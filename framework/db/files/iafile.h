#pragma once

#include "framework/db/satzdatei.h"

struct TiaSatz {
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    QString WGN;
    int32_t Filiale = 0;
    double SollEK = 0;
    double IstEK = 0;
    QChar KZZaehlung;
};

// Inventory file IA: one record per inventory. Key 0: ZaehlDatum, WGN, Filiale.
class Tiafile : public TZEP_SatzDatei<TiaSatz> {
public:
    explicit Tiafile(int openMode = 0, int param = -1);

    TDatumDatenFeld WiJahr{"WiJahr", "wijahr"};
    TDatumDatenKeyFeld ZaehlDatum{"ZaehlDatum", "zaehldatum"};
    TStringDatenKeyFeld WGN{"WGN", "wgn", 10};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TDoubleDatenFeld SollEK{"SollEK", "sollek"};
    TDoubleDatenFeld IstEK{"IstEK", "istek"};
    TCharDatenFeld KZZaehlung{"KZZaehlung", "kzzaehlung"};
};
