#include "tests/support/sqlwarnungen.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Test entry for widget tests: a full application on the offscreen platform. Window places and
// zoom go to a settings folder of the run, not to the user's.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SqlWarnungenAlsTestfehler();
    QCoreApplication::setOrganizationName(QStringLiteral("kalmet"));
    const QTemporaryDir einstellungen;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, einstellungen.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, einstellungen.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
