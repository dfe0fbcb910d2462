#include "framework/db/transaktion.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlDriver>
#include <QSqlQuery>

TTransaktion::TTransaktion(const QString& ort, QSqlDatabase db) : FOrt(ort), FDb(db.isValid() ? db : TZEP_Connection::Database())
{
    // PostgreSQL would take a second BEGIN as part of the first and commit the outer work with
    // the inner one
    if (TZEP_Connection::Transaktionen() > 0)
        FehlerRaise(FOrt, {QStringLiteral("Es ist schon eine Transaktion offen.")});
    FSqlite = FDb.driver()->dbmsType() == QSqlDriver::SQLite;
    // on the thread's connection PostgreSQL gets BEGIN with the first statement: a round trip less
    FBeginWartet = !FSqlite && !db.isValid();
    if (!FBeginWartet)
        Ausfuehren(FSqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    FOffen = true;
    ++TZEP_Connection::Transaktionen();
    if (FBeginWartet)
        TZEP_Connection::BeginVormerken(FOrt);
}

TTransaktion::~TTransaktion()
{
    if (!FOffen)
        return;
    const bool begonnen = !FBeginWartet || TZEP_Connection::VormerkenBeenden();
    if (begonnen && FDb.isOpen())   // a server that ended the session rolled it back itself
        QSqlQuery(FDb).exec(QStringLiteral("ROLLBACK"));
    --TZEP_Connection::Transaktionen();
}

void TTransaktion::Commit()
{
    if (!FOffen)
        FehlerRaise(FOrt, {QStringLiteral("Die Transaktion ist schon abgeschlossen.")});
    // PostgreSQL answers COMMIT of a transaction that a failed statement aborted with the
    // tag ROLLBACK, not with an error; the driver's commit reads the tag and fails. A failed
    // commit, or data Qt dropped meanwhile, leaves the rollback to the destructor.
    TZEP_Connection::Pruefen(FOrt);
    if (FBeginWartet)
        TZEP_Connection::MitCommitSenden(FOrt);   // what waits and COMMIT in one round trip
    else if (!FDb.commit())
        TZEP_Connection::Fehlgeschlagen(FOrt, FDb, {QStringLiteral("COMMIT")});
    FOffen = false;
    if (FBeginWartet)
        TZEP_Connection::VormerkenBeenden();
    --TZEP_Connection::Transaktionen();
}

void TTransaktion::Ausfuehren(const QString& sql)
{
    QSqlQuery q(FDb);
    if (!q.exec(sql))
        TZEP_Connection::Fehlgeschlagen(FOrt, q, {sql});
}
