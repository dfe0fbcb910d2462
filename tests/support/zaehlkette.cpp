#include "tests/support/zaehlkette.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace Zaehl {

namespace {

QSqlQuery Abfrage(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
    return q;
}

QString Tag(const TZeileAnzeige& z)
{
    return TDatumTraits::ToSql(z.ZaehlDatum).first().toString();
}

QString Id(const QSqlQuery& q, int s)
{
    return QString("%1.%2.%3").arg(q.value(s).toInt()).arg(q.value(s + 1).toInt()).arg(q.value(s + 2).toInt());
}

}

std::vector<TBarcode> Barcodes(const TZeileAnzeige& inventur)
{
    const QString wgn = inventur.WGN == "*" ? QString() : inventur.WGN;
    QSqlQuery q = Abfrage(QString("SELECT e.ean, e.produkt_id_1, e.produkt_id_2, e.produkt_id_3, e.groesse FROM ean e JOIN artikel a "
                                  "ON a.produkt_id_1 = e.produkt_id_1 AND a.produkt_id_2 = e.produkt_id_2 AND a.produkt_id_3 = "
                                  "e.produkt_id_3 WHERE a.wgn LIKE '%1%' ORDER BY e.produkt_id_2, e.groesse")
                              .arg(wgn));
    std::vector<TBarcode> r;
    while (q.next())
        r.push_back({q.value(0).toString(), Id(q, 1), q.value(4).toInt()});
    return r;
}

QByteArray Datei(const TZeileAnzeige& inventur, int regal, const std::vector<std::pair<QString, int>>& scans, const QString& geraet)
{
    QString t = QString("#filiale=%1\n#zaehldatum=%2\n#regal=%3\n")
                    .arg(inventur.Filiale)
                    .arg(TDateTime_ToQDate(inventur.ZaehlDatum).toString("yyyy-MM-dd"))
                    .arg(regal);
    if (!geraet.isEmpty())
        t += QString("#geraet=%1\n").arg(geraet);
    for (const auto& [ean, menge] : scans)
        t += menge == 1 ? ean + "\n" : QString("%1;%2\n").arg(ean).arg(menge);
    return t.toUtf8();
}

std::map<QString, int> Zaehlung(const TZeileAnzeige& inventur, const QString& satzart, int regal)
{
    QSqlQuery q = Abfrage(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, gezaehlt, %1 FROM izns WHERE zaehldatum = '%2' "
                                  "AND filiale = %3 AND satzart = '%4'%5")
                              .arg(MengenSpalten("gr_mesu", 1).join(", "), Tag(inventur))
                              .arg(inventur.Filiale)
                              .arg(satzart, satzart == "R" ? QString(" AND regal = %1").arg(regal) : QString()));
    std::map<QString, int> r;
    while (q.next())
        for (int n = 1; n <= 100; ++n)
            if (const int m = q.value(3).toInt() != 0 ? q.value(3 + n).toInt() : 0; m != 0)
                r[QString("%1/%2").arg(Id(q, 0)).arg(n)] = m;
    return r;
}

QStringList NichtSummeDerRegale(const TZeileAnzeige& inventur)
{
    const QString summen = QStringList(MengenSpalten("gr_mesu", 1))
                               .replaceInStrings(QRegularExpression("^(.*)$"), "SUM(CASE WHEN satzart = 'G' THEN \\1 ELSE -\\1 END)")
                               .join(", ");
    QSqlQuery q = Abfrage(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, %1 FROM izns WHERE zaehldatum = '%2' AND filiale = %3 "
                                  "AND gezaehlt <> 0 AND produkt_id_2 IN (SELECT produkt_id_2 FROM izns WHERE zaehldatum = '%2' AND "
                                  "filiale = %3 AND satzart = 'R') GROUP BY produkt_id_1, produkt_id_2, produkt_id_3")
                              .arg(summen, Tag(inventur))
                              .arg(inventur.Filiale));
    QStringList r;
    while (q.next())
        for (int n = 0; n < 100; ++n)
            if (q.value(3 + n).toLongLong() != 0) {
                r << Id(q, 0);
                break;
            }
    return r;
}

void DateiSchreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(pfad);
    ASSERT_EQ(f.write(inhalt), inhalt.size());
    ASSERT_TRUE(f.flush());
    // written a minute ago: an import takes only files that have settled
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

QByteArray DateiLesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}
