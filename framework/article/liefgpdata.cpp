#include "framework/article/liefgpdata.h"

#include "framework/db/connection.h"

#include <QSqlQuery>

TLiefGPData::TLiefGPData()
{
    TZEP_Connection::Lesen(QStringLiteral("TLiefGPData.Create"), QStringLiteral("SELECT gep_1, gep_2, liefnr, name FROM lieferant"), {},
                           [this](const QSqlQuery& q) {
                               FDaten[{q.value(0).toInt(), q.value(1).toInt()}] = {q.value(2).toInt(), q.value(3).toString()};
                           });
}

std::optional<TLiefData> TLiefGPData::GetLiefDataByGep(const TIntPair& gep) const
{
    const auto it = FDaten.find({gep.Int1, gep.Int2});
    if (it == FDaten.end())
        return std::nullopt;
    return it->second;
}
