#pragma once

#include "framework/article/wgnmani.h"
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
};

// Difference counted minus target value; 0 below half a cent, and 0 when nothing was counted.
double InventurDifferenz(double istEK, double sollEK);

// Row colour of an inventory status character; invalid for the default painting.
QColor StatusFarbe(QChar kzZaehlung);

// The prefix a product-group pattern stands for: the pattern without its one trailing "*".
// Any other "*" raises the illegal-parameter error at ort with the detail "hWGNTest=" and
// the pattern.
QString WGNMusterPraefix(const QString& muster, const QString& ort);
// Whether the product group starts with the prefix, ignoring case.
bool WGNPasst(const QString& wgn, const QString& praefix);
// Whether the article's product group matches the pattern ("KI*"; "*" or empty: every one).
bool ArtikelImWGNMuster(TWGNMani& mani, const TInt32Trio& produktId, const QString& muster, const QString& ort);
