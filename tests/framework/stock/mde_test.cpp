// Count files of hand-held scanners: the file format, and a folder imported into the test
// chain, checked on the raw count records, the inventory table and the folder.
#include "framework/article/eanzugriff.h"
#include "framework/core/prozess.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/stock/mde/zaehldatei.h"
#include "framework/stock/mde/zaehlimport.h"
#include "framework/stock/mdebucher.h"
#include "tests/support/buchungskette.h"
#include "tests/support/zaehlkette.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Kette;
using namespace Zaehl;

namespace {

std::vector<int> Zeilennummern(const TZaehldatei& d)
{
    std::vector<int> r;
    for (const TZaehlfehler& f : d.Fehler)
        r.push_back(f.Nr);
    return r;
}

}

TEST(Zaehldatei, FormatAndItsBadLines)
{
    EXPECT_TRUE(EAN_Gueltig("4006381333931"));
    EXPECT_FALSE(EAN_Gueltig("4006381333932"));
    EXPECT_TRUE(EAN_Gueltig("96385074")) << "EAN-8";
    EXPECT_TRUE(EAN_Gueltig("036000291452")) << "UPC-A";

    // Windows-1252, CRLF, German date, comments and blank lines, quantities with sign
    const TZaehldatei w = ZaehldateiLesen("// Export\r\n#filiale=3\r\n#zaehldatum=15.05.2026\r\n#geraet=Kasse S\xFC"
                                          "d \x80\r\n\r\n4006381333931\r\n4006381333931;-1\r\n 96385074 ; +12 \r\n");
    EXPECT_TRUE(w.Fehler.empty());
    EXPECT_EQ(w.Filiale, 3);
    EXPECT_EQ(w.ZaehlDatum, EncodeDate(2026, 5, 15));
    EXPECT_EQ(w.Regal, 0);
    EXPECT_EQ(w.Geraet, QString::fromUtf8("Kasse Süd €"));
    ASSERT_EQ(w.Scans.size(), 3u);
    EXPECT_EQ(w.Scans[1].Menge, -1);
    EXPECT_EQ(w.Scans[2].Nr, 8);
    EXPECT_EQ(w.Scans[2].Menge, 12);

    // UTF-8 with byte-order mark, ISO date
    const TZaehldatei u = ZaehldateiLesen("\xEF\xBB\xBF#filiale=1\n#zaehldatum=2026-05-15\n#regal=4\n#geraet=Süd\n");
    EXPECT_TRUE(u.Fehler.empty());
    EXPECT_EQ(u.Geraet, QString::fromUtf8("Süd"));
    EXPECT_EQ(u.Regal, 4);

    // every bad line is named; a file without branch and date names itself (line 0)
    const TZaehldatei b = ZaehldateiLesen("#filiale=x\n#zaehldatum=31.02.2026\n#farbe=rot\n4006381333932\n40063813339\nABC\n"
                                          "4006381333931;1;2\n4006381333931;1.5\n4006381333931;100000\n#regal=2\n4006381333931\n");
    EXPECT_EQ(Zeilennummern(b), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Zeilennummern(ZaehldateiLesen("// leer\n")), (std::vector<int>{0, 0})) << "branch and count date missing";
    EXPECT_EQ(b.Scans.size(), 1u);

    // UTF-16 with its byte-order mark and CR-only line ends read alike; the same scans have
    // one normal form
    const QString text = "#filiale=1\r#zaehldatum=15.05.2026\r4006381333931;2\r";
    QByteArray utf16("\xFF\xFE");
    for (QChar c : text)
        utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + QByteArray(1, char(c.unicode() >> 8));
    const TZaehldatei u16 = ZaehldateiLesen(utf16), cr = ZaehldateiLesen(text.toLatin1());
    EXPECT_TRUE(u16.Fehler.empty() && cr.Fehler.empty());
    ASSERT_EQ(u16.Scans.size(), 1u);
    EXPECT_EQ(ZaehldateiNormalform(u16), ZaehldateiNormalform(cr));
    EXPECT_EQ(ZaehldateiNormalform(cr), ZaehldateiNormalform(ZaehldateiLesen("#zaehldatum=2026-05-15\n#filiale=1\n#regal=0\n"
                                                                               "\n04006381333931;+2\n")));
    EXPECT_NE(ZaehldateiNormalform(cr), ZaehldateiNormalform(ZaehldateiLesen("#geraet=MDE-2\r" + text.toLatin1()))) << "another device";
    EXPECT_NE(ZaehldateiNormalform(cr), ZaehldateiNormalform(ZaehldateiLesen("#filiale=1\n#zaehldatum=2026-05-15\n#regal=1\n4006381333931;2")));

    // no text, too many lines, junk: one reason, a bounded list of bad lines
    EXPECT_EQ(Zeilennummern(ZaehldateiLesen(QByteArray("#filiale=1\n\0x", 13))), (std::vector<int>{0}));
    EXPECT_EQ(Zeilennummern(ZaehldateiLesen("#filiale=1\n#zaehldatum=2026-05-15\n1\n2\n", 3)), (std::vector<int>{0}));
    const TZaehldatei junk = ZaehldateiLesen(QByteArray("#filiale=1\n#zaehldatum=2026-05-15\n") + QByteArray(3000, 'x').append('\n').repeated(2000));
    EXPECT_EQ(junk.Fehler.size(), TZaehlfehlerListe::CMax);
    EXPECT_EQ(junk.Fehler.Weitere(), 1000);
    EXPECT_EQ(junk.Fehler.begin()->Text.size(), CZaehlZeileAuszug);
}

class MDEBucherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
        for (const TKettenInventur& i : OffeneInventuren())
            if (i.Zeile.WGN != "*" && !i.Lagerfiliale) {
                FOffen = i.Zeile;
                break;
            }
        FGebucht = Inventur("ia.kzzaehlung = '5' AND ia.wgn <> '' AND ia.wijahr = '2026-02-01 00:00:00.000'");
    }
    void TearDown() override { TestKetteBeenden(); }

    static TZeileAnzeige Inventur(const QString& bedingung)
    {
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec("SELECT zaehldatum, wgn, filiale FROM ia WHERE " + bedingung + " ORDER BY zaehldatum, wgn, filiale"));
        EXPECT_TRUE(q.next());
        const QVariant d = q.value(0);
        return {TDatumTraits::FromSql(&d), q.value(1).toString(), q.value(2).toInt()};
    }
    QString Pfad(const QString& name) const { return FOrdner.filePath(name); }
    void Ablegen(const QString& name, const QByteArray& inhalt) { DateiSchreiben(Pfad(name), FInhalt[name] = inhalt); }
    TMDEErgebnis Einlesen(bool gefunden = true)
    {
        TMDEBucher b(FOrdner.path());
        EXPECT_EQ(b.DateiSuche(), gefunden);
        return b.Ergebnis();
    }
    // The counted value of the pieces at the purchase price valid on the count day, from the
    // raw price rows.
    static double Wert(const TZeileAnzeige& inv, const std::map<QString, int>& stueck)
    {
        double wert = 0;
        for (const auto& [schluessel, menge] : stueck) {
            const QStringList t = schluessel.split(QRegularExpression("[./]"));
            const QVariant p = Kette::Wert(QString("SELECT preis FROM preis WHERE produkt_id_1 = %1 AND produkt_id_2 = %2 AND "
                                                   "produkt_id_3 = %3 AND preisart = 1 AND slot_von <= %4 AND slot_bis >= %4 AND "
                                                   "gueltig_ab <= '%5' AND filiale IN (0, %6) ORDER BY gueltig_ab DESC, filiale DESC")
                                               .arg(t[0], t[1], t[2])
                                               .arg(t[3].toInt() - 1)
                                               .arg(TDatumTraits::ToSql(inv.ZaehlDatum).first().toString())
                                               .arg(inv.Filiale));
            wert += menge * std::round(p.toDouble() * 100) / 100;
        }
        return wert;
    }
    static double IstEK(const TZeileAnzeige& inv)
    {
        return Kette::Wert(QString("SELECT istek FROM ia WHERE zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
                               .arg(TDatumTraits::ToSql(inv.ZaehlDatum).first().toString(), inv.WGN == "*" ? "" : inv.WGN)
                               .arg(inv.Filiale))
            .toDouble();
    }

    std::unique_ptr<TTestDb> FDb;
    TZeileAnzeige FOffen, FGebucht;
    QTemporaryDir FTemp;
    QDir FOrdner{FTemp.path()};
    std::map<QString, QByteArray> FInhalt;
};

