// "kalmet book" as a back office schedules it: exit codes, questions, locked articles, and
// runs killed at random points that a later run completes with every difference posted once.
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "tests/support/buchungskette.h"
#include "tests/support/fremdesperre.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSysInfo>

#include <csignal>

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

    EXPECT_EQ(Buchen({"--inventory", "2026-05-15:ZZ9999:1", "--yes"}, &aus, &fehler), 2);
    EXPECT_TRUE(fehler.contains("--inventory"));
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--layout", "kalme003.rpt", "--yes"}, &aus, &fehler), 2) << "--layout without --pdf";
    EXPECT_EQ(Buchen({"--inventory", Inventur(inv), "--yes"}, &aus, &fehler, "postgresql://kalmet@127.0.0.1:1/keine"), 3);

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

TEST_F(BuchBefehlTest, RunsKilledAtRandomPointsPostEveryDifferenceOnce)
{
    QRandomGenerator zufall(19);
    int getoetet = 0;
    // rounds on fresh copies of the chain until twenty runs died while they worked
    for (int runde = 0; getoetet < 20 && runde < 40; ++runde) {
        if (runde > 0)
            KetteStarten();
        const std::vector<TKettenInventur> inventuren = Gewoehnliche();
        ASSERT_GE(inventuren.size(), 3u);
        // each run books what is not booked yet: a booked inventory among the marked ones
        // would stop it at the check, as it stops the window
        const auto offene = [&] {
            QStringList args{"--yes"};
            for (const TKettenInventur& i : inventuren)
                if (Status(i.Zeile) != "5")
                    args << "--inventory" << Inventur(i);
            return args;
        };
        const auto bestandVorher = Bestand();
        const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
        const int verkaeufe = Wert("SELECT count(*) FROM lsn").toInt();
        const int fehlverkaeufe = Wert("SELECT count(*) FROM fvk").toInt();
        while (offene().size() > 1) {
            QProcess p;
            p.start(KALMET_PROGRAMM, Aufruf(offene()));
            ASSERT_TRUE(p.waitForStarted());
            p.waitForFinished(zufall.bounded(1, FDb->Typ() == TConnectorTyp::PostgreSQL ? 400 : 150));
            if (p.state() == QProcess::NotRunning)
                break;   // this one ran to its end
            p.kill();   // SIGKILL: no cleanup of any kind
            p.waitForFinished();
            ++getoetet;
        }
        QString aus, fehler;
        if (offene().size() > 1) {
            EXPECT_EQ(Buchen(offene(), &aus, &fehler), 0) << qPrintable(fehler);
        }

        for (const TKettenInventur& i : inventuren) {
            EXPECT_EQ(Status(i.Zeile), "5");
            EXPECT_EQ(AbweichendVomZaehlbestand(i.Zeile), QStringList()) << qPrintable(Inventur(i));
        }
        EXPECT_EQ(Wert(QString("SELECT count(*) FROM (SELECT filiale FROM bne WHERE bewart = 19 AND id > %1 GROUP BY produkt_id_1, "
                               "produkt_id_2, produkt_id_3, filiale, datum HAVING count(*) > 1) x")
                           .arg(letzteBewegung))
                      .toInt(),
                  0)
            << "no difference posted twice";
        EXPECT_EQ(Wert("SELECT count(*) FROM lsn").toInt() - verkaeufe, fehlverkaeufe - Wert("SELECT count(*) FROM fvk").toInt())
            << "every converted erroneous sale is one sales line";
        EXPECT_EQ(Bestand(), BestandPlusBewegungen(bestandVorher, letzteBewegung)) << "stock is the sum of the movements";
        // a lock of a killed run may stay on an article posted before the kill; it belongs to
        // no running process and is taken over by the next run that needs it
        QSqlQuery q(TZEP_Connection::Database());
        ASSERT_TRUE(q.exec("SELECT prozessid FROM artsperre"));
        while (q.next())
            EXPECT_NE(::kill(q.value(0).toInt(), 0), 0) << "lock of a running process " << q.value(0).toInt();
        if (HasFailure())
            return;
    }
    EXPECT_GE(getoetet, 20);
}
