#pragma once

#include <QDate>
#include <QDateTime>

// A point in time as the program computes with it: days since 1899-12-30 as a double,
// the fraction being the time of day. Whole-day truncation, "end of day" and
// "minus 0.01 day" are plain arithmetic on this value.
using TDateTime = double;

constexpr double CMSecsPerDay = 86400000.0;

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);

// Whole day (time part cut off), end of that day (23:59:59.999) and end of a month.
TDateTime DateOf(TDateTime value);
TDateTime EndOfTheDay(TDateTime value);
TDateTime EndOfAMonth(int year, int month);

TDateTime TDateTime_FromQDate(const QDate& date);
QDate TDateTime_ToQDate(TDateTime value);
TDateTime TDateTime_FromQDateTime(const QDateTime& value);
QDateTime TDateTime_ToQDateTime(TDateTime value);

// "dd.mm.yyyy", as the program shows dates.
QString TDateTime_FormatDatum(TDateTime value);
