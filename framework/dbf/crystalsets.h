#pragma once

#include "framework/dbf/dbf.h"

#include <map>
#include <memory>

// The print tables handed to the report, by record-file class ("INVL", "INVR", "INVU").
// The set owns its tables; registering a class again replaces (and closes) its table.
class TDBFFiles_4_Crystal {
public:
    TDbf* Registrieren(const QString& dateiKlasse, std::unique_ptr<TDbf> tabelle);
    TDbf* Tabelle(const QString& dateiKlasse) const;   // nullptr when not registered
    // Closes every table so that readers see complete files.
    void AlleSchliessen();
    void Clear() { FTabellen.clear(); }
    const std::map<QString, std::unique_ptr<TDbf>>& Tabellen() const { return FTabellen; }

private:
    std::map<QString, std::unique_ptr<TDbf>> FTabellen;
};
