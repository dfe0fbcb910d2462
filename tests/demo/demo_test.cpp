#include "demo/demodatenbank.h"
#include "framework/app/dialoge.h"
#include "framework/app/programm.h"
#include "framework/article/besttyp.h"
#include "framework/article/eanzugriff.h"
#include "framework/db/datenfeld.h"
#include "framework/db/migrations.h"
#include "tests/support/testdb.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <map>

namespace {

TDemoParameter Klein()
{
    TDemoParameter p;
    p.Seed = 7;
    p.Artikel = 150;
    p.Filialen = 4;
    p.Heute = QDate(2026, 12, 8);
    p.Benutzer = "tester";
    return p;
}

QByteArray Fingerabdruck()
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    QSqlQuery q(TZEP_Connection::Database());
    for (const QString& t : SchemaTabellen()) {
        EXPECT_TRUE(q.exec("SELECT * FROM " + t + " ORDER BY id"));
        const int spalten = q.record().count();
        while (q.next())
            for (int i = 0; i < spalten; ++i)
                h.addData(q.value(i).toString().toUtf8() + '|');
    }
    return h.result();
}

QVariant Wert(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql) && q.next()) << qPrintable(sql);
    return q.value(0);
}

}

TEST(Demo, SameSeedGivesTheSameDatabase)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    TDemoParameter p = Klein();
    p.Artikel = 60;
    DemoDatenbankErzeugen(db.Url(), p, false);
    const QByteArray erster = Fingerabdruck();
    EXPECT_THROW(DemoDatenbankErzeugen(db.Url(), p, false), std::exception) << "refuses a database with articles";
    DemoDatenbankErzeugen(db.Url(), p, true);
    EXPECT_EQ(Fingerabdruck().toHex(), erster.toHex());
    TDemoParameter anders = p;
    anders.Seed = 8;
    DemoDatenbankErzeugen(db.Url(), anders, true);
    EXPECT_NE(Fingerabdruck().toHex(), erster.toHex());
}

TEST(Demo, ChainHasWhatTheInventoryModuleNeeds)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    DemoDatenbankErzeugen(db.Url(), Klein(), false);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM artikel").toInt(), 150);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM filiale WHERE lv_benutzen = 1").toInt(), 1);
    EXPECT_EQ(Wert("SELECT COUNT(DISTINCT wijahr) FROM ia").toInt(), 3);
    EXPECT_EQ(Wert("SELECT COUNT(DISTINCT kzzaehlung) FROM ia").toInt(), 7) << "every status occurs";
    EXPECT_GT(Wert("SELECT COUNT(*) FROM ia WHERE wgn = ''").toInt(), 0);
    EXPECT_GT(Wert("SELECT COUNT(*) FROM artikel WHERE grbis - grvon + 1 > 17").toInt(), 0);
    EXPECT_GT(Wert("SELECT COUNT(*) FROM izns WHERE satzart = 'R'").toInt(), 0);
    // one barcode for every size of every article, each with its check digit
    const int groessen = Wert("SELECT SUM(grbis - grvon + 1) FROM artikel").toInt();
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM ean").toInt(), groessen);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM (SELECT DISTINCT e.produkt_id_2, e.groesse FROM ean e JOIN artikel a ON "
                   "a.produkt_id_1 = e.produkt_id_1 AND a.produkt_id_2 = e.produkt_id_2 AND a.produkt_id_3 = e.produkt_id_3 "
                   "WHERE e.groesse BETWEEN a.grvon AND a.grbis) x").toInt(),
              groessen);
    QSqlQuery eans(TZEP_Connection::Database());
    ASSERT_TRUE(eans.exec("SELECT ean FROM ean"));
    while (eans.next())
        ASSERT_TRUE(EAN_Gueltig(eans.value(0).toString()) && eans.value(0).toString().size() == 13) << qPrintable(eans.value(0).toString());
    EXPECT_GT(Wert("SELECT COUNT(*) FROM fvk WHERE datum < '2000-01-01'").toInt(), 0);
    EXPECT_GT(Wert("SELECT COUNT(*) FROM fvk f JOIN filiale b ON b.nr = f.filiale WHERE b.lv_benutzen = 1").toInt(), 0);
    EXPECT_EQ(Wert("SELECT wert FROM parameter WHERE name = 'REGANR'").toString(), "J");
    EXPECT_EQ(Wert("SELECT wert FROM parameter WHERE name = 'FREIGABE_AB_EK'").toString(), "1000");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = 'tester'").toInt(), 4);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = 'lager' AND recht = 'pz|'").toInt(), 0);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = 'kasse' AND recht = 'psv'").toInt(), 0);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = 'filialleitung' AND recht IN ('pz|', 'pzf')").toInt(), 1)
        << "books, approves nothing";
    // an inventory counted after the end of its fiscal year, so that back-calculation applies
    EXPECT_GT(Wert("SELECT COUNT(*) FROM ia WHERE wijahr = '2025-02-01 00:00:00.000' "
                   "AND zaehldatum > '2026-01-31 23:59:59.999'").toInt(), 0);
}

