#pragma once

#include <QString>
#include <QStringList>

// Starts programm with args, ends every session on the test database but the test's own ms
// milliseconds after the program's first session began, as an administrator or a server restart does, and waits for the program's
// end. A run that was still working must end with exit code 3 and one message of the loss (or
// of the database it could not open), never by a signal; one done before ends with 0. Its
// exit code, -1 for a signal.
int MitVerbindungsverlust(const QString& programm, const QStringList& args, int ms);
