#include "tests/support/buchungskette.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <numeric>
#include <set>

namespace {

QVariant SqlDatum(TDateTime d)
{
    return TDatumTraits::ToSql(d).first();
}

QString Bedingung(const TZeileAnzeige& z, const QString& tabelle)
{
    return QString("%1.zaehldatum = '%2' AND %1.filiale = %3")
        .arg(tabelle, SqlDatum(z.ZaehlDatum).toString())
        .arg(z.Filiale);
}

QString Id(const QSqlQuery& q, int s)
{
    return QString("%1.%2.%3").arg(q.value(s).toInt()).arg(q.value(s + 1).toInt()).arg(q.value(s + 2).toInt());
}

}

namespace Kette {

QVariant Wert(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql)) << qPrintable(sql) << qPrintable(q.lastError().text());
    return q.next() ? q.value(0) : QVariant();
}

void Sql(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
}

std::vector<TKettenInventur> OffeneInventuren()
{
    std::vector<TKettenInventur> r;
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec("SELECT ia.zaehldatum, ia.wgn, ia.filiale, ia.kzzaehlung, ia.sollek, ia.istek, f.lv_benutzen FROM ia "
                       "JOIN filiale f ON f.nr = ia.filiale WHERE ia.wijahr = '2026-02-01 00:00:00.000' AND ia.kzzaehlung IN ('2', '3') "
                       "ORDER BY ia.wgn = '', ia.zaehldatum, ia.wgn, ia.filiale"));
    while (q.next()) {
        const QVariant d = q.value(0);
        r.push_back({{TDatumTraits::FromSql(&d), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()},
                     q.value(3).toString(),
                     q.value(4).toDouble(),
                     q.value(5).toDouble(),
                     q.value(6).toInt() != 0});
    }
    return r;
}

QStringList Artikel(const TZeileAnzeige& z)
{
    QStringList r;
    QSqlQuery q(TZEP_Connection::Database());
    const QString wgn = z.WGN == "*" ? QString() : QString(" AND a.wgn LIKE '%1%'").arg(z.WGN);
    const QString artikel = "JOIN artikel a ON a.produkt_id_1 = %1.produkt_id_1 AND a.produkt_id_2 = %1.produkt_id_2 AND "
                            "a.produkt_id_3 = %1.produkt_id_3 WHERE ";
    EXPECT_TRUE(q.exec("SELECT iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3 FROM iv " + artikel.arg("iv") + Bedingung(z, "iv") + wgn
                       + " UNION SELECT izns.produkt_id_1, izns.produkt_id_2, izns.produkt_id_3 FROM izns " + artikel.arg("izns")
                       + Bedingung(z, "izns") + " AND izns.satzart = 'G' AND izns.gezaehlt <> 0" + wgn));
    while (q.next())
        r << Id(q, 0);
    return r;
}

std::map<QString, qint64> Ungezaehlt(const TZeileAnzeige& z)
{
    QSqlQuery q(TZEP_Connection::Database());
    std::set<QString> gezaehlt, gezaehlteTypen;
    EXPECT_TRUE(q.exec("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE " + Bedingung(z, "izns")
                       + " AND satzart = 'G' AND regal = 0 AND gezaehlt <> 0"));
    while (q.next())
        gezaehlt.insert(Id(q, 0));
    EXPECT_TRUE(q.exec("SELECT zeichen FROM besttyp WHERE istgezaehlt = 1"));
    while (q.next())
        gezaehlteTypen.insert(q.value(0).toString());
    std::map<QString, std::array<qint64, 100>> soll;
    EXPECT_TRUE(q.exec(QString("SELECT iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3, iv.besttyp, a.wgn, %1 FROM iv JOIN artikel a ON "
                               "a.produkt_id_1 = iv.produkt_id_1 AND a.produkt_id_2 = iv.produkt_id_2 AND a.produkt_id_3 = iv.produkt_id_3 "
                               "WHERE iv.wijahr = '2026-02-01 00:00:00.000' AND iv.kzgebucht <> 'A' AND ")
                           .arg(MengenSpalten("iv.menge", 0).join(", "))
                       + Bedingung(z, "iv")));
    while (q.next()) {
        const QString id = Id(q, 0);
        if (gezaehlt.count(id) || !gezaehlteTypen.count(q.value(3).toString()) || (z.WGN != "*" && !q.value(4).toString().startsWith(z.WGN)))
            continue;
        std::array<qint64, 100>& m = soll.try_emplace(id).first->second;
        for (int i = 0; i < 100; ++i)
            m[i] += q.value(5 + i).toLongLong();
    }
    std::map<QString, qint64> r;
    for (const auto& [id, m] : soll)
        if (std::any_of(m.begin(), m.end(), [](qint64 x) { return x != 0; }))
            r[id] = std::accumulate(m.begin(), m.end(), qint64{0});
    return r;
}

