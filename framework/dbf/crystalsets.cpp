#include "framework/dbf/crystalsets.h"

TDbf* TDBFFiles_4_Crystal::Registrieren(const QString& dateiKlasse, std::unique_ptr<TDbf> tabelle)
{
    TDbf* p = tabelle.get();
    FTabellen[dateiKlasse] = std::move(tabelle);
    return p;
}

TDbf* TDBFFiles_4_Crystal::Tabelle(const QString& dateiKlasse) const
{
    const auto it = FTabellen.find(dateiKlasse);
    return it == FTabellen.end() ? nullptr : it->second.get();
}

void TDBFFiles_4_Crystal::AlleSchliessen()
{
    for (auto& [klasse, tabelle] : FTabellen)
        tabelle->Schliessen();
}
