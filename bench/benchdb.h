#pragma once

#include "demo/demodatenbank.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/db/transaktion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// Whether the PostgreSQL database holds a generated chain of this size.
inline bool PostgresKetteDa(const TDbUrl& url, const TDemoParameter& p)
{
    TZEP_Connection::Configure(url);
    QSqlQuery q(TZEP_Connection::Database());
    return q.exec("SELECT (SELECT COUNT(*) FROM artikel), (SELECT COUNT(*) FROM filiale)") && q.next()
        && q.value(0).toInt() == p.Artikel && q.value(1).toInt() == p.Filialen;
}

// The value after name on the command line, or standard.
inline QString BenchWert(const QStringList& args, const QString& name, const QString& standard)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : standard;
}

// The program as the benchmarks run it: for the user "demo" on the chain's today.
inline void BenchProgrammStarten()
{
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");
    ORVUhrSetzen(EncodeDate(2026, 12, 8));
}

// The benchmark chain: --db URL (default a SQLite file in /tmp, kept between runs),
// --articles N (20000) and --branches N (10). A SQLite file that exists is reused, and a
// PostgreSQL database that holds a chain of the same size.
inline TDbUrl BenchDatenbank(const QStringList& args)
{
    auto wert = [&](const QString& name, const QString& standard) { return BenchWert(args, name, standard); };
    TDemoParameter p;
    p.Artikel = wert("--articles", "20000").toInt();
    p.Filialen = wert("--branches", "10").toInt();
    p.Heute = QDate(2026, 12, 8);
    const TDbUrl url = TDbUrl::Parse(
        wert("--db", QStringLiteral("sqlite:/tmp/kalmet-bench-%1-%2.db").arg(p.Artikel).arg(p.Filialen)));
    if (url.Typ == TConnectorTyp::PostgreSQL ? !PostgresKetteDa(url, p) : !QFileInfo::exists(url.Path)) {
        std::printf("Erzeuge die Benchmark-Kette (%d Artikel, %d Filialen) ...\n", p.Artikel, p.Filialen);
        std::fflush(stdout);
        DemoDatenbankErzeugen(url, p, true);
    }
    TZEP_Connection::Configure(url);
    return url;
}

template <class F>
double Sekunden(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Times in seconds, as a line.
inline QString Zeiten(const std::vector<double>& v)
{
    QStringList t;
    for (double s : v)
        t << QString::number(s, 'f', 2);
    return t.join(' ');
}

// The peak resident memory of this process in kB.
inline long Spitzenspeicher()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+)")).match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? m.captured(1).toLong() : 0;
}

// Runs this benchmark with the case on a chain of the size (and the --db of args); its standard
// output.
inline QString BenchFall(const QStringList& args, const QString& fall, int artikel)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList weiter = {QStringLiteral("--case"), fall, QStringLiteral("--articles"), QString::number(artikel)};
    if (const qsizetype db = args.indexOf(QStringLiteral("--db")); db >= 0 && db + 1 < args.size())
        weiter << QStringLiteral("--db") << args[db + 1];
    p.start(QCoreApplication::applicationFilePath(), weiter);
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The best of n runs.
template <class F>
double Bestzeit(int n, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < n; ++i)
        best = std::min(best, Sekunden(f));
    return best;
}

// 20,000 inventories of one year, in a fiscal year of their own (01.02.2024 - 31.01.2025).
inline void InventurenAnlegen()
{
    QSqlQuery q(TZEP_Connection::Database());
    q.exec("DELETE FROM ia WHERE wijahr = '2024-02-01 00:00:00.000'");
    TTransaktion t(QStringLiteral("bench"));
    q.prepare("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, sollek, istek, kzzaehlung) VALUES "
              "('2024-02-01 00:00:00.000', ?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < 20000; ++i) {
        q.addBindValue(TDatumTraits::ToSql(EncodeDate(2024, 3, 1) + i / 200).first());
        q.addBindValue(QString("WG%1").arg(i % 200, 4, 10, QChar('0')));
        q.addBindValue(1 + i % 50);
        q.addBindValue(1000.0 + i);
        q.addBindValue(990.0 + i);
        q.addBindValue(QString::number(1 + i % 6));
        q.exec();
    }
    t.Commit();
}
