#pragma once

#include "framework/core/datetime.h"

#include <QColor>
#include <QString>

// Columns of the overview list.
enum TUebersichtSpalte : int {
    usMarke = 0,          // check box
    usZaehlDatum = 1,     // count date as text, shown once per day
    usZaehlDatumWert = 2, // count date as value (hidden)
    usWG = 3,             // product group, "*" for all
    usFiliale = 4,
    usSollEK = 5,
    usIstEK = 6,
    usDifferenz = 7,
    usStatus = 8,         // status text
    usStatusKZ = 9,       // status character (hidden)
    usUngezaehlt = 10,    // articles with a target not counted
};

// Difference counted minus target value; 0 below half a cent, and 0 when nothing was counted.
double InventurDifferenz(double istEK, double sollEK);

// Row colour of an inventory status character; invalid for the default painting.
QColor StatusFarbe(QChar kzZaehlung);
