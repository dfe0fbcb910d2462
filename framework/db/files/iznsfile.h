#pragma once

#include "framework/db/artikelstamm.h"
#include "framework/db/produktblock.h"
#include "framework/db/satzdatei.h"

#include <optional>
#include <vector>

struct TiznsSatz {
    TDateTime ZaehlDatum = 0;
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    QChar Satzart;   // "G": total count of the branch, "R": count of one shelf
    int32_t Regal = 0;
    int32_t Gezaehlt = 0;
    int32_t GrVon = 0;
    int32_t GrBis = 0;
    TMengen100 GR_MESU{};   // index n-1 holds size number n
};

// Count records IZNS. Key 0: ZaehlDatum, Produkt_ID, Filiale, Satzart, Regal.
class Tiznsfile : public TZEP_SatzDatei<TiznsSatz> {
public:
    explicit Tiznsfile(int openMode = 0, int param = -1);

    TDatumDatenKeyFeld ZaehlDatum{"ZaehlDatum", "zaehldatum"};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TCharDatenKeyFeld Satzart{"Satzart", "satzart"};
    TIntegerDatenKeyFeld Regal{"Regal", "regal"};
    TIntegerDatenFeld Gezaehlt{"Gezaehlt", "gezaehlt"};
    TIntegerDatenFeld GrVon{"GrVon", "grvon"};
    TIntegerDatenFeld GrBis{"GrBis", "grbis"};
    TMengenDatenFeld GR_MESU{"GR_MESU", "gr_mesu", 1};

    // Quantity of size number n = 1..100.
    int32_t GetGR_MESU(int n) const;
};

// The branch's total count record of an article ("G", shelf 0) inside a statement of another
// access path: the condition on the table under its name or alias and its values, the columns
// to select, and the record from a row's columns at spalte (none when an outer join found none).
QString IZNS_GesamtBedingung(const QString& tabelle);
QVariantList IZNS_GesamtWerte(TDateTime zaehlDatum, const TInt32Trio& id, int32_t filiale);
QString IZNS_GesamtSpalten(const QString& tabelle, TConnectorTyp typ);
std::optional<TiznsSatz> IZNS_GesamtLesen(const TBlockZeile& z, int spalte, TDateTime zaehlDatum, const TInt32Trio& id, int32_t filiale);

// The article's count of the day and branch becomes menge: its branch record "G" (counted,
// with the size range von..bis) replaces the records "G" and "R" it had.
void IZNS_ZaehlungErsetzen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& id, int32_t von, int32_t bis, const TMengen100& menge,
                           const QString& ort);

// The branch's total count of each article of the day that wahl chooses, with the article's
// master data (all sizes 0 where the record holds no count); a failure raises at ort.
std::vector<std::pair<TArtikelStamm, TMengen100>> IZNS_GesamtMitStamm(TDateTime zaehlDatum, int32_t filiale, const TArtikelWGNWahl& wahl,
                                                                      const QString& ort);

// A count record with the id of its row (0: not stored yet).
struct TiznsZeile {
    qint64 Id = 0;
    TiznsSatz Satz;
};

// The count records of one day and branch, read for blocks of articles and written back by
// the ids of their rows: an import of many articles in few statements (prepared once).
class TiznsTag {
public:
    TiznsTag(TDateTime zaehlDatum, int32_t filiale);
    ~TiznsTag();

    // The branch's "G" record and the "R" record of the shelf of each article of ids (at most
    // TProduktBlockAbfrage::CBlock); records that are not there are missing from the answer.
    std::vector<TiznsZeile> Lesen(const std::vector<TInt32Trio>& ids, int32_t regal);
    // Every shelf's "R" record of each article of ids (at most TProduktBlockAbfrage::CBlock).
    std::vector<TiznsZeile> Regale(const std::vector<TInt32Trio>& ids);
    // Writes a record of the day and branch over its row, or as a new row when its id is 0.
    void Schreiben(const TiznsZeile& z);

private:
    std::vector<TiznsZeile> Zeilen(TProduktBlockAbfrage& leser, const std::vector<TInt32Trio>& ids, const QVariantList& werte);

    TDateTime FZaehlDatum;
    int32_t FFiliale;
    TProduktBlockAbfrage FLeser, FRegale;
    TGehalteneAnweisung FUpdate, FInsert;
};
