#include "framework/core/uhr.h"

namespace {
std::optional<TDateTime> GJetzt;
}

TDateTime orv_Now()
{
    return GJetzt ? *GJetzt : TDateTime_FromQDateTime(QDateTime::currentDateTime());
}

TDateTime orv_Date()
{
    return DateOf(orv_Now());
}

void ORVUhrSetzen(std::optional<TDateTime> jetzt)
{
    GJetzt = jetzt;
}

QString Date2WiJahrStr(TDateTime wiJahrBeginn)
{
    const QDate beginn = TDateTime_ToQDate(wiJahrBeginn);
    return QStringLiteral("%1 - %2").arg(beginn.toString(QStringLiteral("dd.MM.yyyy")),
                                         beginn.addYears(1).addDays(-1).toString(QStringLiteral("dd.MM.yyyy")));
}

TDateTime WiJahrEnde(TDateTime ADatum)
{
    int jahr, monat, tag;
    DecodeDate(ADatum, jahr, monat, tag);
    if (--monat == 0)
        monat = 12;
    else
        ++jahr;
    return EndOfAMonth(jahr, monat);
}
