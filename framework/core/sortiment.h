#pragma once

#include "framework/core/int32trio.h"

#include <array>
#include <cstdint>
#include <vector>

// Prices per size slot: a list of entries, each covering the slots Von..Bis with one price.
struct TORV_PreisEintrag {
    uint8_t Von = 0;
    uint8_t Bis = 0;
    uint8_t Reserve[6] = {};
    double Preis = 0;
};
static_assert(sizeof(TORV_PreisEintrag) == 16);

struct TORV_Intv100_Preis {
    std::vector<TORV_PreisEintrag> Eintraege;   // ordered by slot

    void Clear() { Eintraege.clear(); }
    bool IsEmpty() const { return Eintraege.empty(); }
};

// Stretches the set over the slots von..bis: the first entry starts at von, the last ends
// at bis, and a gap between two entries is covered by the entry before it.
void Intv100_PreisMinMaxAufblasen(int von, int bis, TORV_Intv100_Preis& set);
// The price of one slot; 0 when no entry covers it.
double Preis_4_Index(const TORV_Intv100_Preis& set, int slot);

// Value of a change of pieces per size slot at the set's prices, each price rounded to the cent
// first, summed unrounded: what the counted value of an inventory moves by when its counts change.
double Intv100_AenderungBewerten(const TORV_Intv100_Preis& set, const std::array<int64_t, 100>& aenderung);

// Quantities per size slot: slot i holds size number i+1. MinInd..MaxInd is the range of
// non-zero slots as last determined.
struct TORV_Intv100_Sortiment_Me {
    uint8_t MinInd = 0;
    uint8_t MaxInd = 0;
    std::array<int32_t, 100> Me{};

    void Init() { *this = {}; }
    bool IsEmpty() const;
    // Sets MinInd/MaxInd to the first and last non-zero slot. An all-zero vector gets the
    // empty range MinInd = 1, MaxInd = 0, so that walks over the range visit no slot.
    void MinMax_Suchen();
    void MinMax_Bestimmen() { MinMax_Suchen(); }
    int64_t Sum() const;
    int64_t AbsSum() const;
    void Copy(const TORV_Intv100_Sortiment_Me& quelle) { *this = quelle; }
    void CopyMitFaktor(const TORV_Intv100_Sortiment_Me& quelle, int32_t faktor);
    void Add(const TORV_Intv100_Sortiment_Me& b);
    void Sub(const TORV_Intv100_Sortiment_Me& b);
    void Mul(int32_t faktor);
    // Value at the prices: each slot's quantity times its price, summed in extended precision.
    long double Bewerten(const TORV_Intv100_Preis& preise) const;

    friend bool operator==(const TORV_Intv100_Sortiment_Me&, const TORV_Intv100_Sortiment_Me&) = default;
};

struct TORV_Intv100_Sortiment_MeMitFil {
    int32_t Fil = 0;
    TORV_Intv100_Sortiment_Me Me;
};

struct TORV_Intv100_Sortiment_MeMitProduktId {
    TInt32Trio ProduktId;
    TORV_Intv100_Sortiment_Me Me;
};

// With the inventory manager's extra word.
struct TORV_Intv100_Sortiment_MeMitOV {
    int32_t OV = 0;
    TORV_Intv100_Sortiment_Me Me;
};

long double Bewerten(const TORV_Intv100_Sortiment_Me& me, const TORV_Intv100_Preis& preise);
