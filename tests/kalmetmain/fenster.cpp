#include "tests/kalmetmain/fenster.h"

#include "demo/demodatenbank.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/migrations.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
QTemporaryDir* GVorlageDir = nullptr;
QString Vorlage() { return GVorlageDir->filePath("vorlage.db"); }
}

void FensterTest::SetUpTestSuite()
{
    if (GVorlageDir)
        return;
    GVorlageDir = new QTemporaryDir;
    TDemoParameter p;
    p.Seed = 3;
    p.Artikel = 120;
    p.Filialen = 5;
    p.Heute = QDate(2026, 12, 8);
    p.Benutzer = "tester";
    TDbUrl url;
    url.Path = Vorlage();
    DemoDatenbankErzeugen(url, p, true);
    TZEP_Connection::CloseThreadConnection();
}

void FensterTest::SetUp()
{
    FDir = std::make_unique<QTemporaryDir>();
    TDbUrl url;
    url.Path = FDir->filePath("test.db");
    ASSERT_TRUE(QFile::copy(Vorlage(), url.Path));
    TZEP_Connection::Configure(url);
    MigrationenAusfuehren(TZEP_Connection::Database());
    ORVUhrSetzen(EncodeDateTime(2026, 12, 8, 10, 0, 0, 0));
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");
    ORVInfo().RegisterLeeren();
}

void FensterTest::TearDown()
{
    FFenster.reset();
    ORVUhrSetzen(std::nullopt);
    TZEP_Connection::CloseThreadConnection();
}

TfrmKalmetMain& FensterTest::Fenster()
{
    if (!FFenster) {
        FFenster = std::make_unique<TfrmKalmetMain>();
        FFenster->show();
        FFenster->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(FFenster.get()));
    }
    return *FFenster;
}

void FensterTest::Sql(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
}

void FensterTest::Taste(int taste, Qt::KeyboardModifiers mod)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : FFenster.get(),
                    static_cast<Qt::Key>(taste), mod);
}

std::vector<TVRListNode*> FensterTest::Zeilen()
{
    std::vector<TVRListNode*> r;
    for (TVRListNode* n = FFenster->vrInvList->GetFirst(); n; n = FFenster->vrInvList->GetNext(n))
        r.push_back(n);
    return r;
}

std::vector<bool> FensterTest::Haken()
{
    std::vector<bool> r;
    for (TVRListNode* n : Zeilen())
        r.push_back(n->CheckState == Qt::Checked);
    return r;
}
