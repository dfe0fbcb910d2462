#include "framework/article/filialtabelle.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlQuery>

TFilialTabelle::TFilialTabelle()
{
    TZEP_Connection::Lesen(QStringLiteral("TFilialTabelle.Create"), QStringLiteral("SELECT nr, name, lv_benutzen FROM filiale ORDER BY nr"),
                           {}, [this](const QSqlQuery& q) {
                               FFilialen[q.value(0).toInt()] = {q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt() != 0};
                           });
}

const TFiliale& TFilialTabelle::GetFilialeByNr(int nr) const
{
    const auto it = FFilialen.find(nr);
    if (it == FFilialen.end())
        FehlerRaise(QStringLiteral("TFilialen.GetFilialeByNr"), {QStringLiteral("Filiale %1 existiert nicht").arg(nr)});
    return it->second;
}

std::shared_ptr<const TFilialTabelle> GlobFilialTabelle_GetInstance()
{
    static std::shared_ptr<const TFilialTabelle> tabelle;
    static int generation = -1;
    if (!tabelle || generation != TZEP_Connection::Generation()) {
        tabelle = std::make_shared<const TFilialTabelle>();
        generation = TZEP_Connection::Generation();
    }
    return tabelle;
}

QStringList FilialEintraege(const TFilialTabelle& tabelle)
{
    QStringList r;
    for (const auto& [nr, f] : tabelle.Filialen())
        r << QStringLiteral("%1 – %2").arg(nr).arg(f.Name);
    return r;
}

int FilialNrAusEintrag(const QString& eintrag)
{
    return eintrag.section(QChar(u'–'), 0, 0).trimmed().toInt();
}
