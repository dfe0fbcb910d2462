#pragma once

#include <QString>

// Qt tells some faults of its SQL drivers only as a warning and goes on: the rows of a
// statement dropped because another one ran on its connection ("Query results lost"), a value
// read off a row or by a name the row does not have, a connection removed while its statements
// still run. The program takes them as failures: a message handler counts them per thread,
// and the statement wrappers raise when the count has risen (TZEP_Connection::Pruefen).

// True for a Qt message that means rows or values were dropped.
bool SqlDatenverlust(const QString& meldung);

// Installs the handler that counts those warnings; every message goes on to the handler that
// was installed before, but for Qt's repeated complaints about a connection that is lost
// (TZEP_Connection::Verloren). Once per process, at start; later calls do nothing.
void SqlWarnungenZaehlen();

// The warnings of dropped data counted on the calling thread, and the text of the last one.
int SqlWarnungen();
QString LetzteSqlWarnung();
