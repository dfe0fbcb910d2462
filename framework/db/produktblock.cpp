#include "framework/db/produktblock.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlError>
#include <QStringList>

TProduktBlockAbfrage::TProduktBlockAbfrage(const QString& spalten, const QString& tabelle, const QString& ordnung,
                                           const QString& bedingung, TZugriff zugriff)
    : FSpalten(spalten), FTabelle(tabelle), FOrdnung(ordnung), FBedingung(bedingung), FZugriff(zugriff)
{
}

QSqlQuery& TProduktBlockAbfrage::Ausfuehren(const std::vector<TInt32Trio>& ids, const QVariantList& werte)
{
    const QString ort = QStringLiteral("TProduktBlockAbfrage(%1)").arg(FTabelle);
    if (ids.size() > CBlock)
        FehlerRaise(ort, {QStringLiteral("%1 Artikel in einem Block").arg(ids.size())});
    if (TZEP_Connection::NeuGeoeffnet(FGeneration)) {
        FEinzeln.reset();
        FBlock.reset();
    }
    const size_t n = ids.size() == 1 ? 1 : CBlock;
    std::unique_ptr<QSqlQuery>& q = n == 1 ? FEinzeln : FBlock;
    if (!q) {
        // the ids as a table of (index, id) joined to the table's key; typed, so that
        // PostgreSQL compares integers
        QStringList zeilen;
        for (size_t i = 0; i < n; ++i)
            zeilen << QStringLiteral("(%1, CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS INTEGER))").arg(i);
        const QString bedingung = QStringLiteral("t.produkt_id_1 = ids.p1 AND t.produkt_id_2 = ids.p2 AND t.produkt_id_3 = ids.p3")
            + (FBedingung.isEmpty() ? QString() : QStringLiteral(" AND ") + FBedingung);
        // a lateral subquery that is not flattened (OFFSET 0) makes PostgreSQL look each id up
        const QString quelle = FZugriff == TZugriff::Nachschlagen && TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL
            ? QStringLiteral("ids CROSS JOIN LATERAL (SELECT * FROM %1 t WHERE %2 OFFSET 0) t").arg(FTabelle, bedingung)
            : QStringLiteral("ids JOIN %1 t ON %2").arg(FTabelle, bedingung);
        const QString sql = QStringLiteral("WITH ids(i, p1, p2, p3) AS (VALUES %1) SELECT ids.i, %2 FROM %3%4")
                                .arg(zeilen.join(QStringLiteral(", ")), FSpalten, quelle,
                                     FOrdnung.isEmpty() ? QString() : QStringLiteral(" ORDER BY ids.i, ") + FOrdnung);
        q = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
        q->setForwardOnly(true);
        if (!q->prepare(sql))
            FehlerRaise(ort, {q->lastError().text()});
    }
    for (size_t i = 0; i < n; ++i) {
        const bool da = i < ids.size();
        q->bindValue(static_cast<int>(3 * i), da ? QVariant(ids[i].Int1) : QVariant(QMetaType(QMetaType::Int)));
        q->bindValue(static_cast<int>(3 * i + 1), da ? QVariant(ids[i].Int2) : QVariant(QMetaType(QMetaType::Int)));
        q->bindValue(static_cast<int>(3 * i + 2), da ? QVariant(ids[i].Int3) : QVariant(QMetaType(QMetaType::Int)));
    }
    for (qsizetype i = 0; i < werte.size(); ++i)
        q->bindValue(static_cast<int>(3 * n + i), werte[i]);
    if (!q->exec())
        FehlerRaise(ort, {q->lastError().text()});
    return *q;
}

TMengen100 MengenLesen(const QSqlQuery& q, int spalte, const QString& name)
{
    return MengenLesen(q.value(spalte), name);
}
