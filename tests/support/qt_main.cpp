#include "tests/support/sqlwarnungen.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Test entry with a Qt application object, which SQL drivers and threads expect.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SqlWarnungenAlsTestfehler();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
