#include "framework/db/anweisung.h"

#include "framework/db/connection.h"

#include <QSqlError>

QSqlQuery* TGehalteneAnweisung::Gehalten()
{
    // first: a connection opened anew has ended the old one, whose statements then go without
    // a word to a server that is gone
    TZEP_Connection::Database();
    if (FQuery && FVerbindung == TZEP_Connection::Kennung())
        return FQuery.get();
    FQuery.reset();
    return nullptr;
}

QSqlQuery& TGehalteneAnweisung::Vorbereiten(const QString& ort, const QString& sql)
{
    FQuery.reset();
    TZEP_Connection::NurEineAnweisung(ort, sql);
    auto q = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        TZEP_Connection::Fehlgeschlagen(ort, *q, {sql});
    FVerbindung = TZEP_Connection::Kennung();
    FQuery = std::move(q);
    return *FQuery;
}

QSqlQuery& TGehalteneAnweisung::Holen(const QString& ort, const QString& sql)
{
    if (QSqlQuery* q = Gehalten())
        return *q;
    return Vorbereiten(ort, sql);
}
