#include "framework/db/query.h"

#include "framework/core/fehler.h"

#include <QFileInfo>
#include <QSqlRecord>

TZEP_DB_Query::TZEP_DB_Query() = default;
TZEP_DB_Query::~TZEP_DB_Query() = default;

void TZEP_DB_Query::ParameterFeldAdd_Integer(int32_t wert)
{
    FParameter << TFeldTraits<int32_t>::ToSql(wert);
}

void TZEP_DB_Query::ParameterFeldAdd_DateTime(TDateTime wert)
{
    FParameter << TDatumTraits::ToSql(wert);
}

void TZEP_DB_Query::ParameterFeldAdd_String(const QString& wert, bool, bool, TConnectorTyp, int laenge)
{
    if (wert.size() > laenge)
        FehlerRaise(QStringLiteral("TZEP_DB_Query.ParameterFeldAdd"),
                    {QStringLiteral("Text länger als %1 Zeichen: %2").arg(laenge).arg(wert)});
    FParameter << TFeldTraits<QString>::ToSql(wert);
}

bool TZEP_DB_Query::Get_first()
{
    if (!FDatenfelderErstellt) {
        CreateDatenfelder();
        FDatenfelderErstellt = true;
    }
    const QString sql = SQL_Query_Get(TZEP_Connection::Typ());
    const QString ort = QStringLiteral("TZEP_DB_Query.Get_first");
    FQuery = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
    FQuery->setForwardOnly(true);
    if (!FQuery->prepare(sql))
        TZEP_Connection::Fehlgeschlagen(ort, *FQuery, {sql});
    for (int i = 0; i < FParameter.size(); ++i)
        FQuery->bindValue(i, FParameter.at(i));
    TZEP_Connection::Starten(*FQuery, ort, {sql});
    FSpalten = FQuery->record().count();   // building the record costs; once per statement
    return Lesen();
}

bool TZEP_DB_Query::Get_next()
{
    return FQuery ? Lesen() : (FFound = false);
}

bool TZEP_DB_Query::Lesen()
{
    FFound = FQuery->next();
    if (!FFound) {
        const std::unique_ptr<QSqlQuery> q = std::move(FQuery);
        TZEP_Connection::Beenden(*q, QStringLiteral("TZEP_DB_Query.Get_next"));
        return false;
    }
    QVariantList werte;
    const int n = FSpalten;
    werte.reserve(n);
    for (int i = 0; i < n; ++i)
        werte.append(FQuery->value(i));
    const QVariant* p = werte.constData();
    for (TDatenfeld* f : FDatenfelder) {
        if (p + f->Columns().size() > werte.constData() + n)
            FehlerRaise(QStringLiteral("TZEP_DB_Query.Get_next"), {QStringLiteral("Ergebnis hat zu wenige Spalten")});
        f->SqlLesen(p);
        p += f->Columns().size();
    }
    return true;
}

namespace TZEP_DB_Query_Helper {

QString Command_Add_With(const QString& a, const QString& verbinder, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + QLatin1Char(' ') + verbinder + QLatin1Char(' ') + b;
}

QString Command_Add_Klammern(const QString& a)
{
    return QLatin1Char('(') + a + QLatin1Char(')');
}

QString Get_InBedingung(const QString& tableName, const TDatenfeld& feld, const std::vector<int16_t>& werte)
{
    if (feld.Columns().size() != 1)
        FehlerRaise(QStringLiteral("TZEP_DB_Query_Helper.Get_InBedingung"),
                    {QStringLiteral("Feld %1 hat nicht genau eine Spalte").arg(feld.Name())});
    if (werte.empty())
        return QStringLiteral("(1 = 0)");
    QStringList liste;
    for (int16_t w : werte)
        liste << QString::number(w);
    return QStringLiteral("%1.%2 IN (%3)").arg(tableName, feld.Columns().first(), liste.join(QStringLiteral(", ")));
}

}

QString SQL_TableName_4_FilePath(const QString& path)
{
    return QFileInfo(path).completeBaseName().toLower();
}
