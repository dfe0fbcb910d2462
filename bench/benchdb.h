#pragma once

#include "demo/demodatenbank.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <chrono>
#include <cstdio>

// The benchmark chain: --db URL (default a SQLite file in /tmp, kept between runs),
// --articles N (20000) and --branches N (10). A SQLite file that exists is reused.
inline TDbUrl BenchDatenbank(const QStringList& args)
{
    auto wert = [&](const QString& name, const QString& standard) {
        const qsizetype i = args.indexOf(name);
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : standard;
    };
    TDemoParameter p;
    p.Artikel = wert("--articles", "20000").toInt();
    p.Filialen = wert("--branches", "10").toInt();
    p.Heute = QDate(2026, 12, 8);
    const TDbUrl url = TDbUrl::Parse(
        wert("--db", QStringLiteral("sqlite:/tmp/kalmet-bench-%1-%2.db").arg(p.Artikel).arg(p.Filialen)));
    if (url.Typ == TConnectorTyp::PostgreSQL || !QFileInfo::exists(url.Path)) {
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

// The best of n runs.
template <class F>
double Bestzeit(int n, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < n; ++i)
        best = std::min(best, Sekunden(f));
    return best;
}
