#include "framework/db/artikelstamm.h"

#include <QSqlQuery>

QString ArtikelJoin(const QString& t)
{
    return QStringLiteral(" JOIN artikel a ON a.produkt_id_1 = %1.produkt_id_1 AND a.produkt_id_2 = %1.produkt_id_2 "
                          "AND a.produkt_id_3 = %1.produkt_id_3")
        .arg(t);
}

QString ArtikelStammSpalten(const QString& t)
{
    return QStringLiteral("%1.produkt_id_1, %1.produkt_id_2, %1.produkt_id_3, a.grvon, a.grbis, a.ggkey").arg(t);
}

TArtikelStamm ArtikelStammLesen(const QSqlQuery& q, int spalte)
{
    return {{q.value(spalte).toInt(), q.value(spalte + 1).toInt(), q.value(spalte + 2).toInt()},
            q.value(spalte + 3).toInt(),
            q.value(spalte + 4).toInt(),
            q.value(spalte + 5).toInt()};
}

QString ArtikelWGNBedingung()
{
    return QStringLiteral(" AND substr(a.wgn, 1, ?) = ? AND substr(a.wgn, 1, ?) = ?");
}

QVariantList ArtikelWGNWerte(const TArtikelWGNWahl& wahl)
{
    return {static_cast<int>(wahl.Inventur.size()), wahl.Inventur, static_cast<int>(wahl.Auswahl.size()),
            wahl.Auswahl.isNull() ? QStringLiteral("") : wahl.Auswahl};
}
