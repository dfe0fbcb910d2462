#pragma once

#include "framework/core/datetime.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "inventurliste/inventurstrom.h"

#include <map>
#include <tuple>
#include <utility>
#include <vector>

// The records of one record file per inventory (Key) and article: those of a block of articles
// read ahead, the others read by the inventory's stream when asked for.
template <class Datei, class Satz, class Key>
class TSatzVorrat {
public:
    using TScan = void (*)(Datei&, const Key&);
    explicit TSatzVorrat(TScan scan) : FScan(scan) {}

    // Calls proSatz with each record of the article in the inventory, in key order; false when
    // it has none.
    template <class F>
    bool Lesen(const Key& key, const TInt32Trio& id, F&& proSatz)
    {
        const auto inv = FBlock.find(key);
        if (inv != FBlock.end()) {
            const auto art = inv->second.find(id);
            if (art != inv->second.end()) {
                for (const Satz& s : art->second)
                    proSatz(s);
                return !art->second.empty();
            }
        }
        return Strom(key).Artikel(id, [&](const Datei& d) { proSatz(d.GetSatz()); });
    }

    // Reads the records of the articles (ascending within the block) in the inventory and holds them.
    void Vorladen(const Key& key, const std::vector<TInt32Trio>& ids)
    {
        if (FBlock.count(key))
            return;   // another row of the same inventory
        auto& block = FBlock[key];
        for (const TInt32Trio& id : ids) {
            auto& saetze = block[id];
            Strom(key).Artikel(id, [&](const Datei& d) { saetze.push_back(d.GetSatz()); });
        }
    }
    void Leeren() { FBlock.clear(); }
    void Tauschen(TSatzVorrat& anderer) { std::swap(FBlock, anderer.FBlock); }

private:
    TInventurStrom<Datei>& Strom(const Key& key)
    {
        return StromHolen(FStroeme, key, [this, key](Datei& d) { FScan(d, key); });
    }

    struct TKleiner {
        bool operator()(const TInt32Trio& a, const TInt32Trio& b) const { return TInt32Trio::Numerisch_Kleiner(a, b); }
    };
    const TScan FScan;
    std::map<Key, std::unique_ptr<TInventurStrom<Datei>>> FStroeme;
    std::map<Key, std::map<TInt32Trio, std::vector<Satz>, TKleiner>> FBlock;
};

// One inventory of a row: the key of its count, target and erroneous-sale records.
struct TInventurSchluessel {
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    int32_t Filiale = 0;
    bool MitRegalen = false;
};

// The count records (with or without the shelves), target records and erroneous sales of the
// inventories a list reads. A block of articles can be read ahead on another thread and taken
// over; an article outside the block taken over is read when asked for.
class TInventurSaetze {
public:
    using TZaehlKey = std::tuple<TDateTime, int32_t, bool>;        // count day, branch, with shelves
    using TSollKey = std::tuple<TDateTime, TDateTime, int32_t>;    // fiscal year, count day, branch
    using TFvkKey = std::pair<TDateTime, int32_t>;                 // count day, branch

    TInventurSaetze();

    // Reads the records of the articles (ascending within the block) in the inventories: the
    // count records, and the target and erroneous-sale records (each part may be read by a
    // reader of its own, on its own connection).
    void Vorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren);
    void ZaehlVorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren);
    void SollVorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren);
    // Exchanges the blocks read ahead (all, the count records, the others) with another reader's.
    void VorratTauschen(TInventurSaetze& andere);
    void ZaehlTauschen(TInventurSaetze& andere);
    void SollTauschen(TInventurSaetze& andere);

    TSatzVorrat<Tiznsfile, TiznsSatz, TZaehlKey> Zaehl;
    TSatzVorrat<Tivfile, TivSatz, TSollKey> Soll;
    TSatzVorrat<TFvkFile, TFvkSatz, TFvkKey> Fvk;

    // The erroneous sales converted by another count day's booking that the inventory's count
    // day still corrects by (read with the first block of the inventory, or when asked for).
    const std::vector<TFvkSatz>& FvkZaehltag(const TFvkKey& key, const TInt32Trio& id);

private:
    void FvkZaehltagLaden(const TFvkKey& key);
    std::map<TFvkKey, TFvkZaehltag> FFvkZaehltag;
};
