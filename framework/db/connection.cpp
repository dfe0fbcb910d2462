#include "framework/db/connection.h"

#include "framework/core/fehler.h"
#include "framework/core/geheimnis.h"
#include "framework/db/anweisung.h"
#include "framework/db/pqanweisung.h"
#include "framework/db/sqliteanweisung.h"
#include "framework/db/sqlwarnung.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <unordered_map>

int GDBConfig = 0;

QString DefaultDemoDbPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.local/share");
    return dir + QStringLiteral("/kalmet/kalmet-demo.db");
}

bool SQLiteDateiFehlt(const TDbUrl& url)
{
    return url.Typ == TConnectorTyp::SQLite && !QFileInfo::exists(url.Path);
}

TDbUrl DbUrlChoose(const QString& commandLineValue)
{
    if (!commandLineValue.isEmpty()) {
        TDbUrl url = TDbUrl::Parse(commandLineValue);
        url.PasswortAufBefehlszeile = !url.Password.isEmpty();
        return url;
    }
    const QString env = qEnvironmentVariable("KALMET_DB");
    if (!env.isEmpty())
        return TDbUrl::Parse(env);
    TDbUrl r;
    r.Path = DefaultDemoDbPath();
    return r;
}

namespace {
const QString COrt = QStringLiteral("TZEP_Connection.Database");
const QString CVerloren = QStringLiteral("Verbindung zur Datenbank verloren.");
const QString CDatenverlust = QStringLiteral("Daten einer Abfrage gingen verloren (zwei Anweisungen zugleich auf einer Verbindung?).");

QMutex GMutex;
TDbUrl GUrl;
std::atomic<int> GGeneration = 0;   // bumped by Configure and Erneuern so threads reopen
std::atomic<bool> GVerloren = false;
std::atomic<quint64> GKennungen = 0;
thread_local int tOpenedGeneration = -1;
thread_local QSqlDatabase tDb;   // the thread's connection, once opened
thread_local quint64 tKennung = 0;
thread_local int tTransaktionen = 0;
thread_local int tWarnungenGeprueft = 0;   // SqlWarnungen() at the last check
// the statements kept by Wiederholen on the thread's connection
thread_local std::unordered_map<QString, TGehalteneAnweisung> tWiederholt;
// on SQLite, those run past Qt; dropped before the connection closes
thread_local std::unordered_map<QString, std::unique_ptr<TSqliteAnweisung>> tSqliteWiederholt;
thread_local int tSqliteLaeuft = 0;   // of those, the ones whose rows are being read
// on PostgreSQL, the open transaction's statements that wait to go with the next one
// (BeginVormerken, Vormerken), and whether its BEGIN went
thread_local bool tVormerken = false;
thread_local std::vector<TPqSchritt> tVorgemerkt;
thread_local bool tBegonnen = false;
thread_local quint64 tSendungen = 0;   // the times what waited went

const QString& ThreadConnectionName()
{
    thread_local const QString name = QStringLiteral("kalmet_%1").arg(reinterpret_cast<quintptr>(QThread::currentThreadId()));
    return name;
}

void Exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        FehlerRaise(COrt, {sql, q.lastError().text()});
}

// A failure that means the server connection is gone: the driver finds it closed, or the
// server said so (SQLSTATE class 08, connection exception; 57P01..57P05, the session ended by
// the server). A SQLite file has no connection to lose; its driver calls failed steps
// connection errors.
bool Weg(const QSqlDriver* driver, const QSqlError& fehler)
{
    if (!driver || driver->dbmsType() != QSqlDriver::PostgreSQL)
        return false;
    const QString code = fehler.nativeErrorCode();
    return !driver->isOpen() || fehler.type() == QSqlError::ConnectionError || code.startsWith(QLatin1String("08"))
        || code.startsWith(QLatin1String("57P"));
}

[[noreturn]] void VerlorenRaise(const QString& ort, QStringList texte = {})
{
    GVerloren = true;
    texte.prepend(CVerloren);
    throw EVerbindungVerloren(ort, texte);
}

