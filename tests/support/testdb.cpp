#include "tests/support/testdb.h"

#include "framework/db/migrations.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

const QString CAdmin = QStringLiteral("kalmet_test_admin");

bool AdminExec(const TDbUrl& server, const QString& sql)
{
    bool ok;
    {
        QSqlDatabase db = QSqlDatabase::contains(CAdmin) ? QSqlDatabase::database(CAdmin)
                                                         : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), CAdmin);
        db.setHostName(server.Host);
        db.setPort(server.Port);
        db.setUserName(server.User);
        db.setPassword(server.Password);
        db.setDatabaseName(server.Database);
        if (!db.isOpen() && !db.open()) {
            ADD_FAILURE() << "PostgreSQL not reachable: " << qPrintable(db.lastError().text());
            return false;
        }
        QSqlQuery q(db);
        ok = q.exec(sql);
        if (!ok)
            ADD_FAILURE() << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
    }
    return ok;
}

}

QString TTestDb::Engine()
{
    const QString e = qEnvironmentVariable("KALMET_TEST_ENGINE");
    return e.isEmpty() ? QStringLiteral("sqlite") : e;
}

TTestDb::TTestDb() : TTestDb(TDbUrl{}) {}

TTestDb::TTestDb(const TDbUrl& vorlage)
{
    if (Engine() == QLatin1String("postgres")) {
        const QString serverUrl = qEnvironmentVariable("KALMET_TEST_PG_URL");
        if (serverUrl.isEmpty())
            return;
        const TDbUrl server = TDbUrl::Parse(serverUrl);
        FPgDatenbank = QStringLiteral("kt_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        QString sql = QStringLiteral("CREATE DATABASE ") + FPgDatenbank;
        if (!vorlage.Database.isEmpty())
            sql += QStringLiteral(" TEMPLATE ") + vorlage.Database;
        if (!AdminExec(server, sql))
            return;
        FUrl = server;
        FUrl.Database = FPgDatenbank;
    } else {
        FDir = std::make_unique<QTemporaryDir>();
        FUrl.Typ = TConnectorTyp::SQLite;
        FUrl.Path = FDir->filePath(QStringLiteral("test.db"));
        if (!vorlage.Path.isEmpty() && !QFile::copy(vorlage.Path, FUrl.Path)) {
            ADD_FAILURE() << "cannot copy " << qPrintable(vorlage.Path);
            return;
        }
    }
    TZEP_Connection::Configure(FUrl);
    MigrationenAusfuehren(TZEP_Connection::Database());
    FVerfuegbar = true;
}

TDbUrl TTestDb::Vorlage(const std::function<void(const TDbUrl&)>& fuellen)
{
    static QTemporaryDir dir;
    TDbUrl url;
    if (Engine() == QLatin1String("postgres")) {
        const QString serverUrl = qEnvironmentVariable("KALMET_TEST_PG_URL");
        if (serverUrl.isEmpty())
            return url;
        url = TDbUrl::Parse(serverUrl);
        url.Database = QStringLiteral("kv_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        if (!AdminExec(TDbUrl::Parse(serverUrl), QStringLiteral("CREATE DATABASE ") + url.Database))
            return {};
    } else {
        url.Typ = TConnectorTyp::SQLite;
        url.Path = dir.filePath(QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".db"));
    }
    fuellen(url);
    TZEP_Connection::CloseThreadConnection();   // a template must have no open connection
    return url;
}

TTestDb::~TTestDb()
{
    TZEP_Connection::CloseThreadConnection();
    if (!FPgDatenbank.isEmpty())
        AdminExec(TDbUrl::Parse(qEnvironmentVariable("KALMET_TEST_PG_URL")),
                  QStringLiteral("DROP DATABASE IF EXISTS ") + FPgDatenbank + QStringLiteral(" WITH (FORCE)"));
}

void TTestDb::Exec(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
}
