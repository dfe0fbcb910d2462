#include "kalmetmain/uebersicht_logik.h"
#include "framework/article/wgnmani.h"

#include <gtest/gtest.h>

TEST(UebersichtLogik, DifferenceRules)
{
    EXPECT_EQ(InventurDifferenz(0, 1500.00), 0);
    EXPECT_EQ(InventurDifferenz(1000.004, 1000.00), 0);
    EXPECT_DOUBLE_EQ(InventurDifferenz(10.00, 12.50), -2.50);
    EXPECT_DOUBLE_EQ(InventurDifferenz(0.01, 0), 0.01);
}

TEST(UebersichtLogik, StatusColours)
{
    EXPECT_EQ(StatusFarbe('1'), QColor(255, 140, 0));
    EXPECT_EQ(StatusFarbe('2'), QColor(50, 205, 50));
    EXPECT_EQ(StatusFarbe('3'), StatusFarbe('2'));
    EXPECT_EQ(StatusFarbe('4'), QColor(255, 165, 0));
    EXPECT_EQ(StatusFarbe('6'), QColor(255, 0, 0));
    EXPECT_FALSE(StatusFarbe('5').isValid());
    EXPECT_FALSE(StatusFarbe(QChar()).isValid());
}
