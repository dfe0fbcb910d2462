#pragma once

#include "framework/db/satzdatei.h"

// Target record: the book stock of one stock type per size at the count date.
struct TivSatz {
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    int32_t Filiale = 0;
    TInt32Trio Produkt_ID;
    QChar BestTyp;
    int32_t StandNeu = 0;
    int32_t StandAlt = 0;
    QChar KZGebucht;   // "A": posted
    TMengen100 Menge{};
};

// Target records IV. Key 0: WiJahr, ZaehlDatum, Filiale, Produkt_ID, BestTyp.
class Tivfile : public TZEP_SatzDatei<TivSatz> {
public:
    explicit Tivfile(int openMode = 0, int param = -1);

    TDatumDatenKeyFeld WiJahr{"WiJahr", "wijahr"};
    TDatumDatenKeyFeld ZaehlDatum{"ZaehlDatum", "zaehldatum"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TCharDatenKeyFeld BestTyp{"BestTyp", "besttyp"};
    TIntegerDatenFeld StandNeu{"StandNeu", "standneu"};
    TIntegerDatenFeld StandAlt{"StandAlt", "standalt"};
    TCharDatenFeld KZGebucht{"KZGebucht", "kzgebucht"};
    TMengenDatenFeld Menge{"Menge", "menge", 0};
};
