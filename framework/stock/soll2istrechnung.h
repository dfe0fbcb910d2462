#pragma once

#include "framework/core/int32trio.h"
#include "framework/db/datenfeld.h"

#include <array>
#include <functional>
#include <map>
#include <vector>

// The computation of the target=actual takeover, apart from reading and writing: the count an
// article of the inventory gets and how it differs from the count so far.

using TSoll2IstMengen = std::array<int64_t, 100>;

// A target record of an article: its stock type, whether it is the current one, its quantities.
struct TSoll2IstSoll {
    TInt32Trio Id;
    int BestTyp = 0;
    bool Aktuell = false;
    TMengen100 Menge{};
};

// An erroneous sale of an article in the count's correction: its size slot (outside 0..99:
// a size the article's grid does not have) and the pieces it sold (negative: came back).
struct TSoll2IstFehlverkauf {
    TInt32Trio Id;
    int Slot = -1;
    int32_t Verkauft = 0;
};

// An article of the takeover: what it will count and what it counted so far.
struct TSoll2IstArtikel {
    TSoll2IstMengen Neu{}, Bisher{};
};

using TSoll2IstErgebnis = std::map<TInt32Trio, TSoll2IstArtikel, bool (*)(const TInt32Trio&, const TInt32Trio&)>;
using TSoll2IstBisher = std::map<TInt32Trio, TSoll2IstMengen, bool (*)(const TInt32Trio&, const TInt32Trio&)>;

// The new count of every article that has a target or a count: the current targets of the
// counted stock types (istGezaehlt) less its erroneous sales; bisher holds each article's
// count so far. Erroneous sales of articles with neither are left out, and so are the
// articles in gebucht (posted already: they keep their counts).
TSoll2IstErgebnis Soll2IstRechnen(const std::vector<TSoll2IstSoll>& soll, const TSoll2IstBisher& bisher,
                                  const std::vector<TSoll2IstFehlverkauf>& fehlverkaeufe, const std::vector<TInt32Trio>& gebucht,
                                  const std::function<bool(int besttyp)>& istGezaehlt);
