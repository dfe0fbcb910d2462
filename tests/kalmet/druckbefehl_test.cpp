// "kalmet print" as a back office schedules it: the program run without a display on the
// test chain, its exit codes, tables equal to those the print action's build writes, and runs
// cut off from the server that leave no file behind.
#include "framework/app/layoutspeicher.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/printfile.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "tests/kalmet/bericht.h"
#include "tests/support/demokette.h"
#include "tests/support/verbindungsverlust.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <set>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DruckBefehlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
        QSqlQuery q(TZEP_Connection::Database());
        q.exec("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND wgn <> '' "
               "AND kzzaehlung <> '6' ORDER BY zaehldatum, wgn, filiale");
        ASSERT_TRUE(q.next());
        const QVariant d = q.value(0);
        FInventur = {DateOf(TDatumTraits::FromSql(&d)), q.value(1).toString(), q.value(2).toInt()};
        FBenutzer = ProgrammBenutzer(*FDb);
    }
    void TearDown() override
    {
        TestKetteBeenden();
        FDb.reset();
    }

    // Runs the program; its exit code, standard error in fehler.
    int Drucken(QStringList args, QString* fehler = nullptr, const QString& db = QString())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(KALMET_PROGRAMM, QStringList{"print", "--db", db.isEmpty() ? FDb->Url().ToString() : db, "--user", FBenutzer} + args);
        EXPECT_TRUE(p.waitForFinished(120000));
        if (fehler)
            *fehler = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    QString Inventur() const
    {
        return QString("%1:%2:%3").arg(TDateTime_ToQDate(FInventur.ZaehlDatum).toString("yyyy-MM-dd"), FInventur.WGN).arg(FInventur.Filiale);
    }
    // The file without its header date (bytes 1 to 3), which is the day it was written.
    static QByteArray OhneDatum(const QString& pfad)
    {
        QFile f(pfad);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(pfad);
        QByteArray b = f.readAll();
        if (b.size() > 4)
            b.replace(1, 3, "---");
        return b;
    }

    std::unique_ptr<TTestDb> FDb;
    QString FBenutzer = "demo";
    TZeileAnzeige FInventur;
    QTemporaryDir FAusgabe;
};

}

TEST_F(DruckBefehlTest, WritesTheTablesTheBuildOfThePrintActionWrites)
{
    const QString ziel = FAusgabe.filePath("tabellen");
    QString fehler;
    ASSERT_EQ(Drucken({"--fiscal-year", "2026-02-01", "--inventory", Inventur(), "--layout", "kalme004.rpt",
                       "--evaluation-date", TDateTime_ToQDate(FInventur.ZaehlDatum - 7).toString("yyyy-MM-dd"), "--tables", ziel},
                      &fehler),
              0)
        << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("Artikel")) << "progress on standard error";
    EXPECT_EQ(QDir(ziel).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"invl.dbf", "invr.dbf", "invue.dbf"}))
        << "no work files left";

    // the same request through the build the window drives
    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    for (const TLayoutSatz& l : TLayoutSpeicher::Lesen("KALMET", {"kalme004"}))
        liste.SelectedLayouts().push_back(std::make_unique<TZEP_SelectedLayout>(TZEP_SelectedLayout{l.Report, l.Titel, l.Optionen, l.Parameter}));
    TLayOutParams params;
    liste.ReadLayOutParams(params);
    TDruckConfig c = TInventurlisteBau::Anfrage(liste, {FInventur}, "", 0, params, EncodeDate(2026, 2, 1));
    c.Rechnen = true;
    ASSERT_TRUE(TInventurlisteBau(liste, c, FInventur.ZaehlDatum - 7).Ausfuehren(FAusgabe.filePath("fenster"), {}));
    EXPECT_GT(TDbfLeser(QDir(ziel).filePath("invl.dbf")).Anzahl(), 0u);
    for (const auto& [klasse, datei] : {std::pair{"INVL", "invl.dbf"}, {"INVR", "invr.dbf"}, {"INVU", "invue.dbf"}})
        EXPECT_EQ(OhneDatum(QDir(ziel).filePath(datei)), OhneDatum(liste.CrystalSets().Tabelle(klasse)->Pfad())) << datei;
}

