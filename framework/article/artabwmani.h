#pragma once

#include "framework/article/preisview.h"
#include "framework/article/wgnmani.h"

#include <QString>

#include <map>
#include <vector>

// Write-down of purchase values by the age of an article's season.
//
// Rule table abwregel: a product-group pattern (a prefix, "*" at the end or alone for all
// groups), the season age from which the rule applies (in half-years) and a percentage.
// The season age is the number of whole half-years from the season's start to the start
// of the fiscal year. Among the rules whose pattern matches the article's product group,
// the longest pattern wins, whatever the ages: its rules are the group's whole schedule, so
// that a group with a schedule of its own never falls back to a more general one. Of its
// rules the one with the highest age not above the article's age gives the percentage;
// an article younger than all of them is not written down. No matching rule, an unknown
// season, or nothing counted (summed actual quantity 0) give 0 %.
class TDRAV_ArtAbwMani {
public:
    TDRAV_ArtAbwMani();

    int Abw_Prozent(TDateTime WiJahr, const TInt32Trio& Produkt_ID, int16_t Filiale, const TSaisonKurz& Saison,
                    TDateTime PreisHistDatum, const TORV_Intv100_Preis& VKSet, const TORV_ArtPreis_STRP_Set& STRP,
                    int64_t SummeIst);
    // The same for an article whose product group the caller has at hand.
    int Abw_Prozent_WGN(TDateTime WiJahr, const QString& WGN, const TSaisonKurz& Saison, int64_t SummeIst) const;

private:
    struct TRegel {
        QString Praefix;   // the pattern without its closing "*"
        int AbAlter;
        int Prozent;
    };
    std::vector<TRegel> FRegeln;
    std::map<QString, TDateTime> FSaisonBeginn;
    TWGNMani FWGNMani;
};
