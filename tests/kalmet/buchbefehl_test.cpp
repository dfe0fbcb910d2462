// "kalmet book" as a back office schedules it: exit codes, questions, locked articles, and
// runs killed or cut off from the server at random points that a later run completes with
// every difference posted once.
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "tests/support/buchungskette.h"
#include "tests/support/fremdesperre.h"
#include "tests/support/verbindungsverlust.h"
#include "tests/support/zaehlkette.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>

#include <gtest/gtest.h>

using namespace Kette;

namespace {

class BuchBefehlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KetteStarten();
        KALMET_REQUIRE_DB(*FDb);
    }
    // A fresh copy of the test chain.
    void KetteStarten()
    {
        FDb = TestKetteStarten();
        if (!FDb->Verfuegbar())
            return;
        FBenutzer = ProgrammBenutzer(*FDb);
    }
    void TearDown() override
    {
        TestKetteBeenden();
        FDb.reset();
    }

    QStringList Aufruf(const QStringList& args, const QString& db = {}) const
    {
        return QStringList{"book", "--db", db.isEmpty() ? FDb->Url().ToString() : db, "--user", FBenutzer, "--fiscal-year", "2026-02-01"}
            + args;
    }
    // Runs the program to its end; its exit code, standard output and error.
    int Buchen(const QStringList& args, QString* aus = nullptr, QString* fehler = nullptr, const QString& db = {})
    {
        QProcess p;
        p.start(KALMET_PROGRAMM, Aufruf(args, db));
        EXPECT_TRUE(p.waitForFinished(120000));
        if (aus)
            *aus = QString::fromUtf8(p.readAllStandardOutput());
        if (fehler)
            *fehler = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    static QString Inventur(const TKettenInventur& i)
    {
        return QString("%1:%2:%3").arg(TDateTime_ToQDate(i.Zeile.ZaehlDatum).toString("yyyy-MM-dd"), i.Zeile.WGN).arg(i.Zeile.Filiale);
    }
    // The open inventories of the ordinary branches, one count day per branch: a difference
    // posted on an earlier day of a branch moves the stock of its later count days too.
    std::vector<TKettenInventur> Gewoehnliche()
    {
        std::vector<TKettenInventur> r;
        for (const TKettenInventur& i : OffeneInventuren())
            if (!i.Lagerfiliale && std::none_of(r.begin(), r.end(), [&](const TKettenInventur& j) {
                    return j.Zeile.Filiale == i.Zeile.Filiale && j.Zeile.ZaehlDatum != i.Zeile.ZaehlDatum;
                }))
                r.push_back(i);
        return r;
    }

    // The booking command's arguments for the inventories not booked yet: a booked one among
    // the marked would stop the run at the check, as it stops the window. Articles nobody
    // counted are booked to 0.
    static QStringList Offene(const std::vector<TKettenInventur>& inventuren)
    {
        QStringList args{"--yes", "--uncounted-as-zero"};
        for (const TKettenInventur& i : inventuren)
            if (Status(i.Zeile) != "5")
                args << "--inventory" << Inventur(i);
        return args;
    }
    // Articles some of whose target records of a count day are posted and others not: an
    // article torn apart by a crash.
    static int Zerrissen()
    {
        return Wert("SELECT count(*) FROM (SELECT produkt_id_2 FROM iv GROUP BY wijahr, zaehldatum, filiale, produkt_id_1, "
                    "produkt_id_2, produkt_id_3 HAVING min(kzgebucht) <> max(kzgebucht)) x")
            .toInt();
    }
    static const inline QStringList CGebucht{"bne", "bestand", "lsn", "fvk", "iv", "ia", "artsperre"};

    // The raw tables before runs that book the inventories.
    struct TVorher {
        std::map<QString, qint64> Bestand;
        qint64 LetzteBewegung = 0;
        int Verkaeufe = 0, Fehlverkaeufe = 0;
    };
    static TVorher VorherMerken()
    {
        return {Bestand(), Wert("SELECT max(id) FROM bne").toLongLong(), Wert("SELECT count(*) FROM lsn").toInt(),
                Wert("SELECT count(*) FROM fvk").toInt()};
    }
    // A last run books what the interrupted runs left open; then every difference is posted once.
    void RestBuchen(const std::vector<TKettenInventur>& inventuren, const TVorher& vorher)
    {
        QString aus, fehler;
        if (Offene(inventuren).size() > 2) {
            EXPECT_EQ(Buchen(Offene(inventuren), &aus, &fehler), 0) << qPrintable(fehler);
        }
        EinmalGebucht(inventuren, vorher);
    }
    // What the runs left, with a last one that ran to its end: every inventory booked and at its
    // count, each difference posted once, each converted erroneous sale one sales line, the stock
    // the sum of the movements, no lock left.
    void EinmalGebucht(const std::vector<TKettenInventur>& inventuren, const TVorher& v)
    {
        for (const TKettenInventur& i : inventuren) {
            EXPECT_EQ(Status(i.Zeile), "5");
            EXPECT_EQ(AbweichendVomZaehlbestand(i.Zeile), QStringList()) << qPrintable(Inventur(i));
        }
        EXPECT_EQ(Wert(QString("SELECT count(*) FROM (SELECT filiale FROM bne WHERE bewart = 19 AND id > %1 GROUP BY produkt_id_1, "
                               "produkt_id_2, produkt_id_3, filiale, datum HAVING count(*) > 1) x")
                           .arg(v.LetzteBewegung))
                      .toInt(),
                  0)
            << "no difference posted twice";
        EXPECT_EQ(Wert("SELECT count(*) FROM lsn").toInt() - v.Verkaeufe, v.Fehlverkaeufe - Wert("SELECT count(*) FROM fvk").toInt())
            << "every converted erroneous sale is one sales line";
        EXPECT_EQ(Bestand(), BestandPlusBewegungen(v.Bestand, v.LetzteBewegung)) << "stock is the sum of the movements";
        EXPECT_EQ(Wert("SELECT count(*) FROM artsperre").toInt(), 0) << "the run after a crash removes the dead run's locks";
    }

    std::unique_ptr<TTestDb> FDb;
    QString FBenutzer = "demo";
};

}

