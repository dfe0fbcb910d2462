#include "demo/demodatenbank.h"

#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/db/migrations.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

void DemoDatenbankErzeugen(const TDbUrl& url, TDemoParameter p, bool ersetzen)
{
    if (ersetzen && url.Typ == TConnectorTyp::SQLite) {
        TZEP_Connection::CloseThreadConnection();
        for (const char* endung : {"", "-wal", "-shm"})
            QFile::remove(url.Path + QLatin1String(endung));
    }
    TZEP_Connection::Configure(url);
    QSqlDatabase db = TZEP_Connection::Database();
    MigrationenAusfuehren(db);
    QSqlQuery q(db);
    if (ersetzen && url.Typ == TConnectorTyp::PostgreSQL) {
        if (!q.exec(QStringLiteral("TRUNCATE ") + SchemaTabellen().join(QStringLiteral(", ")) + QStringLiteral(" RESTART IDENTITY")))
            FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"), {q.lastError().text()});
    }
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM artikel")) || !q.next())
        FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"), {q.lastError().text()});
    if (q.value(0).toInt() > 0)
        FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"),
                    {QStringLiteral("Die Datenbank enthält schon Artikel; --force ersetzt sie.")});
    q.finish();
    if (p.Benutzer.isEmpty())
        p.Benutzer = BetriebssystemBenutzer();
    TDemoGenerator(p).Erzeugen(db);
}
