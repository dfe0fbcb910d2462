#pragma once

#include "framework/db/anweisung.h"
#include "framework/db/pqanweisung.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>
#include <QString>

#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

enum TBuchModus { wrdonUpdate = 1, wrdonInsert = 2 };

// Comparison codes of extended filters.
enum TExtVergleich { evGleich = 1, evGroesser = 2, evKleiner = 3, evUngleich = 4, evGroesserGleich = 5, evKleinerGleich = 6 };
// Connection of an extended filter to the next one: 0 ends the chain.
enum TExtVerknuepfung { evEnde = 0, evUnd = 1, evOder = 2 };

// A record file: one SQL table, a record buffer of data fields, numbered key indexes,
// filters and a found flag. Scans run in key order and fetch rows in growing batches, so a
// long scan costs few round trips and an exact read costs one. On PostgreSQL a batch is read
// past Qt's driver and its rows are kept as the server sent them, as text.
class TZEP_DBFile {
public:
    // dateiName is the file's name in the merchandise system ("IA"); the SQL table is its
    // lower-case form. An open mode other than 0 opens the file at once, which fails when
    // its table is missing; param is kept for the callers that pass it.
    explicit TZEP_DBFile(const QString& dateiName, int openMode = 0, int param = -1);
    virtual ~TZEP_DBFile();
    TZEP_DBFile(const TZEP_DBFile&) = delete;
    TZEP_DBFile& operator=(const TZEP_DBFile&) = delete;

    QString GetFullDateiName() const;
    QString TableName() const;

    // Empties buffer, keys, filters and extended filters.
    void AllesClear();
    void SetKeyNum(int n);
    static constexpr int StandardKeyNum = 0;

    // First record in key order within the filters.
    bool Get_first();
    // First record whose key is >= the start key (the key values set, in key order up to
    // the first one not set) within the filters.
    bool Get_ge();
    // Get_ge for a scan that reads on through its filter's records: in full batches from the
    // first, instead of small ones for a caller that may want only the first record.
    bool Get_ge_Strom();
    // The record whose key fields all equal the key values (unset key fields: the buffer).
    bool Get_equal();
    // Next record in key order within the filters of the scan that found the current one.
    bool Get_next();
    // Reads the current record again.
    bool Get_again();
    bool Found() const { return FFound; }

    // Writes the buffer: wrdonUpdate overwrites the current record, wrdonInsert appends one
    // (and makes it current).
    void Buchen(TBuchModus modus);

    // Extended filter: the field compared with a value. The caller sets the field's value
    // after adding the filter (or before, when the field is not changed until the scan);
    // the filter takes it when the extended scan starts, or when a further filter on the same
    // field is added, so that one field can bound a range.
    void ExtendedFilterAdd(TDatenfeld& feld, int vergleich, int verknuepfung);
    // Maximum number of records the extended scan delivers; a cleared file has no limit.
    void ExtendedMaxReceive_Set(int n);
    bool Get_ge_extMode();
    bool Get_next_extMode();

    const std::vector<TDatenfeld*>& Datenfelder() const { return FFelder; }

protected:
    void FeldAdd(TDatenfeld& feld);
    // Adds the next key index (numbered from 0 in the order of adding).
    void KeyAdd(std::vector<TDatenfeld*> felder);

private:
    struct TExtFilter {
        TDatenfeld* feld;
        int vergleich;
        int verknuepfung;
        std::optional<QVariantList> wert;   // open until the scan starts
    };
    enum class TScanArt { Keine, Normal, Extended };

    bool ScanStarten(TScanArt art, const QString& startBedingung, const QVariantList& startWerte, int ersteMenge);
    bool Weiter();
    bool Holen(const QString& zusatz, const QVariantList& zusatzWerte);
    // The rows of a read: on PostgreSQL as libpq hands them over, else through Qt's driver.
    std::unique_ptr<TZeilen> Lesen(const QString& sql, const QVariantList& werte);
    std::unique_ptr<TZeilen> QtLesen(const QString& sql, const QVariantList& werte);
    bool StapelLeer() const;
    bool Positionieren();
    QSqlQuery& Vorbereitet(const QString& sql);
    QStringList KeySpalten() const;
    const std::vector<int>& KeyPositionen();
    QString StartBedingung(QVariantList& werte) const;
    int FesteKeyFelder() const;
    // The select list of the fields on the current engine, and how many values each reads.
    const QString& LeseListe();
    // The fields from the values of the select list in row z, from column spalte on.
    void FelderLesen(const TBlockZeile& z, int spalte) const;

    QString FDateiName;
    std::vector<TDatenfeld*> FFelder;
    std::vector<std::vector<TDatenfeld*>> FKeys;
    int FKeyNum = 0;
    std::vector<TExtFilter> FExtFilter;
    int FExtMax = std::numeric_limits<int>::max();
    int FExtRest = 0;

    TScanArt FScan = TScanArt::Keine;
    std::unique_ptr<TZeilen> FStapel;   // the last batch: id, then the select list
    int FNaechste = 0;                   // its row to read next
    bool FMehr = false;          // the last batch was full: more rows may follow
    QVariantList FLetzterKey;    // key columns and id of the last row fetched
    int FMenge = 0;              // size of the next batch
    qint64 FAktuelleId = 0;
    bool FFound = false;

    std::unordered_map<QString, TGehalteneAnweisung> FStatements;
    std::unordered_map<QString, std::unique_ptr<TPqAnweisung>> FPqStatements;
    std::map<int, std::vector<int>> FKeyPositionen;   // per key index
    std::optional<TConnectorTyp> FLeseTyp;            // the engine the select list is for
    QString FLeseListe;
    std::vector<int> FLeseBreiten;                    // per field
};
