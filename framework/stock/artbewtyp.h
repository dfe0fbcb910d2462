#pragma once

#include <array>
#include <cstdint>

// Article movement kinds. The position in the table is the kind's ordinal in the program;
// DbCode is what the movement file (BNE) stores. Kinds that do not change a quantity
// (price changes, statistics) have Mengenwirksam false.
struct TORV_ArtBewTyp {
    const char* Kuerzel;
    uint8_t DbCode;
    bool Mengenwirksam;
    const char* Text;
};

constexpr int CORV_ArtBewTyp_Anzahl = 49;
extern const std::array<TORV_ArtBewTyp, CORV_ArtBewTyp_Anzahl> CORV_ArtBewTyp_Strg;

// Positions used by the program and the demo chain.
enum TORV_ArtBewTyp_Pos : int {
    abtWareneingang = 0,
    abtPreisaenderung = 1,
    abtVerkauf = 2,
    abtRetoure = 3,
    abtUmlagerungAbgang = 4,
    abtUmlagerungZugang = 5,
    abtInventurdifferenz = 18,   // posting kind 18: count minus target
    abtInventurUebernahme = 22,  // posting kind 22: quantity taken over at booking
    abtLagerplatzUmbuchung = 45,
    abtStatistik = 46,
    abtPreiskorrektur = 47,
    abtEtikettendruck = 48,
};

uint8_t ArtBewTyp_DbCode(TORV_ArtBewTyp_Pos pos);
