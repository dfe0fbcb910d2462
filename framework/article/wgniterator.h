#pragma once

#include "framework/core/int32trio.h"
#include "framework/db/anweisung.h"

#include <QString>

#include <vector>

// The articles of a product group (every group whose text starts with the given one), each
// once, in ascending product id. It reads the ids page by page, so that a group of any size
// takes the memory of one page.
class TZEP_WGN_Iterator {
public:
    // Positions on the group's first article; false when it has none. The level names the
    // group hierarchy; articles are filed under their own group ("EIGEN").
    bool Move_First(const QString& wgn, const QString& ebene);
    bool Move_Next();
    const TInt32Trio& Current_Produkt_ID() const { return FSeite[FPos]; }

private:
    bool SeiteLesen(const TInt32Trio* nach);

    TGehalteneAnweisung FErste, FWeitere;
    QString FWGN;
    std::vector<TInt32Trio> FSeite;
    size_t FPos = 0;
    size_t FSeitengroesse = 0;   // the rows the page was read for
};