TEST_F(MDEBucherTest, FolderOfGoodBadDuplicateAndBookedFiles)
{
    const std::vector<TBarcode> codes = Barcodes(FOffen);
    ASSERT_GE(codes.size(), 3u);
    const TBarcode &x1 = codes[0], &x2 = codes[1], &y = codes.back();
    ASSERT_NE(x1.Artikel, y.Artikel);
    const std::map<QString, int> gVorher = Zaehlung(FOffen, "G"), gebuchtVorher = Zaehlung(FGebucht, "G");
    const double istVorher = IstEK(FOffen), gebuchtIstVorher = IstEK(FGebucht);

    Ablegen("a.mde", Datei(FOffen, 7, {{x1.Ean, 1}, {x1.Ean, 1}, {x1.Ean, 1}, {x2.Ean, 4}, {y.Ean, 2}, {y.Ean, -1}}));
    Ablegen("b.mde", QString("#filiale=%1\r\n#zaehldatum=%2\r\n#regal=8\r\n").arg(FOffen.Filiale)
                             .arg(TDateTime_FormatDatum(FOffen.ZaehlDatum)).toLatin1()
                         + "#geraet=Kasse S\xFC" "d\r\n" + x1.Ean.toLatin1() + ";2\r\n");
    Ablegen("c.mde", FInhalt["a.mde"]);
    Ablegen("d.mde", Datei(FOffen, 9, {{x1.Ean, 1}, {"4006381333931", 1}, {"4006381333932", 1}, {y.Ean, -5}}));
    Ablegen("e.mde", Datei(FGebucht, 7, {{Barcodes(FGebucht).front().Ean, 1}}));

    const TMDEErgebnis e = Einlesen();
    EXPECT_EQ(e.Dateien, 2);
    EXPECT_EQ(e.Stueck, 10);
    ASSERT_EQ(e.Abgelehnt.size(), 3u) << qPrintable(e.Text());

    // the branch's count grows by the pieces, each shelf holds its own, "G" is their sum
    std::map<QString, int> zugang{{x1.Artikel + "/" + QString::number(x1.Groesse), 5},
                                  {x2.Artikel + "/" + QString::number(x2.Groesse), 4},
                                  {y.Artikel + "/" + QString::number(y.Groesse), 1}};
    std::map<QString, int> gErwartet = gVorher;
    for (const auto& [k, m] : zugang)
        gErwartet[k] += m;
    EXPECT_EQ(Zaehlung(FOffen, "G"), gErwartet);
    EXPECT_EQ(Zaehlung(FOffen, "R", 7), (std::map<QString, int>{{x1.Artikel + "/" + QString::number(x1.Groesse), 3},
                                                               {x2.Artikel + "/" + QString::number(x2.Groesse), 4},
                                                               {y.Artikel + "/" + QString::number(y.Groesse), 1}}));
    EXPECT_EQ(Zaehlung(FOffen, "R", 8), (std::map<QString, int>{{x1.Artikel + "/" + QString::number(x1.Groesse), 2}}));
    EXPECT_TRUE(Zaehlung(FOffen, "R", 9).empty()) << "a rejected file counts nothing";
    EXPECT_EQ(NichtSummeDerRegale(FOffen), QStringList());
    EXPECT_NEAR(IstEK(FOffen) - istVorher, Wert(FOffen, zugang), 0.005);
    EXPECT_EQ(Zaehlung(FGebucht, "G"), gebuchtVorher);
    EXPECT_EQ(IstEK(FGebucht), gebuchtIstVorher);

    // the folder: imported files archived, rejected ones untouched beside their reports
    EXPECT_EQ(FOrdner.entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(Pfad("archiv")).entryList(QDir::Files, QDir::Name), (QStringList{"a.mde", "b.mde"}));
    EXPECT_EQ(QDir(Pfad("fehler")).entryList(QDir::Files, QDir::Name),
              (QStringList{"c.mde", "c.mde.txt", "d.mde", "d.mde.txt", "e.mde", "e.mde.txt"}));
    for (const QString n : {"c.mde", "d.mde", "e.mde"})
        EXPECT_EQ(DateiLesen(Pfad("fehler/" + n)), FInhalt[n]) << qPrintable(n);
    const QString d = QString::fromUtf8(DateiLesen(Pfad("fehler/d.mde.txt")));
    EXPECT_TRUE(d.contains("Zeile 6: 4006381333931 – unbekannter Barcode") && d.contains("Zeile 7:") && d.contains("Zeile 8:")
                && !d.contains("Zeile 5"))
        << qPrintable(d);
    EXPECT_TRUE(DateiLesen(Pfad("fehler/c.mde.txt")).contains("als a.mde eingelesen"));
    EXPECT_TRUE(QString::fromUtf8(DateiLesen(Pfad("fehler/e.mde.txt"))).contains("ist gebucht"));
    EXPECT_EQ(Kette::Wert("SELECT count(*) FROM zaehldatei").toInt(), 2);
    EXPECT_EQ(Kette::Wert("SELECT zeilen || '/' || stueck || '/' || benutzer FROM zaehldatei WHERE name = 'a.mde'").toString(), "6/8/demo");
    EXPECT_EQ(Kette::Wert("SELECT geraet FROM zaehldatei WHERE name = 'b.mde'").toString(), QString::fromUtf8("Kasse Süd"));

    // a second run, and the same scans again under another name, saved with a byte-order
    // mark, CRLF, CR-only line ends, a comment or blank lines: nothing changes
    const QStringList tabellen{"izns", "ia", "zaehldatei"};
    const QStringList vorher = Abbild(tabellen);
    Einlesen(false);
    QByteArray crlf = FInhalt["a.mde"], cr = FInhalt["a.mde"];
    Ablegen("a2.mde", "\xEF\xBB\xBF// nochmal\r\n" + crlf.replace("\n", "\r\n") + "\r\n\r\n");
    Ablegen("a3.mde", cr.replace("\n", "\r"));
    const TMDEErgebnis wieder = Einlesen();
    ASSERT_EQ(wieder.Abgelehnt.size(), 2u) << qPrintable(wieder.Text());
    EXPECT_TRUE(wieder.Abgelehnt[0].Gruende.join("").contains("als a.mde eingelesen")) << qPrintable(wieder.Text());
    EXPECT_EQ(Abbild(tabellen), vorher);
}

