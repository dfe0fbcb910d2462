// The print data of a branch-wide inventory of the benchmark chain, article by article as
// the list build computes them: count and shelves, target, erroneous sales, the article with
// its prices, RENR and suppliers, the INVL lines. Beside it the time plain SQL statements take
// to read the same target, count and erroneous-sale rows and the articles and prices; the
// last line is their quotient.
#include "bench/benchdb.h"
#include "framework/app/programm.h"
#include "framework/article/artlessimple.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "inventurliste/inventurliste.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

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

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TDbUrl url = BenchDatenbank(app.arguments());
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");

    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2025-02-01 00:00:00.000' AND wgn = '' ORDER BY filiale");
    q.next();
    const QVariant zv = q.value(0);
    const TDateTime zd = TDatumTraits::FromSql(&zv);
    const int fil = q.value(1).toInt();
    const TDateTime wj = EncodeDate(2025, 2, 1);
    const QString zdText = TDatumTraits::ToSql(zd).first().toString();
    const QString inventur = QString("filiale = %1 AND zaehldatum = '%2'").arg(fil).arg(zdText);
    const QString artikelDerInventur =
        QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE %1 UNION "
                "SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE %1").arg(inventur);

    // the articles in product-id order, as the build visits them
    std::vector<TInt32Trio> ids;
    QSqlQuery a(TZEP_Connection::Database());
    a.exec(artikelDerInventur + " ORDER BY 1, 2, 3");
    while (a.next())
        ids.push_back({a.value(0).toInt(), a.value(1).toInt(), a.value(2).toInt()});

    TInventurliste f(TInventurlisteOptionen::AusParametern());
    QTemporaryDir dir;
    f.DBFFilesErstellen(dir.path());
    double mengen = 0, zeilen = 0, tabelle = 0;
    const double gesamt = Sekunden([&] {
        for (const TInt32Trio& id : ids) {
            TMengenfeld m;
            TRegalMengen regale;
            mengen += Sekunden([&] {
                f.InitMengenfeld(m);
                bool gefunden = f.LeseZaehlMengen(m, regale, id, zd, fil, true);
                gefunden = f.LeseSollMengen(m, id, wj, zd, fil) || gefunden;
                if (gefunden)
                    f.FVKKorrektur(id, fil, zd, false, m);
            });
            TinvlListe liste;
            zeilen += Sekunden([&] {
                f.ArtlesSimple().Laden(id);
                f.SchreibeDruckDateien(m, regale, f.ArtlesSimple().Satz(), wj, zd, "", fil, false, liste, false);
            });
            tabelle += Sekunden([&] { f.INVLSaetzeWegschreiben(liste, false); });
        }
        f.CrystalSets().AlleSchliessen();
    });

    int sqlZeilen = 0;
    const double sql = Sekunden([&] {
        sqlZeilen += AllesLesen("SELECT * FROM iv WHERE " + inventur);
        sqlZeilen += AllesLesen("SELECT * FROM izns WHERE " + inventur);
        sqlZeilen += AllesLesen(QString("SELECT * FROM fvk WHERE filiale = %1 AND datum <= '%2'").arg(fil).arg(zdText));
        const QString artikel = "(produkt_id_1, produkt_id_2, produkt_id_3) IN (" + artikelDerInventur + ")";
        sqlZeilen += AllesLesen("SELECT * FROM artikel WHERE " + artikel);
        sqlZeilen += AllesLesen("SELECT * FROM preis WHERE " + artikel);
        sqlZeilen += AllesLesen("SELECT * FROM preishist WHERE " + artikel);
    });
    std::printf("%s, Filiale %d: %zu Artikel, %u INVL-Zeilen\n", qPrintable(url.ToString()), fil, ids.size(),
                f.CrystalSets().Tabelle("INVL")->Anzahl());
    std::printf("gesamt %.2f s: Mengen lesen (Zählung, Regale, Soll, Fehlverkäufe) %.2f s, Zeilen aufbauen (Artikel, "
                "Preise, RENR, Lieferanten) %.2f s, INVL schreiben %.2f s\n",
                gesamt, mengen, zeilen, tabelle);
    std::printf("dieselben Zeilen per SQL gelesen (%d Zeilen): %.2f s\n", sqlZeilen, sql);
    std::printf("ratio %.2f\n", gesamt / sql);
    return 0;
}
