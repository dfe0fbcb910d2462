#include "tests/support/verbindungsverlust.h"

#include "framework/db/connection.h"

#include <QProcess>
#include <QSqlQuery>

#include <gtest/gtest.h>

int MitVerbindungsverlust(const QString& programm, const QStringList& args, int ms)
{
    QProcess p;
    p.start(programm, args);
    EXPECT_TRUE(p.waitForStarted());
    // ms count from the program's first session: on a loaded machine its start alone may take
    // longer, and a loss before it connects would be no loss at all
    for (int i = 0; i < 3000 && p.state() != QProcess::NotRunning; ++i) {
        QSqlQuery q = TZEP_Connection::Ausfuehren("MitVerbindungsverlust", "SELECT count(*) FROM pg_stat_activity "
                                                                           "WHERE datname = current_database() AND pid <> pg_backend_pid()");
        if (q.next() && q.value(0).toInt() > 0)
            break;
        p.waitForFinished(10);
    }
    p.waitForFinished(ms);
    if (p.state() != QProcess::NotRunning) {
        TZEP_Connection::Ausfuehren("MitVerbindungsverlust", "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                                             "WHERE datname = current_database() AND pid <> pg_backend_pid()");
        EXPECT_TRUE(p.waitForFinished(120000));
    }
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "ended by a signal after " << ms << " ms:\n" << qPrintable(fehler.right(2000));
        return -1;
    }
    EXPECT_TRUE(p.exitCode() == 0 || p.exitCode() == 3) << "exit code " << p.exitCode() << ":\n" << qPrintable(fehler.right(2000));
    if (p.exitCode() == 3)   // lost while it worked, or while it opened the database
        EXPECT_EQ(fehler.count("Verbindung zur Datenbank verloren") + fehler.count("kann nicht geöffnet werden"), 1)
            << "told once:\n" << qPrintable(fehler.right(2000));
    return p.exitCode();
}