TEST_F(DruckBefehlTest, WrongArgumentsNameTheirOption)
{
    const QString ziel = FAusgabe.filePath("t");
    const QStringList gut{"--fiscal-year", "2026-02-01", "--inventory", Inventur(), "--layout", "kalme003.rpt", "--tables", ziel};
    const auto falsch = [&](QStringList ersetzt, const QString& option) {
        QStringList args = gut;
        for (int i = 0; i + 1 < ersetzt.size(); i += 2) {
            const qsizetype at = args.indexOf(ersetzt[i]);
            if (at >= 0)
                args[at + 1] = ersetzt[i + 1];
            else
                args << ersetzt[i] << ersetzt[i + 1];
        }
        QString fehler;
        EXPECT_EQ(Drucken(args, &fehler), 2) << qPrintable(args.join(' '));
        EXPECT_TRUE(fehler.contains(option)) << qPrintable(fehler);
    };
    falsch({"--inventory", "2026-05-15:ZZ9999:1"}, "--inventory");
    falsch({"--layout", "kalme999.rpt"}, "--layout");
    falsch({"--evaluation-date", TDateTime_ToQDate(FInventur.ZaehlDatum + 1).toString("yyyy-MM-dd")}, "--evaluation-date");
    falsch({"--evaluation-date", "year-end"}, "--evaluation-date");   // the count date lies inside the fiscal year
    falsch({"--tables", "/proc/kalmet"}, "--tables");
    falsch({"--fiscal-year", "2031-02-01"}, "--fiscal-year");
    falsch({"--branch", "99"}, "--branch");
    falsch({"--pdf", "/proc/kalmet/a.pdf"}, "--pdf");
    falsch({"--xlsx", FAusgabe.path()}, "--xlsx");   // a folder is no file name
    const QString pipe = FAusgabe.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    falsch({"--csv", pipe}, "--csv");   // nor a pipe
    if (FDb->Typ() == TConnectorTyp::SQLite)
        falsch({"--pdf", FDb->Url().Path}, "--pdf");   // nor the database
    EXPECT_FALSE(QDir(ziel).exists() && !QDir(ziel).entryList(QDir::Files).isEmpty()) << "nothing written";

    QString fehler;
    EXPECT_EQ(Drucken(gut, &fehler, "postgresql://kalmet@127.0.0.1:1/keine"), 3) << qPrintable(fehler);
    // a mistyped file is refused, not created with its folders
    const QString vertippt = FAusgabe.filePath("gibts/nicht.db");
    EXPECT_EQ(Drucken(gut, &fehler, "sqlite:" + vertippt), 2) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("gibt es nicht")) << qPrintable(fehler);
    EXPECT_FALSE(QDir(FAusgabe.filePath("gibts")).exists());

    // a broken template ends the print before any list is built
    QTemporaryDir vorlagen;
    QFile vorlage(vorlagen.filePath("kalme003.rpt"));
    ASSERT_TRUE(vorlage.open(QIODevice::WriteOnly));
    vorlage.write("<report version=\"1\"><kaputt");
    vorlage.close();
    TTestDb::Exec(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_REPORTS', '%1')").arg(vorlagen.path()));
    EXPECT_EQ(Drucken(gut, &fehler), 1) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("kalme003.rpt") && !fehler.contains("Artikel berechnet")) << qPrintable(fehler);
    TTestDb::Exec("DELETE FROM parameter WHERE name = 'ORDNER_REPORTS'");

    // a build that fails part-way writes nothing and names its first failure
    TTestDb::Exec("DROP TABLE artikel_filiale");
    EXPECT_EQ(Drucken(gut, &fehler), 1) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("nicht vollständig erstellt") && fehler.contains("artikel_filiale")) << qPrintable(fehler);
    EXPECT_FALSE(QDir(ziel).exists() && !QDir(ziel).entryList(QDir::Files).isEmpty()) << "nothing written";
}

