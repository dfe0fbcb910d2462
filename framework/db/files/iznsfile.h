#pragma once

#include "framework/db/satzdatei.h"

struct TiznsSatz {
    TDateTime ZaehlDatum = 0;
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    QChar Satzart;   // "G": total count of the branch, "R": count of one shelf
    int32_t Regal = 0;
    int32_t Gezaehlt = 0;
    int32_t GrVon = 0;
    int32_t GrBis = 0;
    TMengen100 GR_MESU{};   // index n-1 holds size number n
};

// Count records IZNS. Key 0: ZaehlDatum, Produkt_ID, Filiale, Satzart, Regal.
class Tiznsfile : public TZEP_SatzDatei<TiznsSatz> {
public:
    explicit Tiznsfile(int openMode = 0, int param = -1);

    TDatumDatenKeyFeld ZaehlDatum{"ZaehlDatum", "zaehldatum"};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TCharDatenKeyFeld Satzart{"Satzart", "satzart"};
    TIntegerDatenKeyFeld Regal{"Regal", "regal"};
    TIntegerDatenFeld Gezaehlt{"Gezaehlt", "gezaehlt"};
    TIntegerDatenFeld GrVon{"GrVon", "grvon"};
    TIntegerDatenFeld GrBis{"GrBis", "grbis"};
    TMengenDatenFeld GR_MESU{"GR_MESU", "gr_mesu", 1};

    // Quantity of size number n = 1..100.
    int32_t GetGR_MESU(int n) const;
};
