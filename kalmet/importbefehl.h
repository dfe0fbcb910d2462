#pragma once

#include <QStringList>

// "kalmet import": imports the count files of hand-held scanners without a window, from the
// folder of --folder or of the parameter ORDNER_MDE. Exit code 0 when every file found was
// imported, 1 when a file was rejected (or the import failed), 2 for a wrong argument, 3 when
// the database cannot be reached.
int ImportBefehl(const QStringList& args);
