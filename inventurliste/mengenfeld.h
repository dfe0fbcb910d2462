#pragma once

#include "framework/core/sortiment.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"

#include <array>
#include <functional>
#include <vector>

// All quantities of one article, branch and count date: the target per stock type 1..16
// (vectors 0..15), then Soll, Ist, Diff, FVK and UF.
using TMengenfeld = std::array<TORV_Intv100_Sortiment_Me, 21>;
enum TMengenfeldVektor : int { mfSoll = 16, mfIst = 17, mfDiff = 18, mfFVK = 19, mfUF = 20 };

// The count of one shelf.
struct TRegalMenge {
    int16_t Regal = 0;
    bool Gefuellt = false;   // at least one slot is not zero
    int32_t GesMenge = 0;
    TORV_Intv100_Sortiment_MeMitFil Menge_Regal;
};
using TRegalMengen = std::vector<TRegalMenge>;

// Adds a total count ("G") to Ist and Diff; a counted record of another kind raises the
// framework error at ort.
void MengenfeldZaehlsatzAddieren(TMengenfeld& feld, const TiznsSatz& satz, const QString& ort);

// Appends the count of one shelf ("R"); a counted record of another kind raises the
// framework error at ort with "Regalsatz erwartet!". Sizes outside 1..100 are left out.
void RegalmengeAnfuegen(TRegalMengen& regale, const TiznsSatz& satz, const QString& ort);

// Adds a target record: the stock-type vector takes it, Soll adds it, and Diff (counted
// stock types) or Ist (types that are not counted) follows. Records whose StandNeu is
// below StandAlt and stock types outside 1..16 are ignored.
void MengenfeldSollsatzAddieren(TMengenfeld& feld, const TivSatz& satz, const std::function<bool(int besttyp)>& istGezaehlt);

// Books one erroneous sale of a slot: a sign "1" or "2" means the quantity came back.
void FehlverkaufAnwenden(TMengenfeld& feld, int slot, QChar vorzeichen, int32_t menge);

// Adds f times a stock movement of one stock type to that type's target, Soll and Ist.
void BestandsbewegungAnwenden(TMengenfeld& feld, int besttyp, const TORV_Intv100_Sortiment_Me& bewegung, int32_t f);
