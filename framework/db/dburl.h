#pragma once

#include <QString>

#include <utility>
#include <vector>

// Which SQL engine a connection talks to; statement builders may need to know it.
enum class TConnectorTyp { SQLite = 1, PostgreSQL = 2 };

// The database the program works on: "sqlite:/path/file.db", or a PostgreSQL URL
// "postgresql://user@host:port/db?sslmode=verify-full&sslrootcert=/path", "postgresql:///db"
// (no host: the local socket), "postgresql:///?service=NAME" or its short form "service:NAME".
// What the URL leaves out (host, port, user, password) the client library takes from its own
// sources: the environment (PGHOST, PGPASSWORD, ...), the password file and the service file.
struct TDbUrl {
    TConnectorTyp Typ = TConnectorTyp::SQLite;
    QString Path;      // SQLite file
    QString Host;      // empty: the local socket, or what the environment or service names
    int Port = -1;     // -1: the client library's default
    QString User;
    QString Password;
    QString Database;
    // the query parameters (service, sslmode, sslrootcert, sslcert, sslkey), in URL order
    std::vector<std::pair<QString, QString>> Parameter;
    // the password came with --db, where every local user sees it in the process list
    bool PasswortAufBefehlszeile = false;

    // Throws EORVFehler on an unknown form; the error never quotes the password. A password
    // read here is hidden in every text from then on (see OhneGeheimnisse).
    static TDbUrl Parse(const QString& url);
    // The URL without its password, to show, log and hand to another process.
    QString ToString() const;
};

// The driver's connect options for the URL's parameters and extra ("key=value;..."), each
// value quoted for the client library.
QString Verbindungsoptionen(const TDbUrl& url, const QString& extra = {});

// True when the server asks for a password that neither the URL nor the client library's
// sources (password file, PGPASSWORD, service file) give: then a person may type one.
bool PasswortFehlt(const TDbUrl& url);

// The warning for a password given on the command line; empty when there is none there.
QString PasswortWarnung(const TDbUrl& url);

// The help text of the --db option.
QString DbOptionText();
