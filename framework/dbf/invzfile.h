#pragma once

#include "framework/dbf/invlfile.h"

// One line of a counting sheet: an article of an inventory-list line on one shelf (or on none),
// with the labels of up to 17 sizes of its grid; an article with more sizes gets further
// blocks. No quantities: the sheets are filled in by hand.
struct TinvzSatz {
    int32_t LfdNr = 0;   // of the inventory-list line
    int32_t BlockNr = 0;
    TDateTime ZaehlDatum = 0;
    int32_t Filiale = 0;
    QString WGN;
    int32_t Regal = 0;
    int32_t OhneRegal = 0;   // 1: the article lies on no counted shelf; sorts after the shelves
    TInt32Trio Produkt_ID;
    QString ArtNr;
    QString Bezeichnung;
    int32_t LiefNr = 0;
    QString LiefArtNr;
    std::array<QString, CINVL_Slots> Groesse;   // empty: no such size

    friend bool operator==(const TinvzSatz&, const TinvzSatz&) = default;
};

// INVZ print data file of the counting sheets.
class Tinvzfile : public TDbfSatzDatei<TinvzSatz> {
public:
    const std::vector<TDbfFeld<TinvzSatz>>& Layout() const override;
};
