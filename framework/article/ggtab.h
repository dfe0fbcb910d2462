#pragma once

#include "framework/core/int32trio.h"

#include <QSqlQuery>

#include <map>
#include <memory>

// Size grids: which slot a numeric size takes in a grid.
class TZEP_GGTab {
public:
    // The 0-based slot of the size in the grid; -1 when the grid has no such size.
    int Groesse_Numerisch_2_Index(int ggKey, int groesse);
    // The label of the 0-based slot in the grid ("38", "XL"); empty when the grid has none.
    QString Index_2_Text(int ggKey, int index);

private:
    struct TGrid {
        std::map<int, int> Index;       // size -> slot
        std::map<int, QString> Text;    // slot -> label
    };
    const TGrid& Grid(int ggKey);

    std::map<int, TGrid> FGrids;
    int FGeneration = -1;                         // connection generation FGrids belongs to
};

// The process-wide size-grid table.
TZEP_GGTab& GGTab_Glob();

namespace TArtikelTools {
// The size grid of an article from the article master; 0 when the article is unknown.
int GG_Key_AusAAFile(const TInt32Trio& produktId);
}
