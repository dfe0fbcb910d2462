#pragma once

#include "framework/core/datetime.h"

#include <QColor>
#include <QString>

// End of the fiscal year that starts in the month of ADatum: the last day of the month
// before, one year later, at 23:59:59.999. The day of ADatum does not matter.
TDateTime WiJahrEnde(TDateTime ADatum);

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
