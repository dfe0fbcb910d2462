#pragma once

#include "framework/core/int32trio.h"

#include <functional>
#include <memory>

// The records of one inventory in the key order of a record file whose key runs over the
// product id, read by one scan (in batches) instead of one statement per article. The list
// asks for its articles in ascending product id; a request for an article at or before the
// last one starts the scan again, so that every answer is what a keyed read would give.
template <class Datei>
class TInventurStrom {
public:
    // scanSetzen puts keys and filters of the inventory on the cleared file.
    explicit TInventurStrom(std::function<void(Datei&)> scanSetzen) : FScanSetzen(std::move(scanSetzen)) {}

    // Calls proSatz with the file on each record of the article, in key order; false when
    // the article has none.
    template <class F>
    bool Artikel(const TInt32Trio& id, F&& proSatz)
    {
        if (!FGestartet || !TInt32Trio::Numerisch_Kleiner(FLetzte, id)) {
            FDatei.AllesClear();
            FScanSetzen(FDatei);
            FOk = FDatei.Get_ge_Strom();
            FGestartet = true;
        }
        FLetzte = id;
        while (FOk && TInt32Trio::Numerisch_Kleiner(FDatei.Produkt_ID.GetWert(), id))
            FOk = FDatei.Get_next();
        bool gefunden = false;
        while (FOk && FDatei.Produkt_ID.GetWert() == id) {
            gefunden = true;
            proSatz(FDatei);
            FOk = FDatei.Get_next();
        }
        return gefunden;
    }

private:
    std::function<void(Datei&)> FScanSetzen;
    Datei FDatei;
    bool FGestartet = false;
    bool FOk = false;
    TInt32Trio FLetzte;
};

// The stream of a key in a map of streams, made with scanSetzen on first use.
template <class Map, class Key, class F>
auto& StromHolen(Map& stroeme, const Key& key, F&& scanSetzen)
{
    auto& strom = stroeme[key];
    if (!strom)
        strom = std::make_unique<typename Map::mapped_type::element_type>(std::forward<F>(scanSetzen));
    return *strom;
}
