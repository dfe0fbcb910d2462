#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"
#include "framework/core/sortiment.h"
#include "framework/db/produktblock.h"

#include <QString>

#include <map>
#include <memory>
#include <set>
#include <vector>

// Flags of the sales prices in force (stored as bits of the price's strp column).
enum TORV_ArtPreis_STRP { strpReduziert = 0, strpAktion = 1, strpFestpreis = 2 };
using TORV_ArtPreis_STRP_Set = std::set<TORV_ArtPreis_STRP>;

// Short code of a season ("F24": spring 2024).
using TSaisonKurz = QString;

// One price-history transaction of an article.
struct TPreisHistorieEintrag {
    TDateTime Datum = 0;
    QString Vorgang;
    int Preisart = 0;
    double PreisAlt = 0;
    double PreisNeu = 0;
};

// Prices of one article as they stand on a reference date in a branch: purchase prices
// (kind 1), sales prices (2) and second sales prices (3), each a set over size slots. For
// every slot the entry valid last on the reference date wins, a branch's own price before
// the chain-wide one (branch 0).
class TORV_ArtPreisView {
public:
    enum TPreisart { paEK = 1, paVK = 2, paVK2 = 3 };

    // The article whose prices are read (its price rows are loaded once).
    void SetArtikel(const TInt32Trio& produktId);
    // Reads the price rows of a block of articles (at most TProduktBlockAbfrage::CBlock) in
    // one statement per table; SetArtikel takes them from there. Replaces the previous block.
    void Vorladen(const std::vector<TInt32Trio>& ids);
    void VorratTauschen(TORV_ArtPreisView& andere) { std::swap(FVorrat, andere.FVorrat); }
    // Forgets the block: SetArtikel reads an article's rows itself.
    void VorratVerwerfen() { FVorrat.clear(); }
    void SetStichtag(TDateTime stichtag) { FStichtag = stichtag; }
    void SetFiliale(int16_t filiale) { FFiliale = filiale; }

    TORV_Intv100_Preis EKSet() const { return Set(paEK); }
    TORV_Intv100_Preis VKSet() const { return Set(paVK); }
    TORV_Intv100_Preis VK2Set() const { return Set(paVK2); }
    TORV_ArtPreis_STRP_Set STRP() const;

    // The article's price-history transactions in date order.
    const std::vector<TPreisHistorieEintrag>& PreisHistorie() const { return FDaten.Historie; }
    // Date of the last transaction on or before the day; 0 when there is none.
    TDateTime PreisHistorieDatum(TDateTime tag) const;

    // "W" test: the article is kept as merchandise in the branch.
    bool FilialTest(int filiale) const;

private:
    struct TZeile {
        int Preisart;
        int Filiale;
        int Von, Bis;
        double Preis;
        int Strp;
        TDateTime GueltigAb;
    };
    // the rows of one article
    struct TDaten {
        std::vector<TZeile> Preise;
        std::vector<TPreisHistorieEintrag> Historie;   // in date order
        std::set<int> FilialenW;
    };
    std::vector<TDaten> Lesen(const std::vector<TInt32Trio>& ids);
    std::vector<const TZeile*> Gueltige(int preisart) const;
    TORV_Intv100_Preis Set(int preisart) const;

    TInt32Trio FArtikel;
    bool FGeladen = false;
    TDateTime FStichtag = 0;
    int16_t FFiliale = 0;
    TDaten FDaten;
    std::map<TInt32Trio, TDaten, decltype(&TInt32Trio::Numerisch_Kleiner)> FVorrat{&TInt32Trio::Numerisch_Kleiner};
    // statements prepared once, on the connection of the thread that reads first
    std::unique_ptr<TProduktBlockAbfrage> FPreisAbfrage, FHistorieAbfrage, FFilialAbfrage;
};
