#pragma once

#include "framework/db/satzdatei.h"

#include <algorithm>
#include <vector>

// Stock movement of one article, branch and stock type: quantity per size slot, positive
// into the branch's stock. Filiale2 is the other branch of a transfer.
struct TBNESatz {
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    TDateTime Datum = 0;
    int32_t Filiale2 = 0;
    int32_t BewArt = 0;   // movement kind code
    QChar BestTyp;
    TMengen100 Menge{};
};

// Stock movements BNE. Key 0: Produkt_ID, Filiale, Datum.
class TBNEFile : public TZEP_SatzDatei<TBNESatz> {
public:
    explicit TBNEFile(int openMode = 0, int param = -1);

    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TDatumDatenKeyFeld Datum{"Datum", "datum"};
    TIntegerDatenFeld Filiale2{"Filiale2", "filiale2"};
    TIntegerDatenFeld BewArt{"BewArt", "bewart"};
    TCharDatenFeld BestTyp{"BestTyp", "besttyp"};
    TMengenDatenFeld Menge{"Menge", "menge", 0};
};

// What the movements of one kind changed on one day: article, branch, day and the sum of
// their quantities per size slot.
struct TBNETagessumme {
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    TDateTime Datum = 0;
    TMengen100 Menge{};
    bool Leer() const { return std::all_of(Menge.begin(), Menge.end(), [](int32_t m) { return m == 0; }); }
};
// The day sums of the movements of kind bewArt (its code) that do not cancel out.
std::vector<TBNETagessumme> BNE_Tagessummen(int32_t bewArt, const QString& ort);
// The day sum of one article and branch.
TBNETagessumme BNE_Tagessumme(int32_t bewArt, const TInt32Trio& produktId, int32_t filiale, TDateTime datum, const QString& ort);
