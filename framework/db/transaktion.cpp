#include "framework/db/transaktion.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// Transactions open on this thread: PostgreSQL would take a second BEGIN as part of the first
// and commit the outer work with the inner one.
thread_local int GOffen = 0;

}

TTransaktion::TTransaktion(const QString& ort, QSqlDatabase db) : FOrt(ort), FDb(db.isValid() ? db : TZEP_Connection::Database())
{
    if (GOffen > 0)
        FehlerRaise(FOrt, {QStringLiteral("Es ist schon eine Transaktion offen.")});
    FSqlite = FDb.driver()->dbmsType() == QSqlDriver::SQLite;
    Ausfuehren(FSqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    FOffen = true;
    ++GOffen;
}

TTransaktion::~TTransaktion()
{
    if (!FOffen)
        return;
    QSqlQuery(FDb).exec(QStringLiteral("ROLLBACK"));
    --GOffen;
}

void TTransaktion::Commit()
{
    if (!FOffen)
        FehlerRaise(FOrt, {QStringLiteral("Die Transaktion ist schon abgeschlossen.")});
    // PostgreSQL answers COMMIT of a transaction that a failed statement aborted with the
    // tag ROLLBACK, not with an error; the driver's commit reads the tag and fails. A failed
    // commit leaves the rollback to the destructor.
    if (!FDb.commit())
        FehlerRaise(FOrt, {QStringLiteral("COMMIT"), FDb.lastError().text()});
    FOffen = false;
    --GOffen;
}

void TTransaktion::Ausfuehren(const QString& sql)
{
    QSqlQuery q(FDb);
    if (!q.exec(sql))
        FehlerRaise(FOrt, {sql, q.lastError().text()});
}