// A failure that the statement's data caused (see EDatenAbgelehnt).
bool DatenAbgelehnt(const QSqlDriver* driver, const QSqlError& fehler)
{
    const QString code = fehler.nativeErrorCode();
    if (driver && driver->dbmsType() == QSqlDriver::PostgreSQL)
        return code.startsWith(QLatin1String("22")) || code.startsWith(QLatin1String("23"));
    // SQLITE_TOOBIG, SQLITE_CONSTRAINT, SQLITE_MISMATCH, also as extended codes
    const int primaer = code.toInt() & 0xFF;
    return primaer == 18 || primaer == 19 || primaer == 20;
}

[[noreturn]] void RaiseFuer(const QString& ort, const QSqlDriver* driver, const QSqlError& fehler, QStringList texte)
{
    texte << fehler.text();
    if (Weg(driver, fehler))
        VerlorenRaise(ort, texte);
    if (DatenAbgelehnt(driver, fehler))
        throw EDatenAbgelehnt(ort, texte);
    FehlerRaise(ort, texte);
}
}

namespace TZEP_Connection {

void Configure(const TDbUrl& url)
{
    QMutexLocker lock(&GMutex);
    GUrl = url;
    GVerloren = false;
    ++GGeneration;
}

void PasswortVergessen()
{
    QMutexLocker lock(&GMutex);
    GUrl.Password.clear();
    GeheimnisseVergessen();
}

const TDbUrl& Url()
{
    return GUrl;
}

TConnectorTyp Typ()
{
    return GUrl.Typ;
}

int Generation()
{
    return GGeneration;
}

QSqlDatabase DatabaseOhneSenden()
{
    if (GVerloren)
        VerlorenRaise(COrt);
    const int generation = GGeneration;
    if (tDb.isValid()) {
        // the thread's open connection is kept at hand: a look-up by name locks the registry
        if (tOpenedGeneration == generation && tDb.isOpen())
            return tDb;
        // the server ended it, or a transaction would go on without its work on another one
        if (tOpenedGeneration == generation || tTransaktionen > 0)
            VerlorenRaise(COrt);
        // a kept statement whose rows are being read would be dropped under the reader
        if (tSqliteLaeuft > 0)
            FehlerRaise(COrt, {QStringLiteral("Die Verbindung kann nicht neu geöffnet werden, während eine Abfrage auf ihr liest.")});
    }
    TDbUrl url;
    {
        QMutexLocker lock(&GMutex);
        url = GUrl;
    }
    CloseThreadConnection();
    tDb = Oeffnen(url, ThreadConnectionName());
    tOpenedGeneration = generation;
    tKennung = ++GKennungen;
    return tDb;
}

namespace {

// Sends what waits, and dazu after it in the same round trip.
void MitVorgemerktemSenden(std::vector<TPqSchritt> dazu)
{
    std::vector<TPqSchritt> schritte;
    schritte.swap(tVorgemerkt);
    if (!schritte.empty()) {
        ++tSendungen;
        tBegonnen = tBegonnen || tVormerken;
    }
    schritte.insert(schritte.end(), std::make_move_iterator(dazu.begin()), std::make_move_iterator(dazu.end()));
    PqNacheinander(schritte);
}

// The statement of sql with werte for libpq: sql checked and numbered once per text.
TPqSchritt Schritt(const QString& ort, const QString& sql, const QVariantList& werte)
{
    struct TNummeriert {
        QByteArray Sql;
        qsizetype Parameter = 0;
    };
    thread_local std::unordered_map<QString, TNummeriert> nummeriert;
    auto it = nummeriert.find(sql);
    if (it == nummeriert.end()) {
        NurEineAnweisung(ort, sql);
        TNummeriert n;
        n.Sql = PlatzhalterNummeriert(sql, &n.Parameter);
        it = nummeriert.emplace(sql, std::move(n)).first;
    }
    QByteArrayList texte;
    texte.reserve(werte.size());
    for (const QVariant& w : werte)
        texte << PqWert(w);
    return {ort, it->second.Sql, texte, {}, {}, it->second.Parameter};
}

}

QSqlDatabase Database()
{
    QSqlDatabase db = DatabaseOhneSenden();
    // whatever runs on it now comes after what waits, inside the transaction it may begin
    if (!tVorgemerkt.empty())
        MitVorgemerktemSenden({});
    return db;
}

quint64 Kennung()
{
    return tDb.isValid() && tOpenedGeneration == GGeneration ? tKennung : 0;
}

QSqlDatabase Oeffnen(const TDbUrl& url, const QString& name, const QString& optionen)
{
    QSqlDatabase db;
    if (url.Typ == TConnectorTyp::SQLite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(url.Path);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.Host);
        db.setPort(url.Port);
        db.setUserName(url.User);
        db.setPassword(url.Password);
        db.setDatabaseName(url.Database);
    }
    db.setConnectOptions(url.Typ == TConnectorTyp::SQLite ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000") : Verbindungsoptionen(url, optionen));
    if (!db.open())
        FehlerRaise(COrt, {QStringLiteral("Datenbank nicht erreichbar: ") + url.ToString(), db.lastError().text()});
    if (url.Typ == TConnectorTyp::SQLite) {
        Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        Exec(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
    } else {
        // timestamps carry no zone: every terminal reads and binds them alike, whatever
        // the client's or the server's zone
        Exec(db, QStringLiteral("SET TIME ZONE 'UTC'"));
    }
    return db;
}

void Schliessen(const QString& name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void CloseThreadConnection()
{
    VormerkenBeenden();
    tSqliteWiederholt.clear();   // before the connection: SQLite closes none with statements left
    tDb = QSqlDatabase();
    tKennung = 0;
    Schliessen(ThreadConnectionName());
    tWiederholt.clear();   // after the connection: its statements then go without a word to the server
}

void Erneuern()
{
    QMutexLocker lock(&GMutex);
    GVerloren = false;
    ++GGeneration;
}

bool Verloren()
{
    return GVerloren;
}

int& Transaktionen()
{
    return tTransaktionen;
}

void Pruefen(const QString& ort)
{
    if (GVerloren || (tDb.isValid() && tOpenedGeneration == GGeneration && !tDb.isOpen()))
        VerlorenRaise(ort);
    if (const int warnungen = SqlWarnungen(); warnungen != tWarnungenGeprueft) {
        tWarnungenGeprueft = warnungen;
        FehlerRaise(ort, {CDatenverlust, LetzteSqlWarnung()});
    }
}

void Starten(QSqlQuery& q, const QString& ort, const QStringList& texte)
{
    Pruefen(ort);
    if (!q.exec())
        Fehlgeschlagen(ort, q, texte);
}

void Beenden(QSqlQuery& q, const QString& ort)
{
    const QSqlError fehler = q.lastError();
    q.finish();
    Pruefen(ort);
    if (fehler.isValid())
        RaiseFuer(ort, q.driver(), fehler, {});
}

void Fehlgeschlagen(const QString& ort, const QSqlQuery& q, QStringList texte)
{
    RaiseFuer(ort, q.driver(), q.lastError(), std::move(texte));
}

void Fehlgeschlagen(const QString& ort, const QSqlDatabase& db, QStringList texte)
{
    RaiseFuer(ort, db.driver(), db.lastError(), std::move(texte));
}

void Fehlgeschlagen(const QString& ort, const QSqlError& fehler, QStringList texte)
{
    RaiseFuer(ort, tDb.driver(), fehler, std::move(texte));
}

void NurEineAnweisung(const QString& ort, const QString& sql)
{
    // a ";" outside a quoted text, a quoted name or a "$$" body, with more after it
    QString ende;   // what closes the quoted part the scan is in
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QStringView rest = QStringView(sql).mid(i);
        if (!ende.isEmpty()) {
            if (rest.startsWith(ende)) {
                i += ende.size() - 1;
                ende.clear();
            }
        } else if (rest.startsWith(u"$$")) {
            ende = QStringLiteral("$$");
            ++i;
        } else if (rest[0] == QLatin1Char('\'') || rest[0] == QLatin1Char('"')) {
            ende = rest[0];
        } else if (rest[0] == QLatin1Char(';') && !rest.mid(1).trimmed().isEmpty()) {
            Fehlgeschlagen(ort, QSqlError(QStringLiteral("Unable to execute multiple statements at a time"), QString(), QSqlError::StatementError),
                           {sql});
        }
    }
}

QSqlQuery Ausfuehren(const QString& ort, const QString& sql, const QVariantList& werte)
{
    NurEineAnweisung(ort, sql);
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        Fehlgeschlagen(ort, q);
    for (const QVariant& w : werte)
        q.addBindValue(w);
    Starten(q, ort);
    return q;
}

void Lesen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const QSqlQuery&)>& zeile)
{
    QSqlQuery q = Ausfuehren(ort, sql, werte);
    while (q.next())
        zeile(q);
    Beenden(q, ort);
}

