#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/db/datenfeld.h"
#include "ivvorselquerysql/kalmetselektionsql.h"
#include "tests/support/demokette.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace {

class SelektionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDemoParameter p;
        p.Seed = 5;
        p.Artikel = 150;
        p.Filialen = 4;
        p.Heute = QDate(2026, 12, 8);
        db = DemoKette(p);
        KALMET_REQUIRE_DB(*db);
        GDBConfig = 0;
    }
    void TearDown() override
    {
        GDBConfig = 0;
        db.reset();
    }

    std::set<std::tuple<int, int, int>> Ids(const TZEP_List<TInt32Trio>& l)
    {
        std::set<std::tuple<int, int, int>> r;
        for (const TInt32Trio& t : l)
            r.insert({t.Int1, t.Int2, t.Int3});
        return r;
    }
    std::set<std::tuple<int, int, int>> Sql(const QString& sql)
    {
        std::set<std::tuple<int, int, int>> r;
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec(sql)) << qPrintable(q.lastError().text());
        while (q.next())
            r.insert({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
        return r;
    }
    static QString D(TDateTime t) { return TDatumTraits::ToSql(t).first().toString(); }

    std::unique_ptr<TTestDb> db;
    const TDateTime wj = EncodeDate(2026, 2, 1);
};

}

TEST_F(SelektionTest, StatementAndParameterOrderWithoutBackCalculation)
{
    TZEP_KalmetSelektionSQL q;
    TZEP_List<TInt32Trio> ids;
    const TDateTime d1 = EncodeDate(2026, 5, 15), d2 = EncodeDate(2026, 8, 26);
    ASSERT_TRUE(q.Execute({{3, d1}, {3, d2}, {0, d1}}, false, EncodeDate(2020, 1, 1), wj, &ids));
    const QString text = ORVProgramm().Zusatzinfo(&q);
    EXPECT_EQ(text.count("SELECT"), 2) << qPrintable(text);
    EXPECT_TRUE(text.startsWith("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE (iv.wijahr = ?) and "
                                "((iv.filiale = ? and iv.zaehldatum = ?) or (iv.filiale = ? and iv.zaehldatum = ?) or "
                                "(iv.filiale = ? and iv.zaehldatum = ?))"))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(" UNION SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE (izns.filiale = ?"));
    const QVariantList p = q.ParameterWerte();
    const QVariantList erwartet = {D(wj), 3, D(d1), 3, D(d2), 0, D(d1), 3, D(d1), 3, D(d2), 0, D(d1)};
    EXPECT_EQ(p, erwartet);
}

TEST_F(SelektionTest, BackCalculationBoundsAndBranchLists)
{
    TZEP_KalmetSelektionSQL q;
    TZEP_List<TInt32Trio> ids;
    const TDateTime d1 = EncodeDate(2026, 5, 15), d2 = EncodeDate(2026, 8, 26);
    // evaluation date with a time of day, before the count dates
    ASSERT_TRUE(q.Execute({{3, d1}, {1, d2}, {3, d2}}, true, EncodeDateTime(2026, 4, 30, 10, 30, 0, 0), wj, &ids));
    QString text = ORVProgramm().Zusatzinfo(&q);
    EXPECT_EQ(text.count("SELECT"), 4);
    EXPECT_TRUE(text.contains("and (bne.filiale IN (3, 1) or bne.filiale2 IN (3, 1)) and")) << qPrintable(text);
    EXPECT_TRUE(text.contains("(not bne.bewart IN (2, 46, 47, 48, 49))")) << qPrintable(text);
    EXPECT_TRUE(text.contains("FROM lst WHERE (lst.postyp = ?) and lst.filiale IN (3, 1) and ((lst.datum >= ?) and (lst.datum <= ?))"))
        << qPrintable(text);
    QVariantList p = q.ParameterWerte();
    ASSERT_EQ(p.size(), 1 + 6 + 6 + 2 + 3);
    EXPECT_EQ(p[13], D(EncodeDate(2026, 4, 30))) << "the lower bound is the evaluation day at 00:00";
    EXPECT_EQ(p[14], D(EndOfTheDay(d2))) << "the upper bound ends with the last count day";
    EXPECT_EQ(p[15], "VK");
    EXPECT_EQ(p[16], p[13]);
    EXPECT_EQ(p[17], p[14]);

    // evaluation after every count date: both bounds on the evaluation day; branch 0 only:
    // empty in-lists that select nothing but keep the statement valid
    TZEP_KalmetSelektionSQL r;
    ASSERT_TRUE(r.Execute({{0, d1}}, true, d2 + 3, wj, &ids));
    text = ORVProgramm().Zusatzinfo(&r);
    EXPECT_TRUE(text.contains("((1 = 0) or (1 = 0))")) << qPrintable(text);
    p = r.ParameterWerte();
    EXPECT_EQ(p[5], D(d2 + 3));
    EXPECT_EQ(p[6], D(EndOfTheDay(d2 + 3)));
    EXPECT_FALSE(ORVInfo().Registriert("TZEP_QueryThread.Execute")) << "the statement ran";
}