TEST_F(BuchBefehlTest, ExitCodesTellWhatHappened)
{
    const TKettenInventur inv = Gewoehnliche().front();
    const QString artikel = AbweichendVomZaehlbestand(inv.Zeile).first();
    QString aus, fehler;
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv)}, &aus, &fehler), 4);
    EXPECT_TRUE(fehler.contains("wirklich buchen")) << qPrintable(fehler);
    EXPECT_EQ(Status(inv.Zeile), inv.Status) << "a question without answer changes nothing";

    // booking needs the program's right as well as the booking right
    Sql(QString("DELETE FROM benutzerrecht WHERE benutzer = '%1' AND recht = 'pz{'").arg(FBenutzer));
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 2) << qPrintable(fehler);
    Sql(QString("INSERT INTO benutzerrecht (benutzer, recht) VALUES ('%1', 'pz{')").arg(FBenutzer));
    EXPECT_EQ(Buchen({"--inventory", "2026-05-15:ZZ9999:1", "--yes"}, &aus, &fehler), 2);
    EXPECT_TRUE(fehler.contains("--inventory"));
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--layout", "kalme003.rpt", "--yes"}, &aus, &fehler), 2) << "--layout without --pdf";
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler, "postgresql://kalmet@127.0.0.1:1/keine"), 3);

    // a count file rejected for the inventory's day and branch stops its booking, at the
    // booking's start and in every later booking, until someone takes the file away
    QTemporaryDir mde;
    Sql(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_MDE', '%1')").arg(mde.path()));
    Zaehl::DateiSchreiben(mde.filePath("regal.mde"), QString("#filiale=%1\n#zaehldatum=%2\nkein Barcode\n")
                                                         .arg(inv.Zeile.Filiale)
                                                         .arg(TDateTime_FormatDatum(inv.Zeile.ZaehlDatum))
                                                         .toUtf8());
    for (int lauf = 0; lauf < 2; ++lauf) {
        EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 1) << qPrintable(fehler);
        EXPECT_TRUE(fehler.contains("regal.mde") && fehler.contains("nicht ausgeführt")) << qPrintable(fehler);
        EXPECT_EQ(Status(inv.Zeile), inv.Status);
    }
    ASSERT_TRUE(QFile::remove(mde.filePath("fehler/regal.mde")));
    // so does one still being written
    Sql("INSERT INTO parameter (name, wert) VALUES ('MDE_RUHE_SEKUNDEN', '600')");
    QFile neu(mde.filePath("neu.mde"));
    ASSERT_TRUE(neu.open(QIODevice::WriteOnly));
    neu.write(QString("#filiale=%1\n#zaehldatum=%2\n").arg(inv.Zeile.Filiale).arg(TDateTime_FormatDatum(inv.Zeile.ZaehlDatum)).toUtf8());
    neu.close();
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 1) << qPrintable(fehler);
    EXPECT_TRUE(fehler.contains("neu.mde")) << qPrintable(fehler);
    ASSERT_TRUE(neu.remove());
    // one of another branch does not stop it (the bookings below)
    Zaehl::DateiSchreiben(mde.filePath("andere.mde"), QString("#filiale=%1\n#zaehldatum=%2\nkein Barcode\n")
                                                          .arg(inv.Zeile.Filiale + 1)
                                                          .arg(TDateTime_FormatDatum(inv.Zeile.ZaehlDatum))
                                                          .toUtf8());

    // an article another terminal holds: listed with its holder, the inventory stays open
    {
        const TFremdeSperre fremd(ProduktId(artikel), QSysInfo::machineHostName(), 1, "2026-12-08 09:30:00.000");
        EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 5) << qPrintable(fehler);
        const QStringList zeilen = aus.trimmed().split('\n');
        ASSERT_EQ(zeilen.size(), 1) << qPrintable(aus);
        EXPECT_TRUE(zeilen[0].contains("KASSE") && zeilen[0].contains("08.12.2026 09:30:00")) << qPrintable(zeilen[0]);
        EXPECT_EQ(Status(inv.Zeile), "4");
        Sql("DELETE FROM artsperre");
    }
    QDir().mkpath(QDir::tempPath());
    const QString pdf = QDir::temp().filePath(QString("kalmet-book-%1.pdf").arg(QCoreApplication::applicationPid()));
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes", "--layout", "kalme003.rpt", "--pdf", pdf}, &aus, &fehler), 0) << qPrintable(fehler);
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_TRUE(QFile::exists(pdf)) << "the list printed afterwards";
    QFile::remove(pdf);
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 1) << "booked is booked";
}

