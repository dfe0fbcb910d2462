#pragma once

#include "framework/core/int32trio.h"
#include "framework/db/blockzeile.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class TPqAnweisung;

// One statement that reads the rows of up to CBlock articles of a table at once, instead of
// one statement per article. PostgreSQL takes the ids of any block as three array parameters;
// its rows are read through libpq, without the driver's conversion of every value.
// SQLite, which has no round trips to save, reads a block in parts of CSqliteTeil articles
// with a statement prepared once for a single article and once for a full part; a shorter
// part fills the rest with ids that match nothing.
class TProduktBlockAbfrage {
public:
    static constexpr size_t CBlock = 1000;
    static constexpr size_t CSqliteTeil = 100;

    // spalten: the columns to read from the table (alias t); ordnung: the order of an
    // article's rows (columns of t, may be empty); bedingung: a further condition on t
    // whose ? are bound with the values Lesen is given. The table's product-id index must lead
    // with the condition's equalities or with the product id: each id is looked up in it.
    TProduktBlockAbfrage(const QString& spalten, const QString& tabelle, const QString& ordnung,
                         const QString& bedingung = QString());
    ~TProduktBlockAbfrage();

    // Calls proZeile(i, zeile) for each row, i the index of its article in ids (at most
    // CBlock, no id twice), the row's columns numbered as selected from 1 on; the rows come in
    // the order of ids only when an order was given.
    template <class F>
    void Lesen(const std::vector<TInt32Trio>& ids, F&& proZeile, const QVariantList& werte = {})
    {
        const size_t teil = Teilgroesse(ids.size());
        for (size_t von = 0; von < ids.size(); von += teil)
            TeilLesen(ids.data() + von, std::min(teil, ids.size() - von), werte,
                      [&](const TBlockZeile& z) { proZeile(static_cast<int>(von) + z.Int(0), z); });
    }

    // A block read of ZugleichLesen and what takes its rows, i the index of the row's article.
    struct TTeil {
        TProduktBlockAbfrage* Abfrage;
        std::function<void(int i, const TBlockZeile&)> ProZeile;
    };
    // Lesen of several statements (without a further condition: one raises) for the same ids.
    // PostgreSQL gets them together (after what waits on the connection) and reads the next
    // table while the rows of one are taken; SQLite reads one after the other.
    static void ZugleichLesen(const std::vector<TInt32Trio>& ids, const std::vector<TTeil>& teile);

private:
    using TProZeile = std::function<void(const TBlockZeile&)>;

    QString Ort() const;
    // The articles one statement reads; raises for a block of more than CBlock.
    size_t Teilgroesse(size_t artikel) const;
    void TeilLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile);
    // The statement for n articles by their ids in ? parameters, or for any number of them in
    // three array parameters when n is 0.
    QString Anweisung(size_t n) const;
    // The statement for any number of ids in three array parameters, numbered for libpq.
    const QByteArray& ArrayAnweisung();
    void ArraysLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile);
    void TeilweiseLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile);

    QString FSpalten, FTabelle, FOrdnung, FBedingung;
    QString FEinzeln, FBlock;   // the statements of a single article and of a part, once made
    QByteArray FArrayAnweisung;
    std::unique_ptr<TPqAnweisung> FArrays;
};

// The quantities a statement selected with MengenLeseAusdruecke in column spalte.
TMengen100 MengenLesen(const QSqlQuery& q, int spalte, const QString& name);
