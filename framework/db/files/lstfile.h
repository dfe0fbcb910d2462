#pragma once

#include "framework/db/satzdatei.h"

// Sales-document line.
struct TlstSatz {
    QString PosTyp;   // line kind as its LST code
    int32_t Filiale = 0;
    TDateTime Datum = 0;
    TInt32Trio Produkt_ID;
    int32_t Groesse = 0;
    int32_t Menge = 0;
    double Preis = 0;
};

// Sales-document lines LST. Key 0: Filiale, Datum, Produkt_ID.
class Tlstfile : public TZEP_SatzDatei<TlstSatz> {
public:
    explicit Tlstfile(int openMode = 0, int param = -1);

    TStringDatenFeld PosTyp{"PosTyp", "postyp", 3};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TDatumDatenKeyFeld Datum{"Datum", "datum"};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenFeld Groesse{"Groesse", "groesse"};
    TIntegerDatenFeld Menge{"Menge", "menge"};
    TDoubleDatenFeld Preis{"Preis", "preis"};
};