std::map<QString, std::array<qint64, 100>> BestandAmZaehltag(const TZeileAnzeige& z)
{
    std::map<QString, std::array<qint64, 100>> r;
    const QString tagDanach = SqlDatum(DateOf(z.ZaehlDatum) + 1).toString();
    for (const QString& a : Artikel(z)) {
        const QStringList t = a.split('.');
        const QString artikel = QString("produkt_id_1 = %1 AND produkt_id_2 = %2 AND produkt_id_3 = %3").arg(t[0], t[1], t[2]);
        std::array<qint64, 100>& bestand = r[a];
        bestand.fill(0);
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec(QString("SELECT %1 FROM bestand WHERE filiale = %2 AND %3 AND besttyp IN "
                                   "(SELECT besttyp FROM besttyp WHERE istgezaehlt <> 0)")
                               .arg(MengenSpalten("menge", 0).join(", "))
                               .arg(z.Filiale)
                               .arg(artikel)));
        while (q.next())
            for (int i = 0; i < 100; ++i)
                bestand[i] += q.value(i).toInt();
        EXPECT_TRUE(q.exec(QString("SELECT %1 FROM bne WHERE filiale = %2 AND %3 AND datum >= '%4' AND besttyp IN "
                                   "(SELECT zeichen FROM besttyp WHERE istgezaehlt <> 0)")
                               .arg(MengenSpalten("menge", 0).join(", "))
                               .arg(z.Filiale)
                               .arg(artikel, tagDanach)));
        while (q.next())
            for (int i = 0; i < 100; ++i)
                bestand[i] -= q.value(i).toInt();
    }
    return r;
}

QStringList AbweichendVomZaehlbestand(const TZeileAnzeige& z)
{
    QStringList r;
    for (const auto& [a, bestand] : BestandAmZaehltag(z)) {
        const QStringList t = a.split('.');
        std::array<qint64, 100> zaehlung{};
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec(QString("SELECT gezaehlt, %1 FROM izns WHERE satzart = 'G' AND produkt_id_1 = %2 AND produkt_id_2 = %3 AND "
                                   "produkt_id_3 = %4 AND ")
                               .arg(MengenSpalten("gr_mesu", 1).join(", "), t[0], t[1], t[2])
                           + Bedingung(z, "izns")));
        while (q.next())
            for (int i = 0; i < 100 && q.value(0).toInt() != 0; ++i)
                zaehlung[i] += q.value(1 + i).toInt();
        if (bestand != zaehlung)
            r << a;
    }
    return r;
}

std::map<QString, qint64> Bestand()
{
    std::map<QString, qint64> r;
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, filiale, besttyp, %1 FROM bestand")
                           .arg(MengenSpalten("menge", 0).join(", "))));
    while (q.next())
        for (int i = 0; i < 100; ++i)
            if (const int m = q.value(5 + i).toInt())
                r[QString("%1/%2/%3/%4").arg(Id(q, 0)).arg(q.value(3).toInt()).arg(q.value(4).toInt()).arg(i)] += m;
    return r;
}

std::map<QString, qint64> BestandPlusBewegungen(const std::map<QString, qint64>& vorher, qint64 bisId)
{
    std::map<QString, qint64> r = vorher;
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(QString("SELECT b.produkt_id_1, b.produkt_id_2, b.produkt_id_3, b.filiale, t.besttyp, %1 FROM bne b "
                               "JOIN besttyp t ON t.zeichen = b.besttyp WHERE b.id > %2")
                           .arg(MengenSpalten("b.menge", 0).join(", "))
                           .arg(bisId)));
    while (q.next())
        for (int i = 0; i < 100; ++i)
            if (const int m = q.value(5 + i).toInt())
                r[QString("%1/%2/%3/%4").arg(Id(q, 0)).arg(q.value(3).toInt()).arg(q.value(4).toInt()).arg(i)] += m;
    std::erase_if(r, [](const auto& e) { return e.second == 0; });
    return r;
}

QStringList Abbild(const QStringList& tabellen)
{
    QStringList r;
    for (const QString& t : tabellen) {
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec("SELECT * FROM " + t)) << qPrintable(q.lastError().text());
        QStringList zeilen;
        const QSqlRecord spalten = q.record();
        while (q.next()) {
            QStringList werte;
            for (int i = 0; i < spalten.count(); ++i)
                if (spalten.fieldName(i) != "id")
                    werte << q.value(i).toString();
            zeilen << t + ": " + werte.join('|');
        }
        zeilen.sort();
        r += zeilen;
    }
    return r;
}

QString Status(const TZeileAnzeige& z)
{
    return Wert(QString("SELECT kzzaehlung FROM ia WHERE zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
                    .arg(SqlDatum(z.ZaehlDatum).toString(), z.WGN == "*" ? QString() : z.WGN)
                    .arg(z.Filiale))
        .toString();
}

}
