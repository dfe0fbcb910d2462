#pragma once

#include "framework/db/dburl.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <functional>

class TBlockZeile;

// Database configuration of the installation; 1 means "no SQL access".
extern int GDBConfig;

// The demo database file in the user's data folder.
QString DefaultDemoDbPath();

// A SQLite file that is not there. Only the demo database's first start and kalmet-demo
// create one; a mistyped path is refused, never created with its folders.
bool SQLiteDateiFehlt(const TDbUrl& url);

// --db value if given, else KALMET_DB, else the demo database. A password in the --db value is
// marked (PasswortAufBefehlszeile), so that the program warns of it.
TDbUrl DbUrlChoose(const QString& commandLineValue);

namespace TZEP_Connection {
// Sets the database for the whole process; existing thread connections are closed.
void Configure(const TDbUrl& url);
// Forgets the password of the database set (the window's, when it closes).
void PasswortVergessen();
const TDbUrl& Url();
TConnectorTyp Typ();
// Changes with every Configure and Erneuern; caches of database contents compare it to stay current.
int Generation();

// The connection of the calling thread, opened on first use (Qt SQL connections belong to
// one thread). Throws EORVFehler when the database cannot be opened, EVerbindungVerloren once
// a connection was lost: a lost one is never replaced behind the work's back, nor is the
// connection of an open transaction.
QSqlDatabase Database();
// The same without sending what waits (Vormerken): for what runs no statement of the work.
QSqlDatabase DatabaseOhneSenden();
// The calling thread's connection as a number of its own; 0 when it has none for the current
// generation. A statement kept (TGehalteneAnweisung) belongs to one.
quint64 Kennung();

// Closes the calling thread's connection; worker threads call it before they end.
void CloseThreadConnection();

// Every thread opens its connection anew on its next use, and a loss is over: after the server
// restarted, or once the window has told the user of a lost connection.
void Erneuern();

// True from the loss of a connection on any thread until Erneuern or Configure.
bool Verloren();

// Transactions open on the calling thread (TTransaktion counts them).
int& Transaktionen();

// A connection of its own under name, set up as the threads' connections are; optionen are
// the driver's connect options on PostgreSQL. Throws EORVFehler when it cannot be opened.
QSqlDatabase Oeffnen(const TDbUrl& url, const QString& name, const QString& optionen = {});
void Schliessen(const QString& name);

// Raises what may have gone wrong unnoticed on the calling thread: a lost connection
// (EVerbindungVerloren), or data that Qt dropped and only warned of since the last check
// (EORVFehler under ort). Every statement wrapper, commit and batch command checks it.
void Pruefen(const QString& ort);
// Runs q (prepared, its values bound) after Pruefen; a failure raises under ort with texte.
void Starten(QSqlQuery& q, const QString& ort, const QStringList& texte = {});
// Finishes q once its rows are read: a read that stopped on a failure instead of after the
// last row raises, as does what Pruefen finds.
void Beenden(QSqlQuery& q, const QString& ort);
// Raises the failure of q, or of a commit on db, under ort with texte and the driver's error:
// EVerbindungVerloren when the connection is gone, else EORVFehler.
[[noreturn]] void Fehlgeschlagen(const QString& ort, const QSqlQuery& q, QStringList texte = {});
[[noreturn]] void Fehlgeschlagen(const QString& ort, const QSqlDatabase& db, QStringList texte = {});
// Raises fehler, met by a statement run on the calling thread's connection past Qt, as the
// failure of a query on it.
[[noreturn]] void Fehlgeschlagen(const QString& ort, const QSqlError& fehler, QStringList texte = {});

// Raises under ort when sql holds more than one statement: a driver that hands the text to the
// server as it stands would run the others when it prepares the first.
void NurEineAnweisung(const QString& ort, const QString& sql);

// Runs one statement with its ? bound to werte, forward only, on the calling thread's
// connection; a failure raises under ort. The caller reads its rows to the end.
QSqlQuery Ausfuehren(const QString& ort, const QString& sql, const QVariantList& werte = {});

// Runs a read like Ausfuehren and hands each row to zeile; a read that stops short (a lost
// connection, rows dropped) raises instead of ending early.
void Lesen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const QSqlQuery&)>& zeile);

// Runs a statement that is run again and again (once per article, say) like Ausfuehren, but
// prepared once on the calling thread's connection and kept while that stays open. Each row
// of a read goes to zeile; the statement is finished before it returns, so that it holds
// nothing between runs. The number of rows changed.
int Wiederholen(const QString& ort, const QString& sql, const QVariantList& werte = {},
                const std::function<void(const QSqlQuery&)>& zeile = {});
// A read run again and again like Wiederholen, its rows handed over by column number; on
// SQLite it runs past Qt's driver, which costs per value what the statement costs itself.
// On PostgreSQL it goes past Qt's driver too, sent together with what Vormerken keeps waiting.
void WiederholtLesen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const TBlockZeile&)>& zeile);

// A transaction on the thread's PostgreSQL connection (TTransaktion) whose BEGIN waits with the
// statements given to Vormerken until the next statement goes to the server.
void BeginVormerken(const QString& ort);
// Its end: what still waits is dropped; true when its BEGIN went to the server.
bool VormerkenBeenden();
// A statement whose rows and count nobody needs, run like Wiederholen. Inside a transaction
// begun with BeginVormerken it waits and goes to the server with the thread's next statement,
// in the same round trip when that is a WiederholtLesen: every other way to the connection
// (Database) sends it first, alone. Its failure raises there. Otherwise it runs at once.
void Vormerken(const QString& ort, const QString& sql, const QVariantList& werte = {});
// Commits the transaction begun with BeginVormerken, together with what waits.
void MitCommitSenden(const QString& ort);
// How often statements that waited went to the server.
quint64 Sendungen();
}
