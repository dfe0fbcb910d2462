#include "framework/db/files/artikelbildzugriff.h"

#include "framework/db/connection.h"

#include <QSqlQuery>
#include <QStringList>

TArtikelbilder Artikelbild_Lesen(const std::vector<TInt32Trio>& ids, const QString& ort)
{
    TArtikelbilder bilder(&TInt32Trio::Numerisch_Kleiner);
    if (ids.empty())
        return bilder;
    QVariantList werte;
    QStringList zeilen;
    for (const TInt32Trio& id : ids) {
        werte << id.Int1 << id.Int2 << id.Int3;
        zeilen << QStringLiteral("(CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS INTEGER))");
    }
    // the ids as a table joined to the picture table, so that each is found by its key
    TZEP_Connection::Lesen(ort,
                           QStringLiteral("SELECT b.produkt_id_1, b.produkt_id_2, b.produkt_id_3, b.bild FROM (VALUES %1) AS w "
                                          "JOIN artikelbild AS b ON b.produkt_id_1 = w.column1 AND b.produkt_id_2 = w.column2 "
                                          "AND b.produkt_id_3 = w.column3")
                               .arg(zeilen.join(QStringLiteral(", "))),
                           werte, [&bilder](const QSqlQuery& q) {
                               bilder[{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}] = q.value(3).toByteArray();
                           });
    return bilder;
}