TEST_F(BuchBefehlTest, TwoTerminalsBookingTheSameInventoriesLeaveWhatOneRunLeaves)
{
    const std::vector<TKettenInventur> inventuren = Gewoehnliche();
    ASSERT_GE(inventuren.size(), 3u);
    QString aus, fehler;
    ASSERT_EQ(Buchen(Offene(inventuren), &aus, &fehler), 0) << qPrintable(fehler);
    QStringList allein = Abbild(CGebucht);

    KetteStarten();
    const QStringList args = Offene(inventuren);
    // another terminal holds one article of each inventory for a while: the first run waits
    // for them in its passes, the second starts 0.3 s later and works beside it
    QStringList gehalten;
    for (const TKettenInventur& i : inventuren)
        if (const QString a = AbweichendVomZaehlbestand(i.Zeile).first(); !gehalten.contains(a))
            gehalten << a;
    std::vector<std::unique_ptr<TFremdeSperre>> kasse;
    for (const QString& a : gehalten)
        kasse.push_back(std::make_unique<TFremdeSperre>(ProduktId(a), "kasse-9", 4711,
                                                        QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss.zzz")));
    QProcess a, b;
    a.start(KALMET_PROGRAMM, Aufruf(args));
    QThread::msleep(300);
    b.start(KALMET_PROGRAMM, Aufruf(args));
    QThread::msleep(300);
    kasse.clear();
    Sql("DELETE FROM artsperre WHERE terminal = 'kasse-9'");
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        // both passed the checks and worked: done, or an article still locked
        EXPECT_TRUE(p->exitCode() == 0 || p->exitCode() == 5) << qPrintable(p->readAllStandardError());
    }
    if (Offene(inventuren).size() > 2) {
        EXPECT_EQ(Buchen(Offene(inventuren), &aus, &fehler), 0) << qPrintable(fehler);
    }
    QStringList beide = Abbild(CGebucht);
    allein.sort();
    beide.sort();
    QStringList nurEiner, nurBeide;
    std::set_difference(allein.begin(), allein.end(), beide.begin(), beide.end(), std::back_inserter(nurEiner));
    std::set_difference(beide.begin(), beide.end(), allein.begin(), allein.end(), std::back_inserter(nurBeide));
    EXPECT_TRUE(nurEiner.isEmpty() && nurBeide.isEmpty())
        << nurEiner.size() << " rows of one run only, e.g. " << qPrintable(nurEiner.mid(0, 3).join('\n')) << "\n"
        << nurBeide.size() << " rows of two terminals only, e.g. " << qPrintable(nurBeide.mid(0, 3).join('\n'));
    std::printf("two terminals: exit codes %d and %d, %d articles found posted by the other, %lld rows compared\n", a.exitCode(),
                b.exitCode(), Wert("SELECT count(*) FROM protokoll WHERE text LIKE '%war schon gebucht%'").toInt(),
                static_cast<long long>(allein.size()));
}

TEST_F(BuchBefehlTest, RunsKilledAtRandomPointsPostEveryDifferenceOnce)
{
    QRandomGenerator zufall(19);
    int getoetet = 0, imArtikel = 0;
    // rounds on fresh copies of the chain until twenty runs died while they worked, five of
    // them while they posted articles (on PostgreSQL: inside an article, its lock row left
    // behind; on SQLite the lock row is written in the article's transaction and dies with it)
    for (int runde = 0; (getoetet < 20 || imArtikel < 5) && runde < 100; ++runde) {
        if (runde > 0)
            KetteStarten();
        const std::vector<TKettenInventur> inventuren = Gewoehnliche();
        ASSERT_GE(inventuren.size(), 3u);
        const TVorher vorher = VorherMerken();
        for (int lauf = 0; Offene(inventuren).size() > 2 && lauf < 30; ++lauf) {
            const qint64 bewegungVorher = Wert("SELECT max(id) FROM bne").toLongLong();
            QProcess p;
            p.start(KALMET_PROGRAMM, Aufruf(Offene(inventuren)));
            ASSERT_TRUE(p.waitForStarted());
            p.waitForFinished(zufall.bounded(1, FDb->Typ() == TConnectorTyp::PostgreSQL ? 400 : 150));
            if (p.state() == QProcess::NotRunning)
                break;   // this one ran to its end
            p.kill();   // SIGKILL: no cleanup of any kind
            p.waitForFinished();
            ++getoetet;
            imArtikel += FDb->Typ() == TConnectorTyp::PostgreSQL ? Wert("SELECT count(*) FROM artsperre").toInt() > 0
                                                                  : Wert("SELECT max(id) FROM bne").toLongLong() > bewegungVorher;
            EXPECT_EQ(Zerrissen(), 0) << "an article is posted whole or not at all";
        }
        RestBuchen(inventuren, vorher);
        if (HasFailure())
            return;
    }
    std::printf("kill test: %d runs killed, %d of them inside an article\n", getoetet, imArtikel);
    EXPECT_GE(getoetet, 20);
    EXPECT_GE(imArtikel, 5);
}

TEST_F(BuchBefehlTest, LosingTheServerEndsARunWithCode3AndTheNextRunPostsEveryDifferenceOnce)
{
    if (FDb->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "a SQLite file has no server to lose";
    QRandomGenerator zufall(3);
    int verloren = 0;
    // rounds on fresh copies of the chain until five runs lost the server while they worked
    for (int runde = 0; verloren < 5 && runde < 20; ++runde) {
        if (runde > 0)
            KetteStarten();
        const std::vector<TKettenInventur> inventuren = Gewoehnliche();
        const TVorher vorher = VorherMerken();
        for (int lauf = 0; lauf < 10 && Offene(inventuren).size() > 2; ++lauf) {
            verloren += MitVerbindungsverlust(KALMET_PROGRAMM, Aufruf(Offene(inventuren)), zufall.bounded(5, 100)) == 3;
            EXPECT_EQ(Zerrissen(), 0) << "an article is posted whole or not at all";
        }
        RestBuchen(inventuren, vorher);
        if (HasFailure())
            return;
    }
    std::printf("server loss: %d runs ended with exit code 3\n", verloren);
    EXPECT_GE(verloren, 5);
}

TEST_F(BuchBefehlTest, ArticlesNobodyCountedAreBookedToZeroOnlyWhenTheCommandSaysSoAndLargeDifferencesNeedApproval)
{
    TKettenInventur inv;
    for (const TKettenInventur& i : Gewoehnliche())
        if (!Ungezaehlt(i.Zeile).empty())
            inv = i;
    ASSERT_FALSE(inv.Zeile.WGN.isEmpty()) << "the chain has an inventory with articles nobody counted";
    const qint64 stueck = [&] {
        qint64 s = 0;
        for (const auto& [id, n] : Ungezaehlt(inv.Zeile))
            s += n;
        return s;
    }();
    const QStringList vorher = Abbild(CGebucht);
    QString aus, fehler;
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler), 1) << "--yes does not answer this";
    EXPECT_TRUE(fehler.contains(QString("Artikel mit Sollbestand wurden nicht gezählt; beim Buchen wird ihr Bestand auf 0 gesetzt – %1 Artikel, %2 Stück")
                                    .arg(Ungezaehlt(inv.Zeile).size())
                                    .arg(stueck)))
        << qPrintable(fehler);
    EXPECT_EQ(Abbild(CGebucht), vorher) << "refused, nothing booked";

    // a difference beyond the limit: the right "pzf" books it, its lack is a wrong --user
    Sql(QString("UPDATE parameter SET wert = '%1' WHERE name = 'FREIGABE_AB_EK'").arg(std::abs(inv.IstEK - inv.SollEK) - 0.01, 0, 'f', 2));
    Sql(QString("DELETE FROM benutzerrecht WHERE benutzer = '%1' AND recht = 'pzf'").arg(FBenutzer));
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes", "--uncounted-as-zero"}, &aus, &fehler), 2);
    EXPECT_TRUE(fehler.contains("--user") && fehler.contains("\"pzf\"") && fehler.contains("Freigabe ab")) << qPrintable(fehler);
    EXPECT_EQ(Abbild(CGebucht), vorher);
    Sql(QString("INSERT INTO benutzerrecht (benutzer, recht) VALUES ('%1', 'pzf')").arg(FBenutzer));

    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes", "--uncounted-as-zero"}, &aus, &fehler), 0) << qPrintable(fehler);
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_TRUE(Ungezaehlt(inv.Zeile).empty());
    EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList()) << "their stock at the count day is 0";
}
