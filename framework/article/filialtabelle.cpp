#include "framework/article/filialtabelle.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlError>
#include <QSqlQuery>

TFilialTabelle::TFilialTabelle()
{
    QSqlQuery q(TZEP_Connection::Database());
    if (!q.exec(QStringLiteral("SELECT nr, name, lv_benutzen FROM filiale ORDER BY nr")))
        FehlerRaise(QStringLiteral("TFilialTabelle.Create"), {q.lastError().text()});
    while (q.next())
        FFilialen[q.value(0).toInt()] = {q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt() != 0};
}

const TFiliale& TFilialTabelle::GetFilialeByNr(int nr) const
{
    const auto it = FFilialen.find(nr);
    if (it == FFilialen.end())
        FehlerRaise(QStringLiteral("TFilialen.GetFilialeByNr"), {QStringLiteral("Filiale %1 existiert nicht").arg(nr)});
    return it->second;
}
