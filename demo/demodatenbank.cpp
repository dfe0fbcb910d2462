#include "demo/demodatenbank.h"

#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/db/migrations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

void DemoDatenbankErzeugen(const TDbUrl& url, TDemoParameter p, bool ersetzen)
{
    if (url.Typ == TConnectorTyp::SQLite)
        QDir().mkpath(QFileInfo(url.Path).absolutePath());
    if (ersetzen && url.Typ == TConnectorTyp::SQLite) {
        TZEP_Connection::CloseThreadConnection();
        for (const char* endung : {"", "-wal", "-shm"})
            QFile::remove(url.Path + QLatin1String(endung));
    }
    TZEP_Connection::Configure(url);
    QSqlDatabase db = TZEP_Connection::Database();
    QSqlQuery q(db);
    // a replaced PostgreSQL database starts from an empty schema, with the rows the
    // migrations put in
    if (ersetzen && url.Typ == TConnectorTyp::PostgreSQL
        && !q.exec(QStringLiteral("DROP TABLE IF EXISTS ") + (SchemaTabellen() << QStringLiteral("schema_version")).join(QStringLiteral(", "))
                   + QStringLiteral(" CASCADE")))
        FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"), {q.lastError().text()});
    MigrationenAusfuehren(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM artikel")) || !q.next())
        FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"), {q.lastError().text()});
    if (q.value(0).toInt() > 0)
        FehlerRaise(QStringLiteral("DemoDatenbankErzeugen"),
                    {QStringLiteral("Die Datenbank enthält schon Artikel; --force ersetzt sie.")});
    q.finish();
    if (p.Benutzer.isEmpty())
        p.Benutzer = ProgrammBenutzerBestimmen(QString());   // on PostgreSQL the login role
    TDemoGenerator(p).Erzeugen(db);
}
