#include "tests/inventurliste/liste.h"

#include <QSqlError>
#include <QSqlQuery>

void ListeTest::SetUp()
{
    FDb = TestKetteStarten();
    KALMET_REQUIRE_DB(*FDb);
}

void ListeTest::TearDown()
{
    FListe.reset();
    TestKetteBeenden();
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