namespace {

// The statement kept for sql on the SQLite connection handle, the thread's.
TSqliteAnweisung& SqliteWiederholt(const QString& ort, const QString& sql, sqlite3* handle)
{
    std::unique_ptr<TSqliteAnweisung>& a = tSqliteWiederholt[sql];
    if (!a)
        a = std::make_unique<TSqliteAnweisung>(ort, sql, handle);
    return *a;
}

// Runs the statement kept for sql through Qt's driver, each row to zeile.
int QtWiederholen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const QSqlQuery&)>& zeile)
{
    QSqlQuery& q = tWiederholt[sql].Holen(ort, sql);
    for (qsizetype i = 0; i < werte.size(); ++i)
        q.bindValue(static_cast<int>(i), werte[i]);
    Starten(q, ort);
    const int geaendert = q.numRowsAffected();
    try {
        if (zeile)
            while (q.next())
                zeile(q);
    } catch (...) {
        q.finish();
        throw;
    }
    Beenden(q, ort);
    return geaendert;
}

}

int Wiederholen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const QSqlQuery&)>& zeile)
{
    sqlite3* handle = SqliteHandle(Database());   // first: opening it anew drops the kept statements
    if (handle && !zeile)
        return SqliteWiederholt(ort, sql, handle).Ausfuehren(ort, werte, {});
    return QtWiederholen(ort, sql, werte, zeile);
}

