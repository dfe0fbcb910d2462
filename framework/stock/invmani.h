#pragma once

#include "framework/article/artlessimple.h"
#include "framework/core/datetime.h"
#include "framework/core/sortiment.h"
#include "framework/db/produktblock.h"
#include "framework/stock/buchung.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

// Count date for the inventory manager: the calendar year of the fiscal year's start and
// the count date as a whole day number.
struct TORV_ArtInv_Zaehldatum {
    int16_t Jahr = 0;
    int32_t Tag = 0;
};

// Quantity kind 18 of a stock reader: what was posted with movement kind 18 (inventory
// difference, count minus target) for the article and branch after the earlier and up to
// the later of the reader's date and the count date. The booking posts count differences
// with this kind, so a back-calculation or a repeated booking sees them here.
constexpr int CMengenArtInventurdifferenz = 18;

class TInvMani;

// Stock of the positioned article in one branch, per stock type and size, at the end of a
// day: the current stock minus the movements after that day.
class TInvMani_BestandLeser {
public:
    void SetFiliale(int16_t filiale) { FFiliale = filiale; }
    // Stock type 1..16, or CMengenArtInventurdifferenz.
    void SetBestTyp(int besttyp) { FArt = besttyp; }
    void SetZaehldatum(const TORV_ArtInv_Zaehldatum& zd) { FStichtag = zd.Tag; }
    TORV_Intv100_Sortiment_MeMitOV Lesen() const;

private:
    friend class TInvMani;
    explicit TInvMani_BestandLeser(const TInvMani& mani) : FMani(mani) {}
    const TInvMani& FMani;
    int16_t FFiliale = 0;
    int FArt = 1;
    TDateTime FStichtag = 0;
};

// Inventory manager: the article reader and the two stock readers of a back-calculation
// (A at the count date, B at the evaluation date).
class TInvMani {
public:
    TInvMani();

    // Sets the count date and the evaluation date for the following articles.
    void Artlesen_Init(const TORV_ArtInv_Zaehldatum& zd, bool, bool, bool, TDateTime auswertungsDatum);

    // Positions on an article and reads its stock and movements; false when it is unknown.
    bool eigen_get_equal(const TInt32Trio& produktId, int, bool);

    // Reads the stock of a block of articles (at most TProduktBlockAbfrage::CBlock, no id
    // twice) at once; artikel holds the block's master records already. Replaces the
    // previous block, which is of use once the block's movements are taken over.
    void BestandVorladen(const std::vector<TInt32Trio>& ids, IORV_ArtLesSimple& artikel);
    // Reads the movements from day ab on of a block of articles, on a manager of their own, so
    // that another thread's connection reads them beside the stock.
    void BewegungenVorladen(const std::vector<TInt32Trio>& ids, TDateTime ab);
    // Takes over the movements another manager read for the block held here; eigen_get_equal
    // takes stock and movements from the block while ab is early enough.
    void BewegungenUebernehmen(TInvMani& andere);
    // Exchanges the read-ahead block with another manager (one that read it on another thread).
    void VorratTauschen(TInvMani& andere);
    // The first day whose movements a back-calculation between both dates needs.
    static TDateTime BewegungenAb(TDateTime zaehlTag, TDateTime auswertungsDatum);

    // Target=actual takeover of one inventory (count date, group as shown, "*" for all, and
    // branch) for its articles in the selection (group prefix, branch; empty and 0 for all):
    // their count records become the target of the counted stock types less the erroneous
    // sales, their shelf records go, and the inventory's counted value follows; all in one
    // transaction. A booked or cancelled inventory stays as it is. The number of articles
    // taken over.
    int Soll2Ist(TDateTime zaehlDatum, const QString& wgn, int16_t filiale, const QString& selWGN, int16_t selFiliale);
    // called with each article the takeover rewrites
    std::function<void(const TInt32Trio&)> OnSoll2Ist4ArtikelNr;

    // The article booker and the outcome of its postings; the booker exists after ArtBuchen_Init.
    void ArtBuchen_Init(bool, bool);
    TArtBucher* ArtBucher() { return FArtBucher.get(); }
    TBuchErgebnisListe& BuchErgebnisse() { return FBuchErgebnisse; }

    TInvMani_BestandLeser& LeserA() { return FLeserA; }
    TInvMani_BestandLeser& LeserB() { return FLeserB; }

private:
    friend class TInvMani_BestandLeser;
    struct TBewegung {
        int Filiale;
        int BestTyp;
        int BewArt;
        TDateTime Tag;
        std::array<int32_t, 100> Menge;
    };
    using TBestand = std::map<std::pair<int, int>, std::array<int32_t, 100>>;   // (branch, stock type)
    struct TDaten {
        TBestand Bestand;
        std::vector<TBewegung> Bewegungen;   // in no particular order
        bool Bekannt = true;                 // the article exists
    };
    void AbfragenMachen();
    std::vector<TBestand> BestandLesen(const std::vector<TInt32Trio>& ids);
    std::vector<std::vector<TBewegung>> BewegungenLesen(const std::vector<TInt32Trio>& ids, TDateTime ab);
    TORV_Intv100_Sortiment_Me Bestand(int filiale, int besttyp, TDateTime tag) const;
    TORV_Intv100_Sortiment_Me Inventurdifferenzen(int filiale, TDateTime von, TDateTime bis) const;

    std::unique_ptr<IORV_ArtLesSimple> FArtLes;
    TORV_ArtInv_Zaehldatum FZaehldatum;
    TDateTime FAuswertungsDatum = 0;
    TInvMani_BestandLeser FLeserA;
    TInvMani_BestandLeser FLeserB;
    TBestand FBestand;
    std::vector<TBewegung> FBewegungen;   // after the earlier of both dates
    std::map<TInt32Trio, TDaten, decltype(&TInt32Trio::Numerisch_Kleiner)> FVorrat{&TInt32Trio::Numerisch_Kleiner};
    TDateTime FVorratAb = 0;
    // movements read for another manager's block
    std::vector<TInt32Trio> FBewegungIds;
    std::vector<std::vector<TBewegung>> FBewegungVorrat;
    TDateTime FBewegungAb = 0;
    std::unique_ptr<TProduktBlockAbfrage> FBestandAbfrage;
    std::unique_ptr<TProduktBlockAbfrage> FBewegungAbfrage;
    TConnectorTyp FAbfrageTyp{};   // the engine the two statements were made for
    std::unique_ptr<TArtBucher> FArtBucher;
    TBuchErgebnisListe FBuchErgebnisse;
};
