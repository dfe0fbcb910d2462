#include "framework/article/mwtable.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

TMWTable::TMWTable()
{
    TZEP_Connection::Lesen(QStringLiteral("TMWTable.Create"),
                           QStringLiteral("SELECT mwstkz, gueltig_ab, satz FROM mwst ORDER BY mwstkz, gueltig_ab"), {},
                           [this](const QSqlQuery& q) {
                               const QVariant v = q.value(1);
                               FSaetze[q.value(0).toInt()].emplace_back(TDatumTraits::FromSql(&v), q.value(2).toDouble());
                           });
}

double TMWTable::MWST(int mwstKz, TDateTime datum) const
{
    const auto it = FSaetze.find(mwstKz);
    if (it == FSaetze.end())
        return 0;
    double satz = 0;
    for (const auto& [ab, s] : it->second)
        if (DateOf(ab) <= DateOf(datum))
            satz = s;
    return satz;
}

std::shared_ptr<const TMWTable> GlobMWTable_GetInstance()
{
    static std::weak_ptr<const TMWTable> geteilt;
    std::shared_ptr<const TMWTable> t = geteilt.lock();
    if (!t) {
        t = std::make_shared<const TMWTable>();
        geteilt = t;
    }
    return t;
}
