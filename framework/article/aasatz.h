#pragma once

#include "framework/core/int32trio.h"

#include <QString>

#include <array>

// Article master record.
struct TAASatz {
    TInt32Trio Produkt_ID;
    QString ArtNr;
    QString Bezeichnung;
    QString WGN;
    int32_t GGKey = 0;        // size grid
    uint8_t GrVon = 0;        // first and last size number (1-based slot)
    uint8_t GrBis = 0;
    TIntPair Partner1;        // supplier partner keys; null when missing
    QString LiefArtNr;
    TIntPair Partner2;
    QString LiefArtNr2;
    int32_t MwStKz = 0;
    char16_t ArtKZ = 0;
    std::array<QString, 6> Merkmal;
    QString Saison;
};
