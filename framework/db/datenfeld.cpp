#include "framework/db/datenfeld.h"

#include "framework/core/fehler.h"

namespace {
const QString CSqlDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
}

TDatenfeld::TDatenfeld(QString name, QStringList columns) : FName(std::move(name)), FColumns(std::move(columns)) {}

void TDatenfeld::FilterClear()
{
    FFilterMin.reset();
    FFilterMax.reset();
}

QVariantList TDatumTraits::ToSql(TDateTime v)
{
    return {QVariant(TDateTime_ToQDateTime(v).toString(CSqlDateFormat))};
}

TDateTime TDatumTraits::FromSql(const QVariant* v)
{
    if (v[0].isNull())
        return 0;
    if (v[0].metaType().id() == QMetaType::QDateTime)
        return TDateTime_FromQDateTime(v[0].toDateTime());
    if (v[0].metaType().id() == QMetaType::QDate)
        return TDateTime_FromQDate(v[0].toDate());
    const QString s = v[0].toString();
    QDateTime dt = QDateTime::fromString(s, CSqlDateFormat);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid())
        FehlerRaise(QStringLiteral("TDatumTraits.FromSql"), {QStringLiteral("Ungültiges Datum: ") + s});
    return TDateTime_FromQDateTime(dt);
}

QVariantList TMengenTraits::ToSql(const TMengen100& v)
{
    QVariantList r;
    r.reserve(100);
    for (int32_t m : v)
        r.append(QVariant(m));
    return r;
}

TMengen100 TMengenTraits::FromSql(const QVariant* v)
{
    TMengen100 r{};
    for (int i = 0; i < 100; ++i)
        r[i] = v[i].toInt();
    return r;
}

TStringDatenFeld::TStringDatenFeld(const QString& name, const QString& column, int width)
    : TDatenfeld_Gen<QString>(name, column), FWidth(width)
{
}

void TStringDatenFeld::SetWert(const QString& v)
{
    if (v.size() > FWidth)
        FehlerRaise(QStringLiteral("TStringDatenFeld.SetWert"),
                    {QStringLiteral("Text zu lang für Feld %1 (%2 > %3 Zeichen)").arg(Name()).arg(v.size()).arg(FWidth)});
    TDatenfeld_Gen<QString>::SetWert(v);
}

namespace {
QStringList MengenColumns(const QString& column, int base)
{
    QStringList r;
    r.reserve(100);
    for (int i = 0; i < 100; ++i)
        r.append(QStringLiteral("%1_%2").arg(column).arg(base + i));
    return r;
}
}

TMengenDatenFeld::TMengenDatenFeld(const QString& name, const QString& column, int base)
    : TDatenfeld_Gen<TMengen100, TMengenTraits>(name, MengenColumns(column, base))
{
}
