#include "tests/inventurliste/liste.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"

#include <QSqlError>
#include <QSqlQuery>

void ListeTest::SetUp()
{
    FDb = DemoKette(TestKette());
    KALMET_REQUIRE_DB(*FDb);
    ORVUhrSetzen(EncodeDateTime(2026, 12, 8, 10, 0, 0, 0));
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");
    ORVInfo().RegisterLeeren();
}

void ListeTest::TearDown()
{
    FListe.reset();
    ORVUhrSetzen(std::nullopt);
    FDb.reset();
}

TInventurliste& ListeTest::Liste()
{
    if (!FListe)
        FListe = std::make_unique<TInventurliste>(TInventurlisteOptionen::AusParametern());
    return *FListe;
}

void ListeTest::Sql(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
}

QVariant ListeTest::Wert(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql) && q.next()) << qPrintable(sql);
    return q.value(0);
}
