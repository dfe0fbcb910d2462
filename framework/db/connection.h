#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>

// Which SQL engine a connection talks to; statement builders may need to know it.
enum class TConnectorTyp { SQLite = 1, PostgreSQL = 2 };

// The database the program works on: "sqlite:/path/file.db" or "postgresql://user:pw@host:port/db".
struct TDbUrl {
    TConnectorTyp Typ = TConnectorTyp::SQLite;
    QString Path;      // SQLite file
    QString Host;
    int Port = 5432;
    QString User;
    QString Password;
    QString Database;

    static TDbUrl Parse(const QString& url);   // throws EORVFehler on an unknown form
    QString ToString() const;
};

// Database configuration of the installation; 1 means "no SQL access".
extern int GDBConfig;

// The demo database file in the user's data folder.
QString DefaultDemoDbPath();

// A SQLite file that is not there. Only the demo database's first start and kalmet-demo
// create one; a mistyped path is refused, never created with its folders.
bool SQLiteDateiFehlt(const TDbUrl& url);

// --db value if given, else KALMET_DB, else the demo database.
TDbUrl DbUrlChoose(const QString& commandLineValue);

namespace TZEP_Connection {
// Sets the database for the whole process; existing thread connections are closed.
void Configure(const TDbUrl& url);
const TDbUrl& Url();
TConnectorTyp Typ();
// Changes with every Configure and Erneuern; caches of database contents compare it to stay current.
int Generation();
// True when the connections were opened anew since generation was taken (another database, a
// server restart), and generation is brought up to date: statements kept from before are dead.
bool NeuGeoeffnet(int& generation);

// The connection of the calling thread, opened on first use (Qt SQL connections belong to
// one thread). Throws EORVFehler when the database cannot be opened.
QSqlDatabase Database();

// Closes the calling thread's connection; worker threads call it before they end.
void CloseThreadConnection();

// Every thread opens its connection anew on its next use (after the server restarted, the
// old ones are dead although they look open).
void Erneuern();

// A connection of its own under name, set up as the threads' connections are; optionen are
// the driver's connect options on PostgreSQL. Throws EORVFehler when it cannot be opened.
QSqlDatabase Oeffnen(const TDbUrl& url, const QString& name, const QString& optionen = {});
void Schliessen(const QString& name);

// Runs one statement with its ? bound to werte, forward only, on the calling thread's
// connection; a failure raises EORVFehler under ort.
QSqlQuery Ausfuehren(const QString& ort, const QString& sql, const QVariantList& werte = {});

// Runs a statement that is run again and again (once per article, say) like Ausfuehren, but
// prepared once on the calling thread's connection and kept while that stays open. Each row
// of a read goes to zeile; the statement is finished before it returns, so that it holds
// nothing between runs. The number of rows changed.
int Wiederholen(const QString& ort, const QString& sql, const QVariantList& werte = {},
                const std::function<void(const QSqlQuery&)>& zeile = {});
}
