// Time of the selection query beside the bare union statement run directly with the same
// parameters, on the benchmark chain: all inventories of the current fiscal year, without
// and with back-calculation to the start of the year.
#include "bench/benchdb.h"
#include "framework/app/programm.h"
#include "framework/db/datenfeld.h"
#include "ivvorselquerysql/kalmetselektionsql.h"

#include <QSqlError>
#include <QSqlQuery>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TDbUrl url = BenchDatenbank(app.arguments());
    const TDateTime wj = EncodeDate(2026, 2, 1);
    std::vector<TVglInvAnf_Inv> invs;
    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000'");
    while (q.next()) {
        const QVariant d = q.value(0);
        invs.push_back({q.value(1).toInt(), TDatumTraits::FromSql(&d)});
    }
    std::printf("%s: %zu Inventuren\n", qPrintable(url.ToString()), invs.size());
    for (bool rueck : {false, true}) {
        TZEP_List<TInt32Trio> ids;
        QString sql;
        QVariantList parameter;
        const double selektion = Bestzeit(3, [&] {
            TZEP_KalmetSelektionSQL s;
            s.Execute(invs, rueck, wj, wj, &ids);
            sql = ORVProgramm().Zusatzinfo(&s);
            parameter = s.ParameterWerte();
        });
        int zeilen = 0;
        const double direkt = Bestzeit(3, [&] {
            QSqlQuery d(TZEP_Connection::Database());
            d.setForwardOnly(true);
            d.prepare(sql);
            for (int i = 0; i < parameter.size(); ++i)
                d.bindValue(i, parameter[i]);
            if (!d.exec())
                std::printf("%s\n", qPrintable(d.lastError().text()));
            zeilen = 0;
            while (d.next()) {
                TInt32Trio t{d.value(0).toInt(), d.value(1).toInt(), d.value(2).toInt()};
                zeilen += !t.IsNull();
            }
        });
        std::printf("%s Rückrechnung: Selektion %.3f s, Statement direkt %.3f s, Verhältnis %.2f (%d Produkt-IDs)\n",
                    rueck ? "mit " : "ohne", selektion, direkt, selektion / direkt, ids.Count());
    }
    return 0;
}
