#pragma once

#include "framework/core/datetime.h"

#include <map>
#include <memory>
#include <vector>

// VAT rates by VAT code and validity date.
class TMWTable {
public:
    TMWTable();
    // The rate (in percent) of a VAT code on a date; 0 for an unknown code.
    double MWST(int mwstKz, TDateTime datum) const;

private:
    std::map<int, std::vector<std::pair<TDateTime, double>>> FSaetze;   // ordered by date
};

// The shared VAT table; the last holder releases it.
std::shared_ptr<const TMWTable> GlobMWTable_GetInstance();
