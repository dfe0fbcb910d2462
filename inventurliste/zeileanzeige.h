#pragma once

#include "framework/article/iazugriff.h"
#include "framework/core/datetime.h"

#include <QString>

#include <vector>

// One row of the inventory overview as the actions read it.
struct TZeileAnzeige {
    TDateTime ZaehlDatum = 0;
    QString WGN;   // as shown: "*" for all product groups
    int32_t Filiale = 0;
    TIASchluessel ZeilenNode{};   // the list row it was read from, named by its inventory's key

    // Same count date (a NaN is never equal), product group text, branch and list row.
    bool Equal(const TZeileAnzeige& AZeile) const
    {
        return ZaehlDatum == AZeile.ZaehlDatum && WGN == AZeile.WGN && Filiale == AZeile.Filiale && ZeilenNode == AZeile.ZeilenNode;
    }
};

using TZeileAnzeige_Arr = std::vector<TZeileAnzeige>;
