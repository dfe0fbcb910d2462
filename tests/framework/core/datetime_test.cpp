#include "framework/core/datetime.h"
#include "framework/core/uhr.h"

#include <gtest/gtest.h>

TEST(TDateTime, DaysSince1899AndBack)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    int y, m, d;
    DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d);
    EXPECT_EQ(y, 2024);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(d, 29);
}

TEST(TDateTime, WholeDayEndOfDayAndMonth)
{
    const TDateTime t = EncodeDateTime(2021, 7, 15, 10, 30, 0, 0);
    EXPECT_EQ(DateOf(t), EncodeDate(2021, 7, 15));
    EXPECT_EQ(TDateTime_ToQDateTime(EndOfTheDay(t)), QDateTime(QDate(2021, 7, 15), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(TDateTime_ToQDateTime(EndOfAMonth(2024, 2)), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(TDateTime_ToQDateTime(EndOfAMonth(2023, 2)), QDateTime(QDate(2023, 2, 28), QTime(23, 59, 59, 999), Qt::UTC));
}

TEST(TDateTime, QDateTimeRoundTripKeepsMilliseconds)
{
    const QDateTime dt(QDate(2022, 1, 31), QTime(23, 59, 59, 999), Qt::UTC);
    EXPECT_EQ(TDateTime_ToQDateTime(TDateTime_FromQDateTime(dt)), dt);
    // "minus 0.01 day" from midnight lands at 23:45:36 of the day before
    EXPECT_EQ(TDateTime_ToQDateTime(EncodeDate(2022, 2, 1) - 0.01), QDateTime(QDate(2022, 1, 31), QTime(23, 45, 36), Qt::UTC));
    EXPECT_EQ(TDateTime_FormatDatum(EncodeDate(2021, 3, 5)), QStringLiteral("05.03.2021"));
}

TEST(DateTime, FiscalYearEndAcrossLeapYears)
{
    const auto ende = [](int y, int m, int d) { return TDateTime_ToQDateTime(WiJahrEnde(EncodeDate(y, m, d))); };
    EXPECT_EQ(ende(2020, 2, 1), QDateTime(QDate(2021, 1, 31), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(ende(2021, 7, 15), QDateTime(QDate(2022, 6, 30), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(ende(2021, 1, 3), QDateTime(QDate(2021, 12, 31), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(ende(2023, 3, 1), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::UTC));
}