TEST(Demo, TheUserWhoWritesItHoldsEveryRight)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    TDemoParameter p = Klein();
    p.Artikel = 20;
    p.Benutzer.clear();
    DemoDatenbankErzeugen(db.Url(), p, false);
    // on PostgreSQL the program works for the login role, on a file for the operating-system user
    const QString schreiber =
        db.Typ() == TConnectorTyp::PostgreSQL ? Wert("SELECT current_user").toString() : BetriebssystemBenutzer();
    ORVProgramm().SetBenutzer(ProgrammBenutzerBestimmen(QString()));
    EXPECT_EQ(ORVProgramm().Benutzer(), schreiber);
    for (const char* recht : {"pz{", "pz|", "psv", "pzf"})
        EXPECT_TRUE(UserRechtePruefen(recht, 0, {}, 0, false, 0)) << recht;
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM benutzer WHERE name IN ('demo', 'lager', 'kasse', 'filialleitung')").toInt(), 4);
}

// Each target record equals the stock of its article, branch and stock type at the end of
// the count day, summed here from the movement table on its own.
TEST(Demo, TargetsEqualStockAtTheCountDate)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    DemoDatenbankErzeugen(db.Url(), Klein(), false);
    QSqlQuery bne(TZEP_Connection::Database());
    ASSERT_TRUE(bne.exec("SELECT * FROM bne"));
    const auto spalte = [](const QSqlQuery& q, const QString& name) { return q.record().indexOf(name); };
    const int bDatum = spalte(bne, "datum"), bArtikel = spalte(bne, "produkt_id_2"), bFiliale = spalte(bne, "filiale"),
              bTyp = spalte(bne, "besttyp"), bMenge = spalte(bne, "menge_0");
    struct B {
        TDateTime tag;
        std::array<int, 100> m;
    };
    std::map<std::tuple<int, int, QString>, std::vector<B>> bewegungen;
    while (bne.next()) {
        B b;
        const QVariant d = bne.value(bDatum);
        b.tag = DateOf(TDatumTraits::FromSql(&d));
        for (int i = 0; i < 100; ++i)
            b.m[i] = bne.value(bMenge + i).toInt();
        bewegungen[{bne.value(bArtikel).toInt(), bne.value(bFiliale).toInt(), bne.value(bTyp).toString()}].push_back(b);
    }
    QSqlQuery iv(TZEP_Connection::Database());
    ASSERT_TRUE(iv.exec("SELECT * FROM iv"));
    const int iDatum = spalte(iv, "zaehldatum"), iArtikel = spalte(iv, "produkt_id_2"), iFiliale = spalte(iv, "filiale"),
              iTyp = spalte(iv, "besttyp"), iMenge = spalte(iv, "menge_0");
    int geprueft = 0;
    while (iv.next()) {
        const QVariant d = iv.value(iDatum);
        const TDateTime zaehl = TDatumTraits::FromSql(&d);
        std::array<int, 100> stand{};
        for (const B& b : bewegungen[{iv.value(iArtikel).toInt(), iv.value(iFiliale).toInt(), iv.value(iTyp).toString()}])
            if (b.tag <= zaehl)
                for (int i = 0; i < 100; ++i)
                    stand[i] += b.m[i];
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(iv.value(iMenge + i).toInt(), stand[i]) << "slot " << i;
        ++geprueft;
    }
    EXPECT_GT(geprueft, 100);

    // and the current stock is the sum of all movements
    QSqlQuery best(TZEP_Connection::Database());
    ASSERT_TRUE(best.exec("SELECT * FROM bestand"));
    const int sArtikel = spalte(best, "produkt_id_2"), sFiliale = spalte(best, "filiale"), sTyp = spalte(best, "besttyp"),
              sMenge = spalte(best, "menge_0");
    while (best.next()) {
        std::array<int, 100> summe{};
        for (const B& b : bewegungen[{best.value(sArtikel).toInt(), best.value(sFiliale).toInt(),
                                      QString(ArtBestTyp_2_Char(best.value(sTyp).toInt()))}])
            for (int i = 0; i < 100; ++i)
                summe[i] += b.m[i];
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(best.value(sMenge + i).toInt(), summe[i]);
    }
}
