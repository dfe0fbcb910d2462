#pragma once

#include <QString>

#include <map>

struct TFiliale {
    int Nr = 0;
    QString Name;
    bool LV_Benutzen = false;   // stock kept per storage location
};

// The branch table, read once from the database.
class TFilialTabelle {
public:
    TFilialTabelle();
    // The branch with this number; throws EORVFehler when there is none.
    const TFiliale& GetFilialeByNr(int nr) const;
    const std::map<int, TFiliale>& Filialen() const { return FFilialen; }

private:
    std::map<int, TFiliale> FFilialen;
};
