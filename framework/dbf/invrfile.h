#pragma once

#include "framework/dbf/invlfile.h"

// One filled shelf of a count, for one block of an inventory-list line.
struct TinvrSatz {
    int32_t LfdNr = 0;
    int32_t BlockNr = 0;
    int32_t Regal = 0;
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    QChar FilKZ;
    std::array<int32_t, CINVL_Slots> Menge{};
    int32_t GesMenge = 0;
    double EKWert = 0;
    double EKWert_Abgew = 0;
    double VKWert = 0;

    friend bool operator==(const TinvrSatz&, const TinvrSatz&) = default;
};

// INVR print data file.
class Tinvrfile : public TDbfSatzDatei<TinvrSatz> {
public:
    const std::vector<TDbfFeld<TinvrSatz>>& Layout() const override;
    int32_t& GetMengen(int j);
};