TEST_F(MDEBucherTest, FilesOfAProcessThatDiedAreImportedOnceAlsoWhenItsIdIsReused)
{
    // the run that died had the id of a process that runs now: its start tells them apart
    QProcess jetzt;
    jetzt.start("sleep", {"30"});
    ASSERT_TRUE(jetzt.waitForStarted());
    const int pid = static_cast<int>(jetzt.processId());
    ASSERT_GT(ProzessBeginn(pid), 0);
    const QString arbeit = Pfad(QString("arbeit/%1-%2-%3").arg(Rechner()).arg(pid).arg(ProzessBeginn(pid) - 1));
    ASSERT_TRUE(QDir().mkpath(arbeit));
    const QString lebt = Pfad(QString("arbeit/%1-%2-%3").arg(Rechner()).arg(pid).arg(ProzessBeginn(pid)));
    ASSERT_TRUE(QDir().mkpath(lebt));
    DateiSchreiben(lebt + "/h.mde", Datei(FOffen, 13, {{Barcodes(FOffen).front().Ean, 1}}));

    const TBarcode x = Barcodes(FOffen).front();
    // one died after its commit, before it moved the file; the other before its commit
    const QByteArray importiert = Datei(FOffen, 11, {{x.Ean, 2}}), offen = Datei(FOffen, 12, {{x.Ean, 3}});
    // recorded by the SHA-256 of its bytes, as runs before the normal form did
    const QString sha = QCryptographicHash::hash(importiert, QCryptographicHash::Sha256).toHex();
    ASSERT_EQ(ZaehldateiEinlesen(ZaehldateiLesen(importiert), "f.mde", {sha}).Art, TZaehlimport::Eingelesen);
    DateiSchreiben(arbeit + "/f.mde", importiert);
    DateiSchreiben(arbeit + "/g.mde", offen);
    const std::map<QString, int> gVorher = Zaehlung(FOffen, "G");

    const TMDEErgebnis e = Einlesen();
    EXPECT_EQ(e.Dateien, 1);
    EXPECT_TRUE(e.Abgelehnt.empty()) << qPrintable(e.Text());
    const QString k = x.Artikel + "/" + QString::number(x.Groesse);
    EXPECT_EQ(Zaehlung(FOffen, "R", 11), (std::map<QString, int>{{k, 2}}));
    EXPECT_EQ(Zaehlung(FOffen, "R", 12), (std::map<QString, int>{{k, 3}}));
    EXPECT_EQ(Zaehlung(FOffen, "G")[k], gVorher.count(k) ? gVorher.at(k) + 3 : 3);
    EXPECT_EQ(QDir(Pfad("archiv")).entryList(QDir::Files, QDir::Name), (QStringList{"f.mde", "g.mde"}));
    EXPECT_FALSE(QDir(arbeit).exists()) << "the dead process's work folder is gone";
    EXPECT_TRUE(QFile::exists(lebt + "/h.mde")) << "a running process keeps its files";
    jetzt.kill();
    jetzt.waitForFinished();
}

