#include "tests/kalmetmain/fenster.h"

#include "tests/support/demokette.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

void FensterTest::SetUp()
{
    FDb = TestKetteStarten();
    KALMET_REQUIRE_DB(*FDb);
}

void FensterTest::TearDown()
{
    FFenster.reset();
    TestKetteBeenden();
    FDb.reset();
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

std::vector<int> FensterTest::Zeilen()
{
    std::vector<int> r;
    for (int n = FFenster->vrInvList->GetFirst(); n >= 0; n = FFenster->vrInvList->GetNext(n))
        r.push_back(n);
    return r;
}

std::vector<bool> FensterTest::Haken()
{
    std::vector<bool> r;
    for (int n : Zeilen())
        r.push_back(Marke(n) == Qt::Checked);
    return r;
}

Qt::CheckState FensterTest::Marke(int zeile)
{
    return FFenster->vrInvList->CheckState(zeile);
}
