// The counting sheets on the test chain: the recount list selects exactly the lines beyond its
// thresholds, on the shelves the count has them; the blind count sheets count their articles per
// sheet. Their pages are pinned by the hashes of their page plans; KALMET_GOLDEN_SCHREIBEN=1
// records them anew (only after a change of the sheets that was meant).
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/dbf.h"
#include "framework/report/lauf.h"
#include "framework/report/seite.h"
#include "tests/kalmet/bericht.h"
#include "tests/support/buchungskette.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <set>

namespace {

const QString CHashDatei = QStringLiteral(KALMET_SOURCE_DIR "/tests/kalmet/zaehllisten_golden.txt");

class ZaehllistenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
    }
    void TearDown() override
    {
        TestKetteBeenden();
        FDb.reset();
    }

    // The first inventory of 2026 that meets the condition, the storage-location branch first.
    static TZeileAnzeige Inventur(const QString& bedingung)
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.exec("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND " + bedingung
               + " ORDER BY (SELECT lv_benutzen FROM filiale WHERE nr = ia.filiale) DESC, zaehldatum, filiale");
        EXPECT_TRUE(q.next());
        const QVariant d = q.value(0);
        return {DateOf(TDatumTraits::FromSql(&d)), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()};
    }
    // Each line of a print table as its columns by name.
    static std::vector<std::map<QString, QVariant>> Zeilen(TInventurliste& liste, const char* tabelle)
    {
        const TDbfLeser t(liste.CrystalSets().Tabelle(tabelle)->Pfad());
        std::vector<std::map<QString, QVariant>> r(t.Anzahl());
        for (uint32_t i = 0; i < t.Anzahl(); ++i)
            for (const TDbfSpalte& s : t.Spalten())
                r[i][s.Name] = t.Wert(i, t.SpaltenIndex(s.Name));
        return r;
    }
    // The pages of the report as the component lays them out, and the hash of their plans.
    static QStringList Seiten(TInventurliste& liste, QString& hash)
    {
        TCrystalRDCn crystal;
        ReportSetzen(liste, crystal);
        const std::unique_ptr<TReportLauf> lauf = crystal.LaufBilden();
        QStringList r;
        for (int s = 1; s <= lauf->Seitenanzahl(); ++s)
            r << SeitePlanText(lauf->Seite(s));
        hash = QCryptographicHash::hash(r.join("\f").toUtf8(), QCryptographicHash::Sha256).toHex();
        return r;
    }

    std::unique_ptr<TTestDb> FDb;
};

}

