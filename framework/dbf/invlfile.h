#pragma once

#include "framework/dbf/printfile.h"

#include <array>

// The 14 quantities of one size slot of an inventory-list line, in column order.
struct TinvlMengen {
    int32_t Typ01 = 0, Typ02 = 0, Typ12 = 0, Typ08 = 0, Typ09 = 0, Typ11 = 0, Typ10 = 0;
    int32_t Typ14 = 0, Typ15 = 0, Typ13 = 0, Soll = 0, Diff = 0, Ist = 0, FVK = 0;

    static constexpr int Anzahl = 14;
    int32_t& operator[](int k);
    int32_t operator[](int k) const;
    friend bool operator==(const TinvlMengen&, const TinvlMengen&) = default;
};

constexpr int CINVL_Slots = 17;   // size slots per line (block)
constexpr int CINVL_SummenFiliale = 999999;   // branch of a summary line

// One inventory-list line: article, branch, count date and one block of up to 17 slots.
struct TinvlSatz {
    int32_t LfdNr = 0;
    int32_t BlockNr = 0;
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    TInt32Trio Produkt_ID;
    TInt32Trio Produkt_ID2;
    int32_t Filiale = 0;
    QChar FilKZ;
    QString WGN;
    QString ArtNr;
    int32_t LiefNr = 0;
    QString LiefArtNr;
    int32_t LiefNr2 = 0;
    QString LiefArtNr2;
    QChar ArtKZ;
    std::array<QString, 6> Merkmal;
    QString Bezeichnung;
    TDateTime LetztesVorgangsDatum = 0;
    int32_t ReNr = 0;
    int32_t ReNr2 = 0;
    double EK = 0;
    double AbwProzent = 0;
    double EK_Abgewertet = 0;
    int32_t GrVon = 0;
    int32_t GrBis = 0;
    std::array<TinvlMengen, CINVL_Slots> Mengen{};
    int32_t Sum_Typ01 = 0, Sum_Typ02 = 0, Sum_Typ08 = 0, Sum_Typ09 = 0, Sum_Typ11 = 0, Sum_Typ10 = 0;
    int32_t Sum_Typ12 = 0, Sum_Typ14 = 0, Sum_Typ13 = 0, Sum_Typ15 = 0;
    int32_t Sum_Soll = 0, Sum_Diff = 0, Sum_Ist = 0;
    int32_t Sum_AbsMengen = 0;
    int32_t Sum_AbsDiff = 0;
    int32_t Sum_FVK = 0;
    double VK = 0;
    double Soll_EKWert = 0, Soll_EKWert_Abgew = 0, Soll_VKWert = 0;
    double Ist_EKWert = 0, Ist_EKWert_Abgew = 0, Ist_VKWert = 0;
    double Diff_EKWert = 0, Diff_EKWert_Abgew = 0, Diff_VKWert = 0;
    int32_t AnzRegal = 0;
    // purchase and sales price of each slot of the block, for valuing netted differences;
    // no columns of the table
    std::array<double, CINVL_Slots> EKPreis{};
    std::array<double, CINVL_Slots> VKPreis{};

    friend bool operator==(const TinvlSatz&, const TinvlSatz&) = default;
};

// The 14 quantity kinds of a line in column order: the column name ("Typ01" gives the
// columns Typ01_00 ... Typ01_16), the member of a slot, and the member of the total over all
// slots (the totals are written on the first block line only).
struct TINVL_MengenArt {
    const char* Name;
    int32_t TinvlMengen::*Slot;
    int32_t TinvlSatz::*Summe;
};
inline constexpr TINVL_MengenArt CINVL_MengenArten[TinvlMengen::Anzahl] = {
    {"Typ01", &TinvlMengen::Typ01, &TinvlSatz::Sum_Typ01}, {"Typ02", &TinvlMengen::Typ02, &TinvlSatz::Sum_Typ02},
    {"Typ12", &TinvlMengen::Typ12, &TinvlSatz::Sum_Typ12}, {"Typ08", &TinvlMengen::Typ08, &TinvlSatz::Sum_Typ08},
    {"Typ09", &TinvlMengen::Typ09, &TinvlSatz::Sum_Typ09}, {"Typ11", &TinvlMengen::Typ11, &TinvlSatz::Sum_Typ11},
    {"Typ10", &TinvlMengen::Typ10, &TinvlSatz::Sum_Typ10}, {"Typ14", &TinvlMengen::Typ14, &TinvlSatz::Sum_Typ14},
    {"Typ15", &TinvlMengen::Typ15, &TinvlSatz::Sum_Typ15}, {"Typ13", &TinvlMengen::Typ13, &TinvlSatz::Sum_Typ13},
    {"Soll", &TinvlMengen::Soll, &TinvlSatz::Sum_Soll},    {"Diff", &TinvlMengen::Diff, &TinvlSatz::Sum_Diff},
    {"Ist", &TinvlMengen::Ist, &TinvlSatz::Sum_Ist},       {"FVK", &TinvlMengen::FVK, &TinvlSatz::Sum_FVK}};

inline int32_t& TinvlMengen::operator[](int k) { return this->*CINVL_MengenArten[k].Slot; }
inline int32_t TinvlMengen::operator[](int k) const { return this->*CINVL_MengenArten[k].Slot; }

// The nine values of a line (on its first block line only).
inline constexpr double TinvlSatz::* CINVL_Werte[] = {
    &TinvlSatz::Soll_EKWert, &TinvlSatz::Soll_EKWert_Abgew, &TinvlSatz::Soll_VKWert,
    &TinvlSatz::Ist_EKWert,  &TinvlSatz::Ist_EKWert_Abgew,  &TinvlSatz::Ist_VKWert,
    &TinvlSatz::Diff_EKWert, &TinvlSatz::Diff_EKWert_Abgew, &TinvlSatz::Diff_VKWert};

// INVL print data file.
class Tinvlfile : public TDbfSatzDatei<TinvlSatz> {
public:
    const std::vector<TDbfFeld<TinvlSatz>>& Layout() const override;
    // Quantity sub-record j = 0..16 of the buffer.
    TinvlMengen& GetMengen(int j);
    // Description datum i = 1..6 of the buffer.
    QString& GetBeschreibungsdaten(int i);
};
