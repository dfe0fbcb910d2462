#pragma once

#include "framework/core/int32trio.h"
#include "framework/db/anweisung.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>
#include <QString>

#include <algorithm>
#include <vector>

// One statement that reads the rows of up to CBlock articles of a table at once, instead of
// one statement per article. PostgreSQL takes the ids of any block as three array parameters.
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

    // Calls proZeile(i, query) for each row, i the index of its article in ids (at most
    // CBlock, no id twice); the rows come in the order of ids only when an order was given.
    template <class F>
    void Lesen(const std::vector<TInt32Trio>& ids, F&& proZeile, const QVariantList& werte = {})
    {
        const size_t teil = Teilgroesse(ids.size());
        for (size_t von = 0; von < ids.size(); von += teil) {
            QSqlQuery& q = Ausfuehren(ids.data() + von, std::min(teil, ids.size() - von), werte);
            while (q.next())
                proZeile(static_cast<int>(von) + q.value(0).toInt(), q);
            Beenden(q);
        }
    }

private:
    QString Ort() const;
    // The articles one statement reads; raises for a block of more than CBlock.
    size_t Teilgroesse(size_t artikel) const;
    QSqlQuery& Ausfuehren(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte);
    void Beenden(QSqlQuery& q) const;

    QString FSpalten, FTabelle, FOrdnung, FBedingung;
    TGehalteneAnweisung FEinzeln, FBlock;
};

// The quantities a statement selected with MengenLeseAusdruecke in column spalte.
TMengen100 MengenLesen(const QSqlQuery& q, int spalte, const QString& name);
