#include "framework/db/transaktion.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

TTransaktion::TTransaktion(const QString& ort, QSqlDatabase db) : FOrt(ort), FDb(db.isValid() ? db : TZEP_Connection::Database())
{
    const bool sqlite = FDb.driver()->dbmsType() == QSqlDriver::SQLite;
    Ausfuehren(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    FOffen = true;
}

TTransaktion::~TTransaktion()
{
    if (FOffen)
        QSqlQuery(FDb).exec(QStringLiteral("ROLLBACK"));
}

void TTransaktion::Commit()
{
    if (!FOffen)
        FehlerRaise(FOrt, {QStringLiteral("Die Transaktion ist schon abgeschlossen.")});
    Ausfuehren(QStringLiteral("COMMIT"));
    FOffen = false;
}

void TTransaktion::Ausfuehren(const QString& sql)
{
    QSqlQuery q(FDb);
    if (!q.exec(sql))
        FehlerRaise(FOrt, {sql, q.lastError().text()});
}
