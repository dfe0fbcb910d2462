#include "framework/article/wgniterator.h"

#include "framework/db/connection.h"

namespace {

const QString COrt = QStringLiteral("TZEP_WGN_Iterator");

// The first page is small, so that the caller starts early; the following ones are large, so
// that a big group takes few statements.
size_t Seitengroesse(bool mitNach)
{
    return mitNach ? 8000 : 1000;
}

// The page's statement: the first page, or (mitNach) the page after an id.
QString Sql(bool mitNach)
{
    return QStringLiteral("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM artikel "
                          "WHERE substr(wgn, 1, ?) = ?%1 ORDER BY produkt_id_1, produkt_id_2, produkt_id_3 LIMIT %2")
        .arg(mitNach ? QStringLiteral(" AND (produkt_id_1, produkt_id_2, produkt_id_3) > (?, ?, ?)") : QString())
        .arg(Seitengroesse(mitNach));
}

}

bool TZEP_WGN_Iterator::Move_First(const QString& wgn, const QString&)
{
    FWGN = wgn.isNull() ? QStringLiteral("") : wgn;   // a null text would bind as NULL
    return SeiteLesen(nullptr);
}

bool TZEP_WGN_Iterator::Move_Next()
{
    if (FPos + 1 < FSeite.size()) {
        ++FPos;
        return true;
    }
    if (FSeite.size() < FSeitengroesse)
        return false;
    const TInt32Trio letzte = FSeite.back();
    return SeiteLesen(&letzte);
}

// The next page after the id nach (the first page without it).
bool TZEP_WGN_Iterator::SeiteLesen(const TInt32Trio* nach)
{
    QSqlQuery& q = (nach ? FWeitere : FErste).Holen(COrt, Sql(nach != nullptr));
    q.bindValue(0, FWGN.size());
    q.bindValue(1, FWGN);
    if (nach) {
        q.bindValue(2, nach->Int1);
        q.bindValue(3, nach->Int2);
        q.bindValue(4, nach->Int3);
    }
    TZEP_Connection::Starten(q, COrt);
    FSeite.clear();
    FPos = 0;
    FSeitengroesse = Seitengroesse(nach != nullptr);
    while (q.next())
        FSeite.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    TZEP_Connection::Beenden(q, COrt);
    return !FSeite.empty();
}
