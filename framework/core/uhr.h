#pragma once

#include "framework/core/datetime.h"

#include <optional>

// The framework clock. Tests may fix it; the program runs on the system clock.
TDateTime orv_Now();
TDateTime orv_Date();   // today, whole day
void ORVUhrSetzen(std::optional<TDateTime> jetzt);

// Label of the fiscal year that starts at the date: "dd.mm.yyyy - dd.mm.yyyy".
QString Date2WiJahrStr(TDateTime wiJahrBeginn);
