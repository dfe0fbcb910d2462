#include "framework/stock/mde/zaehldateizugriff.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

namespace {

const QString COrt = QStringLiteral("ZAEHLDATEI");

}

std::optional<TZaehldateiEintrag> Zaehldatei_Lesen(const QString& sha256)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt, QStringLiteral("SELECT name, geraet, zeilen, stueck, benutzer, zeit FROM zaehldatei WHERE sha256 = ?"), {sha256});
    if (!q.next())
        return std::nullopt;
    const QVariant zeit = q.value(5);
    return TZaehldateiEintrag{q.value(0).toString(), sha256, q.value(1).toString(), q.value(2).toInt(),
                              q.value(3).toInt(), q.value(4).toString(), TDatumTraits::FromSql(&zeit)};
}

void Zaehldatei_Eintragen(const TZaehldateiEintrag& e)
{
    TZEP_Connection::Ausfuehren(COrt,
                                QStringLiteral("INSERT INTO zaehldatei (name, sha256, geraet, zeilen, stueck, benutzer, zeit) "
                                               "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                {e.Name.left(255), e.Sha256, e.Geraet, e.Zeilen, e.Stueck, e.Benutzer.left(40),
                                 TDatumTraits::ToSql(e.Zeit).first()});
}
