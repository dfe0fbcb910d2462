#include "framework/core/datetime.h"

#include <cmath>

namespace {
const QDate CBaseDate(1899, 12, 30);
}

TDateTime EncodeDate(int year, int month, int day)
{
    return TDateTime_FromQDate(QDate(year, month, day));
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return EncodeDate(year, month, day)
        + (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / CMSecsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    TDateTime_ToQDate(value).getDate(&year, &month, &day);
}

TDateTime DateOf(TDateTime value)
{
    return std::floor(value);
}

TDateTime EndOfTheDay(TDateTime value)
{
    return DateOf(value) + (CMSecsPerDay - 1.0) / CMSecsPerDay;
}

TDateTime EndOfAMonth(int year, int month)
{
    const QDate first(year, month, 1);
    return EndOfTheDay(TDateTime_FromQDate(QDate(year, month, first.daysInMonth())));
}

TDateTime TDateTime_FromQDate(const QDate& date)
{
    return static_cast<TDateTime>(CBaseDate.daysTo(date));
}

QDate TDateTime_ToQDate(TDateTime value)
{
    return CBaseDate.addDays(static_cast<qint64>(std::floor(value)));
}

TDateTime TDateTime_FromQDateTime(const QDateTime& value)
{
    const QTime t = value.time();
    return TDateTime_FromQDate(value.date()) + t.msecsSinceStartOfDay() / CMSecsPerDay;
}

QDateTime TDateTime_ToQDateTime(TDateTime value)
{
    const double day = std::floor(value);
    // Round to whole milliseconds: the double cannot hold more and SQL columns keep milliseconds.
    qint64 msecs = std::llround((value - day) * CMSecsPerDay);
    qint64 days = static_cast<qint64>(day);
    if (msecs >= static_cast<qint64>(CMSecsPerDay)) {
        msecs -= static_cast<qint64>(CMSecsPerDay);
        ++days;
    }
    // A TDateTime is a wall-clock time without a zone; as UTC it has no daylight-saving gap in
    // which it would be invalid and print as nothing.
    return QDateTime(CBaseDate.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)), Qt::UTC);
}

QString TDateTime_FormatDatum(TDateTime value)
{
    return TDateTime_ToQDate(value).toString(QStringLiteral("dd.MM.yyyy"));
}
