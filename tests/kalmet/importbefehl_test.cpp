// "kalmet import" as a back office runs it: exit codes, two terminals on one folder, and runs
// killed or cut off from the server at random points that a later run completes with every
// file counted once.
#include "tests/kalmet/kettenbefehl.h"
#include "tests/support/buchungskette.h"
#include "tests/support/verbindungsverlust.h"
#include "tests/support/zaehlkette.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace Kette;
using namespace Zaehl;

namespace {

class ImportBefehlTest : public KettenBefehlTest {
protected:
    void SetUp() override
    {
        KettenBefehlTest::SetUp();
        if (IsSkipped())
            return;
        for (const TKettenInventur& i : OffeneInventuren())
            if (!i.Lagerfiliale)
                FInventuren.push_back(i.Zeile);
    }
    QStringList Aufruf(const QString& db = {}) const
    {
        return {"import", "--db", db.isEmpty() ? FDb->Url().ToString() : db, "--user", FBenutzer, "--folder", FOrdner.path()};
    }
    int Importieren(QString* fehler = nullptr, const QString& db = {})
    {
        QProcess p;
        p.start(KALMET_PROGRAMM, Aufruf(db));
        EXPECT_TRUE(p.waitForFinished(120000));
        if (fehler)
            *fehler = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    static QString Tag(const TZeileAnzeige& z) { return QString("%1|%2").arg(z.ZaehlDatum).arg(z.Filiale); }

    // n files over the open inventories, each a few scans on a shelf of its own; what they
    // add is kept per count day and branch.
    void DateienAblegen(int n)
    {
        QRandomGenerator zufall(n);
        std::map<QString, std::vector<TBarcode>> barcodes;
        for (int i = 0; i < n; ++i) {
            const TZeileAnzeige& inv = FInventuren[i % FInventuren.size()];
            std::vector<TBarcode>& codes = barcodes[Tag(inv) + inv.WGN];
            if (codes.empty())
                codes = Barcodes(inv);
            std::vector<std::pair<QString, int>> scans;
            for (int s = 0; s < 5; ++s) {
                const TBarcode& b = codes[zufall.bounded(static_cast<int>(codes.size()))];
                scans.push_back({b.Ean, zufall.bounded(1, 4)});
                FZugang[Tag(inv)][b.Artikel + "/" + QString::number(b.Groesse)] += scans.back().second;
            }
            DateiSchreiben(FOrdner.filePath(QString("z%1.mde").arg(i, 3, 10, QChar('0'))), Datei(inv, 500 + i, scans));
        }
        for (const TZeileAnzeige& inv : FInventuren)
            FVorher[Tag(inv)] = Zaehlung(inv, "G");
    }
    // Every file imported once: counted once, archived, recorded, none left anywhere else.
    void JedeDateiEinmal(int n)
    {
        for (const TZeileAnzeige& inv : FInventuren) {
            std::map<QString, int> erwartet = FVorher[Tag(inv)];
            for (const auto& [k, m] : FZugang[Tag(inv)])
                erwartet[k] += m;
            EXPECT_EQ(Zaehlung(inv, "G"), erwartet) << qPrintable(Tag(inv));
            EXPECT_EQ(NichtSummeDerRegale(inv), QStringList());
        }
        EXPECT_EQ(Wert("SELECT count(*) FROM zaehldatei").toInt(), n);
        EXPECT_EQ(QDir(FOrdner.filePath("archiv")).entryList(QDir::Files).size(), n);
        QStringList uebrig;
        for (QDirIterator it(FOrdner.path(), {"*.mde"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            if (const QString f = it.next(); !f.contains("/archiv/"))
                uebrig << f;
        EXPECT_EQ(uebrig, QStringList());
    }

    std::vector<TZeileAnzeige> FInventuren;
    QTemporaryDir FTemp;
    QDir FOrdner{FTemp.path()};
    std::map<QString, std::map<QString, int>> FZugang, FVorher;
};

}

TEST_F(ImportBefehlTest, ExitCodesTellWhatHappened)
{
    QString fehler;
    EXPECT_EQ(Importieren(&fehler), 0) << "nothing waiting";
    DateienAblegen(2);
    EXPECT_EQ(Importieren(&fehler, "postgresql://kalmet@127.0.0.1:1/keine"), 3);
    EXPECT_EQ(Importieren(&fehler), 0) << qPrintable(fehler);
    int stueck = 0;
    for (const auto& [tag, zugang] : FZugang)
        for (const auto& [k, m] : zugang)
            stueck += m;
    EXPECT_TRUE(fehler.contains(QString("2 Zähldateien eingelesen, %1 Stück").arg(stueck))) << qPrintable(fehler);
    DateiSchreiben(FOrdner.filePath("schlecht.mde"), Datei(FInventuren.front(), 1, {{"4006381333931", 1}}));
    EXPECT_EQ(Importieren(&fehler), 1);
    EXPECT_TRUE(fehler.contains("schlecht.mde, Zeile 5: 4006381333931 – unbekannter Barcode")) << qPrintable(fehler);

    QProcess p;
    p.start(KALMET_PROGRAMM, {"import", "--db", FDb->Url().ToString(), "--folder", FOrdner.filePath("gibtsnicht")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--folder"));
}

TEST_F(ImportBefehlTest, TwoTerminalsOnOneFolderImportEachFileOnce)
{
    DateienAblegen(40);
    QProcess a, b;
    a.start(KALMET_PROGRAMM, Aufruf());
    b.start(KALMET_PROGRAMM, Aufruf());
    int eingelesen[2] = {};
    for (int i = 0; i < 2; ++i) {
        QProcess& p = i == 0 ? a : b;
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString fehler = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 0) << qPrintable(fehler);
        const QRegularExpressionMatch m = QRegularExpression("(\\d+) Zähldatei(?:en)? eingelesen").match(fehler);
        eingelesen[i] = m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    EXPECT_EQ(eingelesen[0] + eingelesen[1], 40) << "each file reported by one of them";
    JedeDateiEinmal(40);
    std::printf("two terminals: %d and %d files\n", eingelesen[0], eingelesen[1]);
}

TEST_F(ImportBefehlTest, RunsKilledAtRandomPointsImportEveryFileOnce)
{
    // enough files that no run gets through the rest of them before its kill
    const bool server = FDb->Typ() == TConnectorTyp::PostgreSQL;
    const int CDateien = server ? 400 : 1000;
    DateienAblegen(CDateien);
    QRandomGenerator zufall(28);
    const int bis = server ? 700 : 450;
    const auto archiviert = [this] { return QDir(FOrdner.filePath("archiv")).entryList(QDir::Files).size(); };
    int getoetet = 0, mitten = 0;
    for (int lauf = 0; lauf < 40 && mitten < 8; ++lauf) {
        QProcess p;
        const qsizetype vorher = archiviert();
        p.start(KALMET_PROGRAMM, Aufruf());
        ASSERT_TRUE(p.waitForStarted());
        p.waitForFinished(zufall.bounded(100, bis));
        if (p.state() == QProcess::NotRunning)
            break;
        p.kill();   // SIGKILL: no cleanup of any kind
        p.waitForFinished();
        ++getoetet;
        mitten += archiviert() > vorher;   // killed while it worked
    }
    QString fehler;
    EXPECT_EQ(Importieren(&fehler), 0) << qPrintable(fehler);
    JedeDateiEinmal(CDateien);
    std::printf("kill test: %d runs killed, %d of them while they imported\n", getoetet, mitten);
    EXPECT_GE(mitten, 3);
}

TEST_F(ImportBefehlTest, LosingTheServerEndsARunWithCode3AndTheNextRunImportsEveryFileOnce)
{
    if (FDb->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "a SQLite file has no server to lose";
    constexpr int CDateien = 400;
    DateienAblegen(CDateien);
    QRandomGenerator zufall(5);
    int verloren = 0;
    for (int lauf = 0; lauf < 20 && verloren < 5; ++lauf)
        verloren += MitVerbindungsverlust(KALMET_PROGRAMM, Aufruf(), zufall.bounded(50, 600)) == 3;
    QString fehler;
    EXPECT_EQ(Importieren(&fehler), 0) << qPrintable(fehler);
    JedeDateiEinmal(CDateien);
    std::printf("server loss: %d runs ended with exit code 3\n", verloren);
    EXPECT_GE(verloren, 5);
}

TEST_F(ImportBefehlTest, AHostileFolderLeaksNothingAndBlocksNoGoodFile)
{
    // a secret of the importing user, and an unprivileged user's traps in the folder
    QTemporaryDir geheim;
    const QByteArray secret = "root:GEHEIM-HASH-4711:19000:0:99999:7:::\n";
    DateiSchreiben(geheim.filePath("shadow"), secret);
    ASSERT_TRUE(QFile::link(geheim.filePath("shadow"), FOrdner.filePath("a.mde")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(FOrdner.filePath("b.mde")).constData(), 0666), 0);
    ASSERT_EQ(::link(QFile::encodeName(geheim.filePath("shadow")).constData(), QFile::encodeName(FOrdner.filePath("h.mde")).constData()), 0);
    ASSERT_TRUE(QDir().mkpath(FOrdner.filePath("fehler")));
    const QString falle = geheim.filePath("von-root-angelegt");
    ASSERT_TRUE(QFile::link(falle, FOrdner.filePath("fehler/c.mde.txt")));
    const TZeileAnzeige& inv = FInventuren.front();
    const TBarcode gut = Barcodes(inv).front();
    DateiSchreiben(FOrdner.filePath("c.mde"), Datei(inv, 61, {{"4006381333932", 1}}));
    DateiSchreiben(FOrdner.filePath("d\x1b[31m.mde"), "#filiale=1\n#zaehldatum=2026-05-15\n\x1b]0;boese\x07" + QByteArray(5000, 'x') + "\n");
    DateiSchreiben(FOrdner.filePath("e.mde"), QByteArray("#filiale=1\n\0\0\0", 15) + QByteArray(3000, 'y'));
    DateiSchreiben(FOrdner.filePath("f.mde"), Datei(inv, 62, {{gut.Ean, 1}}).repeated(200));   // beyond MDE_MAX_BYTE
    DateiSchreiben(FOrdner.filePath("z.mde"), Datei(inv, 63, {{gut.Ean, 3}}, ""));         // good, after all of them, no #geraet
    Sql("INSERT INTO parameter (name, wert) VALUES ('MDE_MAX_BYTE', '8000')");

    QString fehler;
    EXPECT_EQ(Importieren(&fehler), 1) << qPrintable(fehler);
    EXPECT_EQ(Wert("SELECT count(*) FROM zaehldatei").toInt(), 1);
    EXPECT_EQ(Wert("SELECT stueck || '/' || geraet || '/' FROM zaehldatei WHERE name = 'z.mde'").toString(), "3//");
    EXPECT_EQ(QDir(FOrdner.filePath("archiv")).entryList(QDir::Files), QStringList{"z.mde"});

    // links and pipes stay where they are, nothing is created through a link
    EXPECT_TRUE(QFileInfo(FOrdner.filePath("a.mde")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(FOrdner.filePath("b.mde")) && QFileInfo::exists(FOrdner.filePath("h.mde")));
    EXPECT_FALSE(QFileInfo::exists(falle));
    EXPECT_EQ(QDir(FOrdner.filePath("fehler")).entryList(QDir::Files | QDir::System, QDir::Name),
              (QStringList{"c-2.mde", "c-2.mde.txt", "c.mde.txt", "d\x1b[31m.mde", "d\x1b[31m.mde.txt", "e.mde", "e.mde.txt", "f.mde",
                           "f.mde.txt"}));
    // no secret, no control character and no long line reaches the terminal, a report or the protocol
    QString alles = fehler + Abbild({"protokoll"}).join("\n");
    for (const QString& n : QDir(FOrdner.filePath("fehler")).entryList({"*.txt"}, QDir::Files)) {
        const QString pfad = FOrdner.filePath("fehler/" + n);
        if (QFileInfo(pfad).isSymLink())
            continue;
        alles += QString::fromUtf8(DateiLesen(pfad));
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0007, 0u) << qPrintable(n) << ": a report is for owner and group";
    }
    EXPECT_FALSE(alles.contains("GEHEIM")) << qPrintable(alles);
    EXPECT_FALSE(alles.contains(QChar(0x1b)) || alles.contains(QChar(0x07))) << "control characters escaped";
    EXPECT_FALSE(alles.contains(QString(300, 'x')));
    EXPECT_TRUE(fehler.contains("d\\x1b[31m.mde, Zeile 3: \\x1b]0;boese\\x07xxx")) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("e.mde: die Datei enthält Nullbytes")) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("f.mde: ") && fehler.contains("MDE_MAX_BYTE")) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("Keine gewöhnlichen Dateien (Verweise, Ordner), nicht eingelesen: a.mde, b.mde, h.mde")) << qPrintable(fehler);

    // a folder the run cannot use stops it before the first file, which stays where it is
    ASSERT_TRUE(QDir(FOrdner.filePath("archiv")).removeRecursively());
    DateiSchreiben(FOrdner.filePath("archiv"), "kein Ordner");
    DateiSchreiben(FOrdner.filePath("y.mde"), Datei(inv, 64, {{gut.Ean, 1}}));
    const QStringList vorher = Abbild({"izns", "ia", "zaehldatei"});
    EXPECT_EQ(Importieren(&fehler), 1);
    EXPECT_EQ(fehler.count("archiv ist kein Ordner"), 1) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("Bis dahin: 0 Zähldateien eingelesen")) << qPrintable(fehler);
    EXPECT_TRUE(QFileInfo::exists(FOrdner.filePath("y.mde")));
    EXPECT_EQ(Abbild({"izns", "ia", "zaehldatei"}), vorher);
}
