#include "framework/article/eanzugriff.h"

#include "framework/db/connection.h"

#include <QSqlQuery>

int EAN_Pruefziffer(const QString& ohnePruefziffer)
{
    // weights 3 and 1 alternate from the digit next to the check digit leftwards
    int summe = 0;
    bool drei = true;
    for (qsizetype i = ohnePruefziffer.size() - 1; i >= 0; --i, drei = !drei)
        summe += ohnePruefziffer.at(i).digitValue() * (drei ? 3 : 1);
    return (10 - summe % 10) % 10;
}

bool EAN_Gueltig(const QString& ean)
{
    const qsizetype n = ean.size();
    if (n != 8 && n != 12 && n != 13 && n != 14)
        return false;
    for (QChar c : ean)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return EAN_Pruefziffer(ean.left(n - 1)) == ean.back().digitValue();
}

QString EAN_Gtin14(const QString& ean)
{
    return ean.rightJustified(14, QLatin1Char('0'));
}

namespace {

// The forms the table may hold a GTIN-14 in: itself and its shorter forms without leading zeros.
QStringList Formen(const QString& gtin)
{
    QStringList r{gtin};
    for (int laenge : {13, 12, 8})
        if (gtin.left(14 - laenge).count(QLatin1Char('0')) == 14 - laenge)
            r << gtin.right(laenge);
    return r;
}

}

TEANTreffer EAN_Lesen(const QStringList& eans)
{
    constexpr qsizetype CBlock = 500;
    QStringList formen;
    for (const QString& e : eans)
        formen << Formen(EAN_Gtin14(e));
    formen.removeDuplicates();
    TEANTreffer r;
    for (qsizetype von = 0; von < formen.size(); von += CBlock) {
        const QStringList block = formen.mid(von, CBlock);
        TZEP_Connection::Lesen(
            QStringLiteral("EAN"),
            QStringLiteral("SELECT e.ean, e.produkt_id_1, e.produkt_id_2, e.produkt_id_3, e.groesse, a.artnr, a.wgn, a.grvon, a.grbis "
                           "FROM ean e JOIN artikel a ON a.produkt_id_1 = e.produkt_id_1 AND a.produkt_id_2 = e.produkt_id_2 AND "
                           "a.produkt_id_3 = e.produkt_id_3 WHERE e.ean IN (%1)")
                .arg(QStringList(block.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
            QVariantList(block.begin(), block.end()), [&r](const QSqlQuery& q) {
                const TEANArtikel a{{q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()},
                                    q.value(4).toInt(),
                                    q.value(5).toString(),
                                    q.value(6).toString(),
                                    q.value(7).toInt(),
                                    q.value(8).toInt()};
                const QString gtin = EAN_Gtin14(q.value(0).toString());
                const auto [it, neu] = r.Artikel.try_emplace(gtin, a);
                if (!neu && (it->second.Produkt_ID != a.Produkt_ID || it->second.Groesse != a.Groesse))
                    r.Mehrdeutig << gtin;
            });
    }
    for (const QString& gtin : r.Mehrdeutig)
        r.Artikel.erase(gtin);
    return r;
}
