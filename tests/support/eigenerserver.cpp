#include "tests/support/eigenerserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QString CAdmin = QStringLiteral("kalmet_admin");
const QString CAdminPasswort = QStringLiteral("Admin-Passwort-3");

// The folder of the newest installed server's programs; empty when there is none.
QString ServerBin()
{
    const QStringList versionen = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = versionen.rbegin(); it != versionen.rend(); ++it)
        if (const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it); QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    return initdb.isEmpty() ? QString() : QFileInfo(initdb).path();
}

QString Betriebssystembenutzer()
{
    const passwd* pw = getpwuid(geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

bool Schreiben(const QString& pfad, const QString& text)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0
        && f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

}

bool TEigenerServer::Vorhanden()
{
    return !ServerBin().isEmpty();
}

TEigenerServer::TEigenerServer() : FBin(ServerBin())
{
    if (FBin.isEmpty())
        FFehler = QStringLiteral("keine PostgreSQL-Serverprogramme");
    else if (!FOrdner.isValid())
        FFehler = QStringLiteral("kein temporärer Ordner");
    else if (Zertifikate() && Starten())
        return;
    if (FFehler.isEmpty())
        FFehler = QStringLiteral("Server startet nicht");
}

TEigenerServer::~TEigenerServer()
{
    if (FPort)
        Ausfuehren(FBin + QStringLiteral("/pg_ctl"), {QStringLiteral("-D"), FOrdner.filePath(QStringLiteral("data")),
                                                      QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")}, true);
}

bool TEigenerServer::Ausfuehren(const QString& programm, const QStringList& argumente, bool alsServer)
{
    QProcess p;
    // the server refuses to run as root; it starts in / as it may not enter root's folders
    if (alsServer && geteuid() == 0) {
        p.setWorkingDirectory(QStringLiteral("/"));
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), programm} + argumente);
    } else {
        p.setWorkingDirectory(FOrdner.path());
        p.start(programm, argumente);
    }
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    FFehler = QStringLiteral("%1 %2: %3%4").arg(programm, argumente.join(QLatin1Char(' ')), p.errorString(),
                                               QString::fromLocal8Bit(p.readAllStandardError()));
    return false;
}

bool TEigenerServer::Zertifikate()
{
    const QString openssl = QStringLiteral("openssl");
    const QStringList ec{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                         QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    const auto wurzel = [&](const QString& name) {
        return Ausfuehren(openssl, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec
                                       + QStringList{QStringLiteral("-keyout"), name + QStringLiteral(".key"), QStringLiteral("-out"),
                                                     name + QStringLiteral(".crt"), QStringLiteral("-days"), QStringLiteral("2"),
                                                     QStringLiteral("-subj"), QStringLiteral("/CN=Kalmet Test ") + name});
    };
    return wurzel(QStringLiteral("wurzel")) && wurzel(QStringLiteral("fremd"))
        && Ausfuehren(openssl, QStringList{QStringLiteral("req"), QStringLiteral("-new")} + ec
                                   + QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"), QStringLiteral("-out"),
                                                 QStringLiteral("server.csr"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost")})
        && Schreiben(FOrdner.filePath(QStringLiteral("server.ext")), QStringLiteral("subjectAltName=DNS:localhost\n"))
        && Ausfuehren(openssl, {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                                QStringLiteral("-CA"), QStringLiteral("wurzel.crt"), QStringLiteral("-CAkey"), QStringLiteral("wurzel.key"),
                                QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"),
                                QStringLiteral("server.ext"), QStringLiteral("-out"), QStringLiteral("server.crt")})
        && QFile::setPermissions(FOrdner.filePath(QStringLiteral("server.key")), QFile::ReadOwner | QFile::WriteOwner);
}

bool TEigenerServer::Starten()
{
    const QString daten = FOrdner.filePath(QStringLiteral("data"));
    if (!Schreiben(FOrdner.filePath(QStringLiteral("admin.pw")), CAdminPasswort + QLatin1Char('\n'))
        || (geteuid() == 0 && !Ausfuehren(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("postgres:"), FOrdner.path()}))
        || !Ausfuehren(FBin + QStringLiteral("/initdb"),
                       {QStringLiteral("-D"), daten, QStringLiteral("-U"), CAdmin, QStringLiteral("--pwfile=") + FOrdner.filePath(QStringLiteral("admin.pw")),
                        QStringLiteral("--auth-local=peer"), QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("-E"),
                        QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("-N")},
                       true))
        return false;
    const QString optionen = QStringLiteral("-k %1 -c listen_addresses=127.0.0.1 -c fsync=off -c ssl=on -c ssl_cert_file=%1/server.crt "
                                            "-c ssl_key_file=%1/server.key")
                                 .arg(FOrdner.path());
    // a port another program holds: the next try takes another
    for (int versuch = 0; versuch < 5 && !FPort; ++versuch) {
        const int port = 20000 + QRandomGenerator::global()->bounded(20000);
        if (Ausfuehren(FBin + QStringLiteral("/pg_ctl"),
                       {QStringLiteral("-D"), daten, QStringLiteral("-l"), FOrdner.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                        QStringLiteral("-o"), QStringLiteral("-p %1 ").arg(port) + optionen, QStringLiteral("start")},
                       true))
            FPort = port;
    }
    if (!FPort) {
        // what the server said of its last try: pg_ctl itself only says that it did not start
        QFile log(FOrdner.filePath(QStringLiteral("server.log")));
        if (log.open(QIODevice::ReadOnly))
            FFehler += QStringLiteral("\n") + QString::fromLocal8Bit(log.readAll().right(2000));
    }
    const QString os = Betriebssystembenutzer();
    return FPort && Sql(QStringLiteral("CREATE ROLE %1 LOGIN CREATEDB PASSWORD '%2'").arg(QLatin1String(Benutzer), QLatin1String(Passwort)))
        && Sql(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(QLatin1String(Datenbank), QLatin1String(Benutzer)))
        && (os == CAdmin || Sql(QStringLiteral("CREATE ROLE \"%1\" LOGIN").arg(os)));
}

QString TEigenerServer::Url(const QString& host, const QString& zusatz) const
{
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(QLatin1String(Benutzer), host).arg(FPort).arg(QLatin1String(Datenbank)) + zusatz;
}

QString TEigenerServer::Passwortdatei() const
{
    const QString pfad = FOrdner.filePath(QStringLiteral("pgpass"));
    QString zeilen;
    for (const char* host : {"127.0.0.1", "localhost"})
        zeilen += QStringLiteral("%1:%2:*:%3:%4\n").arg(QLatin1String(host)).arg(FPort).arg(QLatin1String(Benutzer), QLatin1String(Passwort));
    EXPECT_TRUE(Schreiben(pfad, zeilen)) << qPrintable(pfad);
    return pfad;
}

bool TEigenerServer::Sql(const QString& sql) const
{
    const QString name = QStringLiteral("kalmet_eigener_server");
    bool ok;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(FPort);
        db.setUserName(CAdmin);
        db.setPassword(CAdminPasswort);
        db.setDatabaseName(QStringLiteral("postgres"));
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(sql);
        EXPECT_TRUE(ok) << qPrintable(sql) << ": " << qPrintable(db.lastError().text()) << qPrintable(q.lastError().text());
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
