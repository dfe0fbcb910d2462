#include "tests/support/demokette.h"

#include "demo/demodatenbank.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"

#include <map>
#include <tuple>

std::unique_ptr<TTestDb> DemoKette(const TDemoParameter& p)
{
    using TSchluessel = std::tuple<uint64_t, int, int, QDate, QString>;
    static std::map<TSchluessel, TDbUrl> vorlagen;
    const TSchluessel schluessel{p.Seed, p.Artikel, p.Filialen, p.Heute, p.Benutzer};
    auto it = vorlagen.find(schluessel);
    if (it == vorlagen.end())
        it = vorlagen.emplace(schluessel, TTestDb::Vorlage([&](const TDbUrl& url) { DemoDatenbankErzeugen(url, p, false); })).first;
    return std::make_unique<TTestDb>(it->second);
}

TDemoParameter TestKette()
{
    TDemoParameter p;
    p.Seed = 3;
    p.Artikel = 120;
    p.Filialen = 5;
    p.Heute = QDate(2026, 12, 8);
    p.Benutzer = "tester";
    return p;
}

std::unique_ptr<TTestDb> TestKetteStarten()
{
    std::unique_ptr<TTestDb> db = DemoKette(TestKette());
    if (!db->Verfuegbar())
        return db;
    ORVUhrSetzen(EncodeDateTime(2026, 12, 8, 10, 0, 0, 0));
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");
    ORVInfo().RegisterLeeren();
    return db;
}

void TestKetteBeenden()
{
    ORVUhrSetzen(std::nullopt);
}

QString ProgrammBenutzer(const TTestDb& db)
{
    if (db.Typ() != TConnectorTyp::PostgreSQL)
        return QStringLiteral("demo");
    const QString rolle = db.Url().User;
    TTestDb::Exec(QString("INSERT INTO benutzer (name) VALUES ('%1')").arg(rolle));
    TTestDb::Exec(QString("INSERT INTO benutzerrecht (benutzer, recht) SELECT '%1', recht FROM benutzerrecht WHERE benutzer = 'demo'")
                      .arg(rolle));
    return rolle;
}
