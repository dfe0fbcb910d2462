// The whole build of an inventory list (no report) on the benchmark chain, beside the time
// plain SQL statements take to read the same rows in the same run; the last line is the
// quotient of the case.
//   --case filialweit  one branch-wide inventory (default)
//   --case zehn        ten marked product-group inventories of one count day
//   --case rueck       the branch-wide inventory calculated back to the fiscal-year end; the
//                      plain reads include the stock and the movements of the period
//   --case pause       the branch-wide build with a timer in the event loop: the longest
//                      pause, against the 250 ms the window may be blocked
//   --case speicher    peak memory of the branch-wide build on chains of 2,000, 20,000 and
//                      100,000 articles (each run in a process of its own), largest by smallest
//   --case kette       only generates the chain of --articles when it is not there
//   --cli [--runs N]   with filialweit, zehn or rueck: the whole process "kalmet print --tables"
//                      beside the engine's own client reading the same rows (sqlite3, or psql
//                      with COPY ... TO STDOUT), N runs each (default 5) taken in turn; the
//                      quotient of the medians
//   --case pdf [--runs N]  the whole process "kalmet print --pdf" of the branch-wide list, N
//                      runs (default 5): median seconds, processor seconds per run, file size,
//                      peak memory of the process; the quotient of the median by 4 s
#include "bench/benchdb.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "framework/stock/invmani.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>

namespace {

// Reads every column of every row of the statement; the number of rows.
int AllesLesen(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        return 0;
    const int n = q.record().count();
    int zeilen = 0;
    while (q.next()) {
        for (int i = 0; i < n; ++i)
            q.value(i);
        ++zeilen;
    }
    return zeilen;
}

QString Sql(TDateTime d)
{
    return TDatumTraits::ToSql(d).first().toString();
}

// The marked rows of a case: the inventories of the condition on ia, in branch order.
TDruckConfig Auftrag(const QString& bedingung, TDateTime wj, bool rechnen)
{
    TDruckConfig c;
    c.WiJahr = wj;
    c.Rechnen = rechnen;
    QSqlQuery q(TZEP_Connection::Database());
    q.exec(QString("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '%1' AND %2 ORDER BY filiale").arg(Sql(wj), bedingung));
    while (q.next()) {
        const QVariant d = q.value(0);
        c.Zeilen.push_back({TDatumTraits::FromSql(&d), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()});
    }
    return c;
}

// The plain reads of the rows a build of c reads: target, count and erroneous-sale records
// of its inventories, master records and prices of their articles, and with back-calculation
// stock and movements since the evaluation date.
QStringList PlainSqlAnweisungen(const TDruckConfig& c, TDateTime auswertung)
{
    QStringList inventuren, fvk;
    TDateTime ab = TInvMani::BewegungenAb(auswertung, auswertung);
    for (const TZeileAnzeige& z : c.Zeilen) {
        inventuren << QString("(filiale = %1 AND zaehldatum = '%2')").arg(z.Filiale).arg(Sql(z.ZaehlDatum));
        fvk << QString("(filiale = %1 AND datum <= '%2')").arg(z.Filiale).arg(Sql(z.ZaehlDatum));
        ab = std::min(ab, TInvMani::BewegungenAb(z.ZaehlDatum, auswertung));
    }
    const QString inv = inventuren.join(" OR ");
    const QString ids = QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE %1 UNION "
                                "SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE %1").arg(inv);
    const QString artikel = "(produkt_id_1, produkt_id_2, produkt_id_3) IN (" + ids + ")";
    QStringList r = {"SELECT * FROM iv WHERE " + inv, "SELECT * FROM izns WHERE " + inv, "SELECT * FROM fvk WHERE " + fvk.join(" OR ")};
    for (const char* t : {"artikel", "preis", "preishist", "artikel_filiale"})
        r << QString("SELECT * FROM %1 WHERE ").arg(t) + artikel;
    if (c.Rechnen) {
        r << "SELECT * FROM bestand WHERE " + artikel;
        r << QString("SELECT * FROM bne WHERE datum >= '%1' AND ").arg(Sql(ab)) + artikel;
        r << QString("SELECT * FROM lsn WHERE datum >= '%1' AND ").arg(Sql(ab)) + artikel;
    }
    return r;
}

int PlainSql(const TDruckConfig& c, TDateTime auswertung)
{
    int n = 0;
    for (const QString& sql : PlainSqlAnweisungen(c, auswertung))
        n += AllesLesen(sql);
    return n;
}

