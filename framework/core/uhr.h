#pragma once

#include "framework/core/datetime.h"

#include <optional>

// The framework clock. Tests may fix it; the program runs on the system clock.
TDateTime orv_Now();
TDateTime orv_Date();   // today, whole day
void ORVUhrSetzen(std::optional<TDateTime> jetzt);

// Label of the fiscal year that starts at the date: "dd.mm.yyyy - dd.mm.yyyy".
QString Date2WiJahrStr(TDateTime wiJahrBeginn);

// End of the fiscal year that starts in the month of ADatum: the last day of the month
// before, one year later, at 23:59:59.999. The day of ADatum does not matter.
TDateTime WiJahrEnde(TDateTime ADatum);