TEST_F(DruckBefehlTest, WritesTheReportTheWindowShows)
{
    QString fehler;
    ASSERT_EQ(Drucken({"--fiscal-year", "2026-02-01", "--inventory", Inventur(), "--layout", "kalme003.rpt", "--pdf",
                       FAusgabe.filePath("befehl/liste.pdf"), "--csv", FAusgabe.filePath("befehl/liste.csv"), "--xlsx",
                       FAusgabe.filePath("befehl/liste.xlsx")},
                      &fehler),
              0)
        << qPrintable(fehler);
    EXPECT_EQ(QDir(FAusgabe.filePath("befehl")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"liste.csv", "liste.pdf", "liste.xlsx"}))
        << "no work files left";

    // the same list through the build and report start of the print action
    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    ListeBauen(liste, FInventur, "kalme003.rpt", FAusgabe.filePath("fenster"));
    TCrystalRDCn crystal;
    ReportSetzen(liste, crystal);
    crystal.Export(FAusgabe.filePath("fenster.pdf"), TExportFormat::Pdf);
    crystal.Export(FAusgabe.filePath("fenster.csv"), TExportFormat::Csv);
    // the same text but for the print date: the program runs on today, the test on its clock
    const auto ohneDruckdatum = [](QString t) { return t.replace(QRegularExpression("Druckdatum \\S+"), "Druckdatum").toStdString(); };
    const QString text = PdfText(FAusgabe.filePath("befehl/liste.pdf"));
    EXPECT_TRUE(text.contains("Summe Bericht"));
    EXPECT_EQ(ohneDruckdatum(text), ohneDruckdatum(PdfText(FAusgabe.filePath("fenster.pdf"))));
    EXPECT_EQ(OhneDatum(FAusgabe.filePath("befehl/liste.csv")), OhneDatum(FAusgabe.filePath("fenster.csv")));
    EXPECT_GT(QFileInfo(FAusgabe.filePath("befehl/liste.xlsx")).size(), 1000);

    // each line of an article with a stored picture shows it, and each distinct picture is
    // embedded once
    TDbfLeser invl(liste.CrystalSets().Tabelle("INVL")->Pfad());
    int mitBild = 0;
    std::set<QByteArray> bilder;
    for (uint32_t s = 0; s < invl.Anzahl(); ++s) {
        const TInt32Trio id = DbfProduktIdAusText(invl.Wert(s, "Produkt_ID").toString());
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare("SELECT bild FROM artikelbild WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?");
        for (const int32_t teil : {id.Int1, id.Int2, id.Int3})
            q.addBindValue(teil);
        ASSERT_TRUE(q.exec() && q.isActive());
        if (q.next()) {
            ++mitBild;
            bilder.insert(q.value(0).toByteArray());
        }
    }
    QProcess p;
    p.start("pdfimages", {"-list", FAusgabe.filePath("befehl/liste.pdf")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QStringList gezeichnet = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).mid(2);
    std::set<QString> objekte;
    for (const QString& z : gezeichnet)
        objekte.insert(z.simplified().section(' ', 10, 10));
    EXPECT_GT(mitBild, 0);
    EXPECT_EQ(gezeichnet.size(), mitBild);
    EXPECT_EQ(objekte.size(), bilder.size());
}

TEST_F(DruckBefehlTest, LosingTheServerEndsARunWithCode3AndNoFileAndTheNextRunWritesThem)
{
    if (FDb->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "a SQLite file has no server to lose";
    const QString pdf = FAusgabe.filePath("liste.pdf");
    QDir tabellen(FAusgabe.filePath("tabellen"));
    // the back-calculation reads stock and movements on the read-ahead threads too; the PDF
    // reads the article pictures
    const QStringList args{"print", "--db", FDb->Url().ToString(), "--user", FBenutzer, "--fiscal-year", "2026-02-01",
                           "--inventory", Inventur(), "--layout", "kalme004.rpt", "--evaluation-date",
                           TDateTime_ToQDate(FInventur.ZaehlDatum - 7).toString("yyyy-MM-dd"), "--tables", tabellen.path(), "--pdf", pdf};
    const auto geschrieben = [&] { return QFile::exists(pdf) || !tabellen.entryList({"*.dbf"}, QDir::Files).isEmpty(); };
    QRandomGenerator zufall(11);
    int verloren = 0;
    for (int lauf = 0; lauf < 20 && verloren < 5; ++lauf) {
        QFile::remove(pdf);
        tabellen.removeRecursively();
        const bool abgebrochen = MitVerbindungsverlust(KALMET_PROGRAMM, args, zufall.bounded(10, 150)) == 3;
        verloren += abgebrochen;
        EXPECT_FALSE(abgebrochen && geschrieben()) << "a run cut off claims no file";
    }
    QString fehler;
    EXPECT_EQ(Drucken(args.mid(5), &fehler), 0) << qPrintable(fehler);
    EXPECT_TRUE(QFile::exists(pdf) && tabellen.exists("invl.dbf"));
    std::printf("server loss: %d runs ended with exit code 3\n", verloren);
    EXPECT_GE(verloren, 5);
}