// Wall time of a process in seconds; its output goes nowhere. Ends the benchmark when it fails.
double ProzessZeit(const QString& programm, const QStringList& argumente, const QString& eingabe = {})
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    if (!eingabe.isEmpty())
        p.setStandardInputFile(eingabe);
    const double s = Sekunden([&] {
        p.start(programm, argumente);
        p.waitForFinished(-1);
    });
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::printf("%s %s: Exit-Code %d\n", qPrintable(programm), qPrintable(argumente.join(' ')), p.exitCode());
        std::exit(1);
    }
    return s;
}

// The command line of "kalmet print" for the inventories of c, writing what ausgabe asks for
// ("--tables" and a folder, "--pdf" and a file).
QStringList DruckArgumente(const TDbUrl& url, const TDruckConfig& c, const QStringList& ausgabe)
{
    const auto tag = [](TDateTime d) { return TDateTime_ToQDate(d).toString("yyyy-MM-dd"); };
    QStringList a = QStringList{"print", "--db", url.ToString(), "--fiscal-year", tag(c.WiJahr), "--layout", "kalme003.rpt"} + ausgabe;
    if (url.Typ == TConnectorTyp::SQLite)
        a << "--user" << "demo";   // on PostgreSQL the role the server authenticated
    for (const TZeileAnzeige& z : c.Zeilen)
        a << "--inventory" << QString("%1:%2:%3").arg(tag(z.ZaehlDatum), z.WGN).arg(z.Filiale);
    if (c.Rechnen)
        a << "--evaluation-date" << "year-end";
    return a;
}

QString Kalmet()
{
    return QCoreApplication::applicationDirPath() + "/../kalmet/kalmet";
}