TEST_F(SelektionTest, ProductIdsEqualAnIndependentQuery)
{
    QSqlQuery inv(TZEP_Connection::Database());
    ASSERT_TRUE(inv.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND kzzaehlung <> '1' "
                         "ORDER BY zaehldatum, filiale"));
    std::vector<TVglInvAnf_Inv> invs;
    QStringList paare;
    while (inv.next()) {
        const QVariant v = inv.value(0);
        invs.push_back({inv.value(1).toInt(), TDatumTraits::FromSql(&v)});
        paare << QString("(filiale = %1 AND zaehldatum = '%2')").arg(invs.back().Filiale).arg(D(invs.back().ZaehlDatum));
    }
    ASSERT_GT(invs.size(), 3u);
    const QString oder = paare.join(" OR ");
    TZEP_KalmetSelektionSQL q;
    TZEP_List<TInt32Trio> ids;
    ASSERT_TRUE(q.Execute(invs, false, 0, wj, &ids));
    const auto erwartet = Sql("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE wijahr = '" + D(wj) + "' AND (" + oder
                              + ") UNION SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE " + oder);
    EXPECT_EQ(Ids(ids), erwartet);
    EXPECT_EQ(static_cast<size_t>(ids.Count()), erwartet.size()) << "the union returns each id once";

    // back to the start of the fiscal year: moved and sold articles join
    TZEP_KalmetSelektionSQL r;
    TZEP_List<TInt32Trio> mehr;
    ASSERT_TRUE(r.Execute(invs, true, wj, wj, &mehr));
    EXPECT_GT(mehr.Count(), ids.Count());
    for (const auto& id : erwartet)
        EXPECT_TRUE(Ids(mehr).count(id));
}

TEST_F(SelektionTest, EmptyInputAndNoSqlLeaveTheListAlone)
{
    TZEP_List<TInt32Trio> ids{{7, 7, 7}};
    TZEP_KalmetSelektionSQL q;
    EXPECT_TRUE(q.Execute({}, true, 0, wj, &ids));
    EXPECT_EQ(ids.Count(), 1);
    EXPECT_FALSE(q.Execute({{1, EncodeDate(2026, 5, 15)}}, false, 0, wj, nullptr));
    GDBConfig = 1;
    TZEP_KalmetSelektionSQL ohne;
    EXPECT_FALSE(ohne.Execute({{1, EncodeDate(2026, 5, 15)}}, false, 0, wj, &ids));
    EXPECT_EQ(ids.Count(), 1);
}

// While the worker waits for the database, the user-interface thread keeps running its
// timers. A second connection holds a lock on the target table until the timer has fired
// several times.
TEST_F(SelektionTest, UserInterfaceRunsWhileTheQueryWaits)
{
    if (db->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "needs a server-side lock";
    QSqlDatabase sperre = QSqlDatabase::cloneDatabase(TZEP_Connection::Database(), "sperre");
    ASSERT_TRUE(sperre.open());
    QSqlQuery s(sperre);
    ASSERT_TRUE(s.exec("BEGIN"));
    ASSERT_TRUE(s.exec("LOCK TABLE iv IN ACCESS EXCLUSIVE MODE"));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 5)
            QSqlQuery(sperre).exec("COMMIT");
    });
    timer.start(50);
    TZEP_KalmetSelektionSQL q;
    TZEP_List<TInt32Trio> ids;
    ASSERT_TRUE(q.Execute({{1, EncodeDate(2026, 5, 15)}}, false, 0, wj, &ids));
    EXPECT_GE(ticks, 5);
    EXPECT_GT(ids.Count(), 0);
    s = QSqlQuery();
    sperre.close();
    sperre = QSqlDatabase();
    QSqlDatabase::removeDatabase("sperre");
}

// What the back-calculation adds: movements of the inventories' branches (also as the other
// branch of a transfer) from the evaluation day to the end of the last count day, except the
// kinds that do not move stock.
TEST_F(SelektionTest, BackCalculationSelectsTheMovementsOfThePeriod)
{
    const TDateTime zd = EncodeDate(2026, 5, 15);
    const TDateTime auswertung = zd - 30;
    struct TBew {
        int nr, filiale, filiale2, bewart;
        TDateTime datum;
    };
    const std::vector<TBew> bewegungen = {
        {1, 3, 0, 2, zd - 5},                                  // kind left out
        {2, 3, 0, 46, zd - 5},                                 // kind left out
        {3, 99, 0, 3, zd - 5},                                 // another branch
        {4, 3, 0, 3, EncodeDateTime(2026, 5, 15, 23, 30, 0, 0)},   // late on the count day
        {5, 3, 0, 3, zd + 1},                                  // after the count day
        {6, 99, 3, 3, zd - 5},                                 // transfer into the branch
        {7, 3, 0, 3, auswertung - 1},                          // before the evaluation day
    };
    for (const TBew& b : bewegungen) {
        QSqlQuery q(TZEP_Connection::Database());
        ASSERT_TRUE(q.exec(QString("INSERT INTO bne (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, filiale2, bewart, besttyp) "
                                   "VALUES (9, %1, 1, %2, '%3', %4, %5, '1')")
                               .arg(b.nr).arg(b.filiale).arg(D(b.datum)).arg(b.filiale2).arg(b.bewart)))
            << qPrintable(q.lastError().text());
    }
    TZEP_KalmetSelektionSQL q;
    TZEP_List<TInt32Trio> ids;
    ASSERT_TRUE(q.Execute({{3, zd}}, true, auswertung, wj, &ids));
    std::set<int> gewaehlt;
    for (const TInt32Trio& t : ids)
        if (t.Int1 == 9)
            gewaehlt.insert(t.Int2);
    EXPECT_EQ(gewaehlt, (std::set<int>{4, 6}));
}