TEST_F(MDEBucherTest, FilesAsScannersWriteThem)
{
    // a UPC-A scan of a barcode the table holds as EAN-13, a file without #geraet
    const TBarcode x = Barcodes(FOffen).front();
    const QStringList id = x.Artikel.split('.');
    Kette::Sql(QString("INSERT INTO ean (ean, produkt_id_1, produkt_id_2, produkt_id_3, groesse) VALUES ('0036000291452', %1, %2, %3, %4)")
                   .arg(id[0], id[1], id[2])
                   .arg(x.Groesse));
    Ablegen("upc.mde", Datei(FOffen, 71, {{"036000291452", 2}}, ""));
    // a file still being written waits for a later run
    QFile neu(Pfad("neu.mde"));
    ASSERT_TRUE(neu.open(QIODevice::WriteOnly));
    neu.write(Datei(FOffen, 72, {{x.Ean, 1}}));
    neu.close();
    // a branch that keeps its stock per storage location needs the shelf
    std::optional<TZeileAnzeige> lager;
    for (const TKettenInventur& i : OffeneInventuren())
        if (i.Lagerfiliale)
            lager = i.Zeile;
    ASSERT_TRUE(lager);
    Ablegen("lager.mde", Datei(*lager, 0, {{Barcodes(*lager).front().Ean, 1}}).replace("#regal=0\n", ""));

    TMDEErgebnis e = Einlesen();
    EXPECT_EQ(e.Dateien, 1) << qPrintable(e.Text());
    EXPECT_EQ(Zaehlung(FOffen, "R", 71), (std::map<QString, int>{{x.Artikel + "/" + QString::number(x.Groesse), 2}}));
    EXPECT_EQ(e.Unfertig, QStringList{"neu.mde"});
    ASSERT_EQ(e.Abgelehnt.size(), 1u);
    EXPECT_TRUE(e.Abgelehnt[0].Gruende.join("").contains("#regal fehlt")) << qPrintable(e.Text());
    EXPECT_TRUE(QFile::exists(Pfad("neu.mde")));

    ASSERT_TRUE(neu.open(QIODevice::ReadWrite));
    ASSERT_TRUE(neu.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    neu.close();
    e = Einlesen();
    EXPECT_EQ(e.Dateien, 1) << qPrintable(e.Text());
    EXPECT_EQ(Zaehlung(FOffen, "R", 72), (std::map<QString, int>{{x.Artikel + "/" + QString::number(x.Groesse), 1}}));

    // a file of more than 2^31 pieces
    const std::vector<TBarcode> codes = Barcodes(FOffen);
    ASSERT_GE(codes.size(), 4u);
    std::vector<std::pair<QString, int>> viele;
    for (int i = 0; i < 30000; ++i)
        viele.push_back({codes[1 + i % 3].Ean, 99999});
    Ablegen("viele.mde", Datei(FOffen, 73, viele));
    e = Einlesen();
    EXPECT_EQ(e.Stueck, 2999970000) << qPrintable(e.Text());
    EXPECT_EQ(Kette::Wert("SELECT stueck FROM zaehldatei WHERE name = 'viele.mde'").toLongLong(), 2999970000);
}

TEST_F(MDEBucherTest, ARecountReplacesTheShelfCountOfTheArticlesItScans)
{
    const std::vector<TBarcode> codes = Barcodes(FOffen);
    const TBarcode x = codes.front();
    const auto zweite = std::find_if(codes.begin(), codes.end(), [&](const TBarcode& b) { return b.Artikel == x.Artikel && b.Groesse != x.Groesse; });
    const auto andere = std::find_if(codes.begin(), codes.end(), [&](const TBarcode& b) { return b.Artikel != x.Artikel; });
    ASSERT_TRUE(zweite != codes.end() && andere != codes.end());
    const auto k = [](const TBarcode& b) { return b.Artikel + "/" + QString::number(b.Groesse); };
    Ablegen("a.mde", Datei(FOffen, 81, {{x.Ean, 3}, {zweite->Ean, 2}, {andere->Ean, 1}}));
    Ablegen("b.mde", Datei(FOffen, 82, {{x.Ean, 4}}));
    ASSERT_EQ(Einlesen().Dateien, 2);
    const std::map<QString, int> gVorher = Zaehlung(FOffen, "G");
    const double istVorher = IstEK(FOffen);

    // shelf 81 again, the article x only: its sizes on that shelf are replaced, the rest stays
    Ablegen("nach.mde", "#modus=nachzaehlung\n" + Datei(FOffen, 81, {{x.Ean, 1}}));
    TMDEErgebnis e = Einlesen();
    ASSERT_EQ(e.Dateien, 1) << qPrintable(e.Text());
    EXPECT_EQ(Zaehlung(FOffen, "R", 81), (std::map<QString, int>{{k(x), 1}, {k(*andere), 1}}));
    EXPECT_EQ(Zaehlung(FOffen, "R", 82), (std::map<QString, int>{{k(x), 4}}));
    EXPECT_EQ(NichtSummeDerRegale(FOffen), QStringList());
    std::map<QString, int> gErwartet = gVorher;
    gErwartet[k(x)] -= 2;
    gErwartet[k(*zweite)] -= 2;
    std::erase_if(gErwartet, [](const auto& p) { return p.second == 0; });
    EXPECT_EQ(Zaehlung(FOffen, "G"), gErwartet);
    EXPECT_NEAR(IstEK(FOffen) - istVorher, Wert(FOffen, {{k(x), -2}, {k(*zweite), -2}}), 0.005);

    // the same recount again is a duplicate; as a count it is another file
    Ablegen("nach2.mde", "#modus=nachzaehlung\n" + Datei(FOffen, 81, {{x.Ean, 1}}));
    Ablegen("zaehl.mde", Datei(FOffen, 81, {{x.Ean, 1}}));
    e = Einlesen();
    EXPECT_EQ(e.Dateien, 1);
    ASSERT_EQ(e.Abgelehnt.size(), 1u);
    EXPECT_EQ(e.Abgelehnt[0].Datei, "nach2.mde");
}