// The whole print process beside the engine's own client reading the rows of PlainSql, in
// turn, n times each; the medians and their quotient.
int Kommandozeile(const TDbUrl& url, const TDruckConfig& c, TDateTime auswertung, int n)
{
    QTemporaryDir dir;
    const QString skript = dir.filePath("lesen.sql");
    QFile f(skript);
    f.open(QIODevice::WriteOnly);
    const bool sqlite = url.Typ == TConnectorTyp::SQLite;
    for (const QString& sql : PlainSqlAnweisungen(c, auswertung))
        f.write((sqlite ? sql + ";\n" : "COPY (" + sql + ") TO STDOUT;\n").toUtf8());
    f.close();
    if (!sqlite && !url.Password.isEmpty())
        qputenv("PGPASSWORD", url.Password.toUtf8());
    const QStringList druck = DruckArgumente(url, c, {"--tables", dir.path()});
    std::vector<double> client, druckZeiten;
    for (int i = 0; i < n; ++i) {
        client.push_back(sqlite ? ProzessZeit("sqlite3", {url.Path}, skript)
                                : ProzessZeit("psql", {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", url.ToString(), "-f", skript}));
        druckZeiten.push_back(ProzessZeit(Kalmet(), druck));
    }
    std::printf("%s: %zu Inventuren, %d Läufe je Seite\n", qPrintable(url.ToString()), c.Zeilen.size(), n);
    std::printf("kalmet %s\n", qPrintable(druck.join(' ')));
    std::printf("%-22s %s s, Median %.2f s\n", sqlite ? "sqlite3" : "psql (COPY TO STDOUT)", qPrintable(Zeiten(client)), Median(client));
    std::printf("%-22s %s s, Median %.2f s\n", "kalmet print --tables", qPrintable(Zeiten(druckZeiten)), Median(druckZeiten));
    std::printf("ratio %.2f\n", Median(druckZeiten) / Median(client));
    return 0;
}

// The whole print process writing the PDF of c, n times: the median, the file's size and the
// largest peak memory of the runs.
int Pdf(const TDbUrl& url, const TDruckConfig& c, int n)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath("liste.pdf");
    const QStringList druck = DruckArgumente(url, c, {"--pdf", datei});
    std::vector<double> zeiten;
    for (int i = 0; i < n; ++i)
        zeiten.push_back(ProzessZeit(Kalmet(), druck));
    rusage kinder{};
    getrusage(RUSAGE_CHILDREN, &kinder);   // peak memory: the largest of the runs, in kB
    const auto sekunden = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    std::printf("%s: %zu Inventuren, %d Läufe, %d Threads\n", qPrintable(url.ToString()), c.Zeilen.size(), n, QThread::idealThreadCount());
    std::printf("kalmet %s\n", qPrintable(druck.join(' ')));
    std::printf("kalmet print --pdf     %s s, Median %.2f s\n", qPrintable(Zeiten(zeiten)), Median(zeiten));
    // beside the wall time, which other work on the machine stretches
    std::printf("Prozessorzeit je Lauf %.2f s (Benutzer %.2f s)\n", (sekunden(kinder.ru_utime) + sekunden(kinder.ru_stime)) / n,
                sekunden(kinder.ru_utime) / n);
    std::printf("PDF %.2f MB, Spitzenspeicher %ld kB\n", QFileInfo(datei).size() / 1e6, kinder.ru_maxrss);
    std::printf("ratio %.2f\n", Median(zeiten) / 4.0);
    return 0;
}

int Speicher(const QStringList& args)
{
    std::vector<std::pair<int, long>> kb;
    for (int artikel : {2000, 20000, 100000}) {
        // a PostgreSQL database is generated anew for each size, SQLite files stay per size;
        // generating runs in a process of its own, so that its heap does not count
        BenchFall(args, "kette", artikel);
        const QString aus = BenchFall(args, "filialweit", artikel);
        const QRegularExpressionMatch m = QRegularExpression("Spitzenspeicher (\\d+) kB").match(aus);
        kb.emplace_back(artikel, m.hasMatch() ? m.captured(1).toLong() : 0);
        std::printf("%6d Artikel: Spitzenspeicher %ld kB\n", artikel, kb.back().second);
        std::fflush(stdout);
    }
    std::printf("ratio %.2f\n", kb.front().second ? double(kb.back().second) / kb.front().second : 0.0);
    return 0;
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString fall = BenchWert(args, "--case", "filialweit");
    if (fall == "speicher")
        return Speicher(args);
    const TDbUrl url = BenchDatenbank(args);
    if (fall == "kette")
        return 0;
    // the peak memory counts from here: generating the chain is not part of the build
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    BenchProgrammStarten();

    const bool zehn = fall == "zehn", rueck = fall == "rueck";
    const TDateTime wj = EncodeDate(zehn ? 2026 : 2025, 2, 1);
    const TDateTime auswertung = WiJahrEnde(wj);
    const QString tag = "(SELECT MIN(zaehldatum) FROM ia WHERE wijahr = '2026-02-01 00:00:00.000')";
    const QString bedingung = zehn ? QString("zaehldatum = %1 AND wgn = (SELECT MIN(wgn) FROM ia WHERE zaehldatum = %1)").arg(tag)
                                   : "wgn = '' AND filiale = (SELECT MIN(filiale) FROM ia WHERE wgn = '')";
    // the print command refuses cancelled inventories: with --cli both sides leave them out
    const bool cli = args.contains("--cli") || fall == "pdf";
    const TDruckConfig c = Auftrag(cli ? bedingung + " AND kzzaehlung <> '6'" : bedingung, wj, rueck);
    const int laeufe = BenchWert(args, "--runs", "5").toInt();
    if (fall == "pdf")
        return Pdf(url, c, laeufe);
    if (cli)
        return Kommandozeile(url, c, auswertung, laeufe);

    // the longest pause of the event loop: a timer that fires every 10 ms while the build
    // lets the user interface answer after each article, as the window does
    QElapsedTimer uhr;
    qint64 letzter = 0, pause = 0;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        pause = std::max(pause, uhr.elapsed() - letzter);
        letzter = uhr.elapsed();
    });
    int artikel = 0;
    const auto fortschritt = [&](const QString&) {
        ++artikel;
        ORVInfoProcessMessages(333);
    };

    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    QTemporaryDir dir;
    takt.start(10);
    uhr.start();
    const double gesamt = Sekunden([&] { TInventurlisteBau(liste, c, auswertung).Ausfuehren(dir.path(), fortschritt); });
    pause = std::max(pause, uhr.elapsed() - letzter);
    takt.stop();
    const long speicher = Spitzenspeicher();
    int sqlZeilen = 0;
    const double sql = Sekunden([&] { sqlZeilen = PlainSql(c, auswertung); });

    std::printf("%s, Fall %s: %zu Inventuren, %d Artikel, %u INVL-Zeilen\n", qPrintable(url.ToString()), qPrintable(fall),
                c.Zeilen.size(), artikel, TDbfLeser(liste.CrystalSets().Tabelle("INVL")->Pfad()).Anzahl());
    std::printf("Aufbau %.2f s, dieselben Zeilen per SQL gelesen (%d Zeilen) %.2f s\n", gesamt, sqlZeilen, sql);
    std::printf("längste Pause der Ereignisschleife %lld ms\n", pause);
    std::printf("Spitzenspeicher %ld kB\n", speicher);
    for (const TRegistrierteException& e : ORVInfo().Register())
        std::printf("Fehler in %s: %s\n", qPrintable(e.Ort), qPrintable(e.Text));
    std::printf("ratio %.2f\n", fall == "pause" ? pause / 250.0 : gesamt / sql);
    return 0;
}
