#include "framework/db/connection.h"

#include "framework/core/fehler.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <memory>
#include <unordered_map>

int GDBConfig = 0;

TDbUrl TDbUrl::Parse(const QString& url)
{
    TDbUrl r;
    if (url.startsWith(QStringLiteral("sqlite:"))) {
        r.Typ = TConnectorTyp::SQLite;
        r.Path = url.mid(7);
        if (r.Path.startsWith(QStringLiteral("//")))
            r.Path = r.Path.mid(2);
        if (r.Path.isEmpty())
            FehlerRaise(QStringLiteral("TDbUrl.Parse"), {QStringLiteral("SQLite-URL ohne Dateipfad: ") + url});
        return r;
    }
    if (url.startsWith(QStringLiteral("postgresql://")) || url.startsWith(QStringLiteral("postgres://"))) {
        const QUrl u(url);
        if (!u.isValid() || u.path().size() < 2)
            FehlerRaise(QStringLiteral("TDbUrl.Parse"), {QStringLiteral("PostgreSQL-URL ohne Datenbank: ") + url});
        r.Typ = TConnectorTyp::PostgreSQL;
        r.Host = u.host().isEmpty() ? QStringLiteral("localhost") : u.host();
        r.Port = u.port(5432);
        r.User = u.userName();
        r.Password = u.password();
        r.Database = u.path().mid(1);
        return r;
    }
    FehlerRaise(QStringLiteral("TDbUrl.Parse"),
                {QStringLiteral("Unbekannte Datenbank-URL (erwartet sqlite:/pfad oder postgresql://...): ") + url});
}

QString TDbUrl::ToString() const
{
    if (Typ == TConnectorTyp::SQLite)
        return QStringLiteral("sqlite:") + Path;
    QString auth = User;
    if (!auth.isEmpty())
        auth += QLatin1Char('@');
    return QStringLiteral("postgresql://%1%2:%3/%4").arg(auth, Host).arg(Port).arg(Database);
}

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
    if (!commandLineValue.isEmpty())
        return TDbUrl::Parse(commandLineValue);
    const QString env = qEnvironmentVariable("KALMET_DB");
    if (!env.isEmpty())
        return TDbUrl::Parse(env);
    TDbUrl r;
    r.Path = DefaultDemoDbPath();
    return r;
}

namespace {
QMutex GMutex;
TDbUrl GUrl;
int GGeneration = 0;   // bumped by Configure so threads reopen on the new database
thread_local int tOpenedGeneration = -1;
thread_local QSqlDatabase tDb;   // the thread's connection, once opened
// the statements kept by Wiederholen on the thread's connection
thread_local std::unordered_map<QString, std::unique_ptr<QSqlQuery>> tWiederholt;

const QString& ThreadConnectionName()
{
    thread_local const QString name = QStringLiteral("kalmet_%1").arg(reinterpret_cast<quintptr>(QThread::currentThreadId()));
    return name;
}

void Exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        FehlerRaise(QStringLiteral("TZEP_Connection.Database"), {sql, q.lastError().text()});
}
}

namespace TZEP_Connection {

void Configure(const TDbUrl& url)
{
    QMutexLocker lock(&GMutex);
    GUrl = url;
    ++GGeneration;
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
    QMutexLocker lock(&GMutex);
    return GGeneration;
}

bool NeuGeoeffnet(int& generation)
{
    const int jetzt = Generation();
    if (generation == jetzt)
        return false;
    generation = jetzt;
    return true;
}

QSqlDatabase Database()
{
    // the thread's open connection is kept at hand: a look-up by name locks the registry
    if (tOpenedGeneration == Generation() && tDb.isOpen())
        return tDb;
    TDbUrl url;
    int generation;
    {
        QMutexLocker lock(&GMutex);
        url = GUrl;
        generation = GGeneration;
    }
    CloseThreadConnection();
    tDb = Oeffnen(url, ThreadConnectionName());
    tOpenedGeneration = generation;
    return tDb;
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
    db.setConnectOptions(url.Typ == TConnectorTyp::SQLite ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000") : optionen);
    if (!db.open())
        FehlerRaise(QStringLiteral("TZEP_Connection.Database"),
                    {QStringLiteral("Datenbank nicht erreichbar: ") + url.ToString(), db.lastError().text()});
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
    tWiederholt.clear();
    tDb = QSqlDatabase();
    Schliessen(ThreadConnectionName());
}

void Erneuern()
{
    QMutexLocker lock(&GMutex);
    ++GGeneration;
}

}

QSqlQuery TZEP_Connection::Ausfuehren(const QString& ort, const QString& sql, const QVariantList& werte)
{
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        FehlerRaise(ort, {q.lastError().text()});
    for (const QVariant& w : werte)
        q.addBindValue(w);
    if (!q.exec())
        FehlerRaise(ort, {q.lastError().text()});
    return q;
}

int TZEP_Connection::Wiederholen(const QString& ort, const QString& sql, const QVariantList& werte,
                                 const std::function<void(const QSqlQuery&)>& zeile)
{
    const QSqlDatabase db = Database();   // first: reopening it drops the kept statements
    std::unique_ptr<QSqlQuery>& q = tWiederholt[sql];
    if (!q) {
        auto neu = std::make_unique<QSqlQuery>(db);
        neu->setForwardOnly(true);
        if (!neu->prepare(sql)) {
            tWiederholt.erase(sql);
            FehlerRaise(ort, {neu->lastError().text()});
        }
        q = std::move(neu);
    }
    for (qsizetype i = 0; i < werte.size(); ++i)
        q->bindValue(static_cast<int>(i), werte[i]);
    if (!q->exec()) {
        const QString fehler = q->lastError().text();
        q->finish();
        FehlerRaise(ort, {fehler});
    }
    const int geaendert = q->numRowsAffected();
    try {
        if (zeile)
            while (q->next())
                zeile(*q);
    } catch (...) {
        q->finish();
        throw;
    }
    q->finish();
    return geaendert;
}
