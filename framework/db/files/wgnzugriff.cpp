#include "framework/db/files/wgnzugriff.h"

#include "framework/db/connection.h"

#include <QSqlQuery>

std::vector<TWGNEintrag> WGN_Alle(const QString& ort)
{
    std::vector<TWGNEintrag> r;
    TZEP_Connection::Lesen(ort, QStringLiteral("SELECT wgn, bezeichnung FROM wgn ORDER BY wgn"), {},
                           [&r](const QSqlQuery& q) { r.push_back({q.value(0).toString(), q.value(1).toString()}); });
    return r;
}
