#pragma once

#include "framework/core/int32trio.h"

#include <QString>

#include <map>
#include <optional>

struct TLiefData {
    int32_t LiefNr = 0;
    QString Name;
};

// Supplier data by partner key, read once.
class TLiefGPData {
public:
    TLiefGPData();
    std::optional<TLiefData> GetLiefDataByGep(const TIntPair& gep) const;

private:
    std::map<std::pair<int, int>, TLiefData> FDaten;
};