TEST_F(ZaehllistenTest, RecountAndBlindCountSheets)
{
    QTemporaryDir ordner;
    QStringList hashes;

    // the recount list: exactly the lines of the full list beyond a threshold
    const TZeileAnzeige inv = Inventur("kzzaehlung IN ('2', '3')");
    TInventurliste alle(TInventurlisteOptionen::AusParametern()), nach(TInventurlisteOptionen::AusParametern());
    ListeBauen(alle, inv, "kalme004.rpt", ordner.filePath("alle"));
    ListeBauen(nach, inv, "kalme011.rpt", ordner.filePath("nach"));
    std::set<QString> erwartet, gewaehlt;
    for (const auto& l : Zeilen(alle, "INVL"))
        if (l.at("BlockNr").toInt() == 0 && (l.at("Sum_AbsDiff").toInt() >= 4 || std::abs(l.at("Diff_EKWert").toDouble()) >= 150 - 0.005))
            erwartet.insert(l.at("ArtNr").toString());
    for (const auto& l : Zeilen(nach, "INVL"))
        gewaehlt.insert(l.at("ArtNr").toString());
    EXPECT_EQ(gewaehlt, erwartet);
    ASSERT_FALSE(erwartet.empty());
    ASSERT_LT(erwartet.size(), Zeilen(alle, "INVL").size()) << "the thresholds leave articles out";

    // each on the shelves its count has it on (or without one), with a box per size of its grid
    std::map<QString, std::set<int>> regale;
    std::map<QString, int> groessen, erstesRegal;   // the labels on the article's first shelf
    for (const auto& z : Zeilen(nach, "INVZ")) {
        const QString art = z.at("ArtNr").toString();
        const int regal = z.at("OhneRegal").toInt() ? -1 : z.at("Regal").toInt();
        regale[art].insert(regal);
        if (erstesRegal.try_emplace(art, regal).first->second == regal)
            for (int j = 0; j < 17; ++j)
                groessen[art] += !z.at(QString("Groesse_%1").arg(j, 2, 10, QChar('0'))).toString().isEmpty();
    }
    EXPECT_EQ(regale.size(), erwartet.size());
    int mitRegal = 0;
    for (const auto& [art, gezaehlt] : regale) {
        std::set<int> roh;
        QSqlQuery q(TZEP_Connection::Database());
        ASSERT_TRUE(q.exec(QString("SELECT z.regal, CASE WHEN %1 <> 0 THEN 1 ELSE 0 END, a.grbis - a.grvon + 1 FROM artikel a LEFT JOIN izns z ON z.produkt_id_1 = a.produkt_id_1 AND "
                                   "z.produkt_id_2 = a.produkt_id_2 AND z.produkt_id_3 = a.produkt_id_3 AND z.satzart = 'R' AND z.filiale = %2 "
                                   "AND z.zaehldatum = '%3' WHERE a.artnr = '%4'")
                               .arg(MengenSpalten("z.gr_mesu", 1).join(" <> 0 OR "))
                               .arg(inv.Filiale)
                               .arg(TDatumTraits::ToSql(inv.ZaehlDatum).first().toString(), art)));
        int raster = 0;
        while (q.next()) {
            raster = q.value(2).toInt();
            if (!q.value(0).isNull() && q.value(1).toInt())
                roh.insert(q.value(0).toInt());
        }
        EXPECT_EQ(gezaehlt, roh.empty() ? std::set<int>{-1} : roh) << qPrintable(art);
        EXPECT_EQ(groessen[art], raster) << qPrintable(art);
        mitRegal += !roh.empty();
    }
    EXPECT_GT(mitRegal, 0);
    QString hash;
    const QStringList seiten = Seiten(nach, hash);
    hashes << "kalme011.rpt " + hash;
    EXPECT_TRUE(seiten.first().contains("Nachzählen ab 4 Stück oder ab 150 € EK Differenz")) << qPrintable(seiten.first());
    EXPECT_TRUE(seiten.first().contains(QString("Blatt 1 von %1").arg(seiten.size())));
    for (const QString& s : seiten)
        EXPECT_FALSE(s.contains("Soll") || s.contains("Ist ")) << "no book stock, no count";

    // the blind count sheets of a branch-wide inventory not counted yet: the articles per sheet add up
    const TZeileAnzeige leer = Inventur("wgn = ''");
    Kette::Sql(QString("UPDATE ia SET kzzaehlung = '' WHERE wgn = '' AND filiale = %1 AND zaehldatum = '%2'")
                   .arg(leer.Filiale)
                   .arg(TDatumTraits::ToSql(leer.ZaehlDatum).first().toString()));
    TInventurliste zaehl(TInventurlisteOptionen::AusParametern());
    ListeBauen(zaehl, leer, "kalme012.rpt", ordner.filePath("zaehl"));
    int artikel = 0;
    for (const auto& z : Zeilen(zaehl, "INVZ"))
        artikel += z.at("BlockNr").toInt() == 0;
    ASSERT_GT(artikel, 0);
    const QStringList blaetter = Seiten(zaehl, hash);
    hashes << "kalme012.rpt " + hash;
    ASSERT_GT(blaetter.size(), 1);
    const QRegularExpression fuss(QString("Blatt (\\d+) von %1, (\\d+) Artikel auf diesem Blatt").arg(blaetter.size()));
    int summe = 0;
    for (int i = 0; i < blaetter.size(); ++i) {
        const QRegularExpressionMatch m = fuss.match(blaetter[i]);
        ASSERT_TRUE(m.hasMatch()) << i;
        EXPECT_EQ(m.captured(1).toInt(), i + 1);
        summe += m.captured(2).toInt();
    }
    EXPECT_EQ(summe, artikel);

    QFile datei(CHashDatei);
    if (qEnvironmentVariableIntValue("KALMET_GOLDEN_SCHREIBEN") == 1) {
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QTextStream(&datei) << hashes.join('\n') << '\n';
        GTEST_SKIP() << "hashes recorded in " << qPrintable(CHashDatei);
    }
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly)) << qPrintable(CHashDatei);
    EXPECT_EQ(hashes, QString::fromUtf8(datei.readAll()).split('\n', Qt::SkipEmptyParts));
}
