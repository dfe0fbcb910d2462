#pragma once

#include "framework/db/satzdatei.h"

struct TrenrSatz {
    TInt32Trio Produkt_ID;
    int32_t ReNr = 0;
    int32_t ReNr2 = 0;
};

// Invoice-number pairs RENR, one per article. Key 0: Produkt_ID.
class Trenrfile : public TZEP_SatzDatei<TrenrSatz> {
public:
    explicit Trenrfile(int openMode = 0, int param = -1);

    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenFeld ReNr{"ReNr", "renr"};
    TIntegerDatenFeld ReNr2{"ReNr2", "renr2"};
};
