#pragma once

#include "framework/core/datetime.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <memory>

// A date as the SQL column value the record files write.
QVariant SqlDatum(TDateTime t);

// Inserts rows into one table with multi-row INSERT statements, prepared once per batch
// size, so that generating a large chain costs few round trips.
class TBulkInsert {
public:
    TBulkInsert(QSqlDatabase db, QString table, QStringList columns);
    ~TBulkInsert();

    void Zeile(const QVariantList& werte);
    void Ende();   // writes the rows still pending
    qint64 Anzahl() const { return FAnzahl; }

private:
    void Schreiben(int zeilen);
    QSqlQuery& Statement(int zeilen);

    QSqlDatabase FDb;
    QString FTable;
    QStringList FColumns;
    int FBatch;
    QVariantList FPuffer;
    qint64 FAnzahl = 0;
    std::unique_ptr<QSqlQuery> FVoll;   // statement for a full batch
    std::unique_ptr<QSqlQuery> FRest;   // statement for the last, shorter batch
};
