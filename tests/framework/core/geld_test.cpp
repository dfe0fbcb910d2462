#include "framework/core/geld.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

// The expected cents of a price written with three decimals, from its digits alone.
double ErwartetAusText(int tausendstel)
{
    const bool negativ = tausendstel < 0;
    int cent = std::abs(tausendstel) / 10;
    const int letzte = std::abs(tausendstel) % 10;
    if (letzte > 5 || (letzte == 5 && cent % 2 == 1))
        ++cent;
    return (negativ ? -cent : cent) / 100.0;
}

QString Text(int tausendstel)
{
    return QStringLiteral("%1%2.%3")
        .arg(tausendstel < 0 ? "-" : "")
        .arg(std::abs(tausendstel) / 1000)
        .arg(std::abs(tausendstel) % 1000, 3, 10, QLatin1Char('0'));
}

}

TEST(GeldTest, DecimalHalvesAreHalvesAndGoToTheEvenCent)
{
    EXPECT_EQ(AufCentRunden(QString("1.015").toDouble()), 1.02);
    EXPECT_EQ(AufCentRunden(QString("0.545").toDouble()), 0.54);
    EXPECT_EQ(AufCentRunden(QString("12.355").toDouble()), 12.36);
    EXPECT_EQ(AufCentRunden(QString("-1.015").toDouble()), -1.02);
    EXPECT_EQ(AufCentRunden(QString("1234567.125").toDouble()), 1234567.12);
    // every half cent below 1,000, as read from its text
    int falsch = 0;
    for (int t = 5; t < 1000000; t += 10)
        falsch += AufCentRunden(Text(t).toDouble()) != ErwartetAusText(t);
    EXPECT_EQ(falsch, 0);
}

TEST(GeldTest, AmountsNearAHalfRoundToTheNearerCent)
{
    for (int t : {-100001, -7, -4, 0, 4, 6, 1014, 1016, 999994, 999996})
        EXPECT_EQ(AufCentRunden(Text(t).toDouble()), ErwartetAusText(t)) << qPrintable(Text(t));
    EXPECT_EQ(AufCentRunden(QString("1.0149").toDouble()), 1.01);
    EXPECT_EQ(AufCentRunden(QString("1.0151").toDouble()), 1.02);
}
