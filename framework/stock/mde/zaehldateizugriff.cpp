#include "framework/stock/mde/zaehldateizugriff.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

namespace {

const QString COrt = QStringLiteral("ZAEHLDATEI");

}

std::optional<TZaehldateiEintrag> Zaehldatei_Lesen(const QStringList& schluessel)
{
    std::optional<TZaehldateiEintrag> r;
    TZEP_Connection::Lesen(COrt,
                           QStringLiteral("SELECT name, sha256, geraet, zeilen, stueck, benutzer, zeit FROM zaehldatei WHERE sha256 IN (%1) "
                                          "ORDER BY id")
                               .arg(QStringList(schluessel.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                           QVariantList(schluessel.begin(), schluessel.end()), [&r](const QSqlQuery& q) {
                               if (r)
                                   return;
                               const QVariant zeit = q.value(6);
                               r = TZaehldateiEintrag{q.value(0).toString(),     q.value(1).toString(), q.value(2).toString(),
                                                      q.value(3).toInt(),        q.value(4).toLongLong(), q.value(5).toString(),
                                                      TDatumTraits::FromSql(&zeit)};
                           });
    return r;
}

void Zaehldatei_Eintragen(const TZaehldateiEintrag& e)
{
    // an empty text, never NULL: the columns are NOT NULL
    const auto text = [](const QString& s, int max) { return s.isNull() ? QStringLiteral("") : s.left(max); };
    TZEP_Connection::Ausfuehren(COrt,
                                QStringLiteral("INSERT INTO zaehldatei (name, sha256, geraet, zeilen, stueck, benutzer, zeit) "
                                               "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                {text(e.Name, 255), e.Sha256, text(e.Geraet, 60), e.Zeilen, QVariant::fromValue<qlonglong>(e.Stueck),
                                 text(e.Benutzer, 40), TDatumTraits::ToSql(e.Zeit).first()});
}
