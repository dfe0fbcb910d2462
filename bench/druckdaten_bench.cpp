// Writing the print data of a branch-wide inventory of the benchmark chain: time spent
// reading target and count records, building the lines (which reads prices, RENR and
// supplier data per article), and writing them to INVL; beside it the time one plain SQL
// statement per table takes to read the same target and count rows.
#include "bench/benchdb.h"
#include "framework/app/programm.h"
#include "framework/db/datenfeld.h"
#include "framework/article/artlessimple.h"
#include "framework/db/files/ivfile.h"
#include "framework/dbf/crystalsets.h"
#include "inventurliste/inventurliste.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TDbUrl url = BenchDatenbank(app.arguments());
    ORVProgramm().Init("KALMET", 3, 0, 0, true);
    ORVProgramm().SetBenutzer("demo");
    TInventurliste f(TInventurlisteOptionen::AusParametern());
    QTemporaryDir dir;
    f.DBFFilesErstellen(dir.path());

    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2025-02-01 00:00:00.000' AND wgn = '' ORDER BY filiale");
    q.next();
    const QVariant zv = q.value(0);
    const TDateTime zd = TDatumTraits::FromSql(&zv);
    const int fil = q.value(1).toInt();
    const TDateTime wj = EncodeDate(2025, 2, 1);
    const QString zdText = TDatumTraits::ToSql(zd).first().toString();

    double lesen = 0, schreiben = 0, tabelle = 0;
    int artikel = 0;
    const double gesamt = Sekunden([&] {
        Tivfile& iv = f.IVFile();
        iv.AllesClear();
        iv.WiJahr.SetKeyWertAndFilter(wj);
        iv.ZaehlDatum.SetKeyWertAndFilter(zd);
        iv.Filiale.SetKeyWertAndFilter(fil);
        TMengenfeld m;
        TRegalMengen regale;
        TInt32Trio aktuell;
        const auto abschliessen = [&] {
            lesen += Sekunden([&] { f.LeseZaehlMengen(m, regale, aktuell, zd, fil, true); });
            TinvlListe liste;
            schreiben += Sekunden([&] {
                f.ArtlesSimple().Laden(aktuell);
                f.SchreibeDruckDateien(m, regale, f.ArtlesSimple().Satz(), wj, zd, "", fil, false, liste, false);
            });
            tabelle += Sekunden([&] { f.INVLSaetzeWegschreiben(liste, false); });
            ++artikel;
        };
        bool ok;
        lesen += Sekunden([&] { ok = iv.Get_ge(); });
        while (ok) {
            const TivSatz s = iv.GetSatz();
            if (s.Produkt_ID != aktuell) {
                if (!aktuell.IsNull())
                    abschliessen();
                aktuell = s.Produkt_ID;
                f.InitMengenfeld(m);
                regale.clear();
            }
            f.FuelleMengenfeld_MitSollsaetzen(s, m);
            lesen += Sekunden([&] { ok = iv.Get_next(); });
        }
        if (!aktuell.IsNull())
            abschliessen();
        f.CrystalSets().AlleSchliessen();
    });
    int zeilen = 0;
    const double sql = Sekunden([&] {
        for (const char* t : {"iv", "izns"}) {
            QSqlQuery r(TZEP_Connection::Database());
            r.setForwardOnly(true);
            r.exec(QString("SELECT * FROM %1 WHERE filiale = %2 AND zaehldatum = '%3'").arg(t).arg(fil).arg(zdText));
            const int n = r.record().count();
            while (r.next()) {
                for (int i = 0; i < n; ++i)
                    r.value(i);
                ++zeilen;
            }
        }
    });
    std::printf("%s, Filiale %d: %d Artikel, %u INVL-Zeilen\n", qPrintable(url.ToString()), fil, artikel, f.CrystalSets().Tabelle("INVL")->Anzahl());
    std::printf("gesamt %.2f s: Ziel- und Zählsätze lesen %.2f s, Zeilen aufbauen (mit Preisen, RENR, Lieferanten) %.2f s, "
                "INVL schreiben %.2f s; die Ziel- und Zählsätze per SQL gelesen (%d Zeilen) %.2f s\n",
                gesamt, lesen, schreiben, tabelle, zeilen, sql);
    return 0;
}
