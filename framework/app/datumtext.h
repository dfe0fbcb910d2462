#pragma once

#include "framework/core/datetime.h"

#include <QString>

// A date as users type it: "15.03.2025", "15.3.25", "1.2.25", "150325" or "15032025"; a
// two-digit year lies in 2000..2099. Throws EORVFehler for a text that is no date.
TDateTime orv_StrToDate(const QString& text);

// Whether the text is a date from von to bis (von 0: no lower bound, bis 0: no upper
// bound); when not, the user is told what is wrong with the field (feld: its name).
bool orv_TestDatumString(const QString& text, TDateTime von, TDateTime bis, const QString& feld);
