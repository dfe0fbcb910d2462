#pragma once

#include "framework/app/dialoge.h"
#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"
#include "framework/db/datenfeld.h"
#include "framework/stock/artbewtyp.h"

#include <QString>

#include <array>
#include <map>
#include <vector>

// Writes a stock movement and its effect on the stock of one stock type: a movement row of
// the kind at the date, and the stock per size raised by wirkung (negative lowers it).
void BestandBewegen(const TInt32Trio& produktId, int filiale, int bestTyp, TORV_ArtBewTyp_Pos art, TDateTime datum,
                    const TMengen100& wirkung);

// What else a posting carries: its date.
struct TZusatzBuchDaten {
    TDateTime BuchDatum = 0;
    void Init() { *this = TZusatzBuchDaten{}; }
};

// The outcome of the postings of one article: info messages when a posting was refused.
class TBuchErgebnisListe {
public:
    struct TInfo {
        TInfoKoord Koord;
        QString Text;
    };
    void Vorbereiten(const TInt32Trio&) { FInfos.clear(); }
    void Melden(TInfoKoord koord, QString text) { FInfos.push_back({std::move(koord), std::move(text)}); }
    bool Fehlgeschlagen() const { return !FInfos.empty(); }
    const std::vector<TInfo>& Infos() const { return FInfos; }

private:
    std::vector<TInfo> FInfos;
};

// Posts quantities of one article per branch: the quantities are what leaves the stock (a
// negative quantity adds to it), on the stock type of sales stock.
class TArtBucher {
public:
    static constexpr int CBestTyp = 1;

    void MengenSetzen(int filiale, const TMengen100& mengen) { FMengen[filiale] = mengen; }
    // Posts the quantities set for filiale with the kind; what cannot be posted goes into the
    // result list.
    void Buchen(TORV_ArtBewTyp_Pos art, int filiale, int, const TZusatzBuchDaten& zusatz, const TInt32Trio& produktId,
                TBuchErgebnisListe& ergebnis);

private:
    std::map<int, TMengen100> FMengen;
};
