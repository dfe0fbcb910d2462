#pragma once

#include <QString>

// This machine's name as terminals record it, this process's id, and whether a process of
// this machine still runs.
QString Rechner();
int EigenerProzess();
bool ProzessLaeuft(int pid);
