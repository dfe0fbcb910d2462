#pragma once

#include <QString>

// This machine's name as terminals record it, this process's id, and whether a process of
// this machine still runs.
QString Rechner();
int EigenerProzess();
bool ProzessLaeuft(int pid);
// When the process pid started, in clock ticks since the machine booted; -1 when no such
// process runs. With the pid it names one process: a pid is reused, the pair is not (until
// the next boot).
qint64 ProzessBeginn(int pid);