void WiederholtLesen(const QString& ort, const QString& sql, const QVariantList& werte, const std::function<void(const TBlockZeile&)>& zeile)
{
    if (sqlite3* handle = SqliteHandle(DatabaseOhneSenden())) {
        ++tSqliteLaeuft;
        const auto gelesen = qScopeGuard([] { --tSqliteLaeuft; });
        SqliteWiederholt(ort, sql, handle).Ausfuehren(ort, werte, zeile);
        return;
    }
    // on PostgreSQL past Qt's driver as well, and together with what waits
    TPqSchritt s = Schritt(ort, sql, werte);
    s.ProZeile = zeile;
    MitVorgemerktemSenden({std::move(s)});
}

void BeginVormerken(const QString& ort)
{
    tVormerken = true;
    tBegonnen = false;
    tVorgemerkt.push_back({ort, QByteArrayLiteral("BEGIN"), {}, {}});
}

bool VormerkenBeenden()
{
    tVorgemerkt.clear();
    tVormerken = false;
    return std::exchange(tBegonnen, false);
}

void Vormerken(const QString& ort, const QString& sql, const QVariantList& werte)
{
    if (!tVormerken) {
        Wiederholen(ort, sql, werte);
        return;
    }
    tVorgemerkt.push_back(Schritt(ort, sql, werte));
}

void MitCommitSenden(const QString& ort)
{
    MitVorgemerktemSenden({{ort, QByteArrayLiteral("COMMIT"), {}, {}, QByteArrayLiteral("COMMIT")}});
}

quint64 Sendungen()
{
    return tSendungen;
}

}
