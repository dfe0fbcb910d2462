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

inline constexpr int32_t TinvlMengen::* CINVL_MengenFelder[TinvlMengen::Anzahl] = {
    &TinvlMengen::Typ01, &TinvlMengen::Typ02, &TinvlMengen::Typ12, &TinvlMengen::Typ08, &TinvlMengen::Typ09,
    &TinvlMengen::Typ11, &TinvlMengen::Typ10, &TinvlMengen::Typ14, &TinvlMengen::Typ15, &TinvlMengen::Typ13,
    &TinvlMengen::Soll, &TinvlMengen::Diff, &TinvlMengen::Ist, &TinvlMengen::FVK};

inline int32_t& TinvlMengen::operator[](int k) { return this->*CINVL_MengenFelder[k]; }
inline int32_t TinvlMengen::operator[](int k) const { return this->*CINVL_MengenFelder[k]; }

// Column names of the 14 quantities, and the quantity-field vector each one is taken from.
extern const std::array<const char*, TinvlMengen::Anzahl> CINVL_MengenNamen;
extern const std::array<int, TinvlMengen::Anzahl> CINVL_MengenVektor;

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

// The quantity totals over all slots (written on the first block line only) and the
// nine values of a line.
inline constexpr int32_t TinvlSatz::* CINVL_Summen[] = {
    &TinvlSatz::Sum_Typ01, &TinvlSatz::Sum_Typ02, &TinvlSatz::Sum_Typ08, &TinvlSatz::Sum_Typ09, &TinvlSatz::Sum_Typ11,
    &TinvlSatz::Sum_Typ10, &TinvlSatz::Sum_Typ12, &TinvlSatz::Sum_Typ14, &TinvlSatz::Sum_Typ13, &TinvlSatz::Sum_Typ15,
    &TinvlSatz::Sum_Soll,  &TinvlSatz::Sum_Diff,  &TinvlSatz::Sum_Ist,   &TinvlSatz::Sum_FVK};
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
