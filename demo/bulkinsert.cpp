#include "demo/bulkinsert.h"

#include "framework/core/fehler.h"
#include "framework/db/datenfeld.h"

#include <QSqlError>

#include <QSqlDriver>

namespace {
// PostgreSQL: many rows per statement save round trips. SQLite runs in-process, and Qt's
// driver looks every parameter up by name, which grows with the square of their number.
int MaxParameter(const QSqlDatabase& db)
{
    return db.driver()->dbmsType() == QSqlDriver::PostgreSQL ? 30000 : 400;
}
}

QVariant SqlDatum(TDateTime t)
{
    return TDatumTraits::ToSql(t).first();
}

TBulkInsert::TBulkInsert(QSqlDatabase db, QString table, QStringList columns)
    : FDb(std::move(db)), FTable(std::move(table)), FColumns(std::move(columns)),
      FBatch(std::max(1, std::min(500, MaxParameter(FDb) / static_cast<int>(FColumns.size()))))
{
}

TBulkInsert::~TBulkInsert() = default;

QSqlQuery& TBulkInsert::Statement(int zeilen)
{
    const QString eine = QLatin1Char('(') + QStringList(FColumns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                            .arg(FTable, FColumns.join(QLatin1Char(',')), QStringList(zeilen, eine).join(QLatin1Char(',')));
    auto q = std::make_unique<QSqlQuery>(FDb);
    if (!q->prepare(sql))
        FehlerRaise(QStringLiteral("TBulkInsert"), {FTable, q->lastError().text()});
    if (zeilen == FBatch) {
        FVoll = std::move(q);
        return *FVoll;
    }
    FRest = std::move(q);
    return *FRest;
}

void TBulkInsert::Zeile(const QVariantList& werte)
{
    if (werte.size() != FColumns.size())
        FehlerRaise(QStringLiteral("TBulkInsert"), {FTable, QStringLiteral("falsche Spaltenzahl")});
    FPuffer << werte;
    if (FPuffer.size() == FBatch * FColumns.size())
        Schreiben(FBatch);
}

void TBulkInsert::Schreiben(int zeilen)
{
    QSqlQuery& q = (zeilen == FBatch && FVoll) ? *FVoll : Statement(zeilen);
    for (int i = 0; i < FPuffer.size(); ++i)
        q.bindValue(i, FPuffer.at(i));
    if (!q.exec())
        FehlerRaise(QStringLiteral("TBulkInsert"), {FTable, q.lastError().text()});
    q.finish();
    FAnzahl += zeilen;
    FPuffer.clear();
}

void TBulkInsert::Ende()
{
    if (!FPuffer.isEmpty())
        Schreiben(static_cast<int>(FPuffer.size() / FColumns.size()));
}
