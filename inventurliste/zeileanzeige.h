#pragma once

#include "framework/core/datetime.h"

#include <QString>

#include <cmath>
#include <vector>

struct TVRListNode;

// One row of the inventory overview as the actions read it.
struct TZeileAnzeige {
    TDateTime ZaehlDatum = 0;
    QString WGN;   // as shown: "*" for all product groups
    int32_t Filiale = 0;
    TVRListNode* ZeilenNode = nullptr;   // the list row it was read from

    // Same count date (a NaN is never equal), product group text, branch and list row.
    bool Equal(const TZeileAnzeige& AZeile) const
    {
        return ZaehlDatum == AZeile.ZaehlDatum && WGN == AZeile.WGN && Filiale == AZeile.Filiale && ZeilenNode == AZeile.ZeilenNode;
    }
};

using TZeileAnzeige_Arr = std::vector<TZeileAnzeige>;
