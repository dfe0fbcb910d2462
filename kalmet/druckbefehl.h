#pragma once

#include <QStringList>

// "kalmet print": the print tables of inventories without a window, built by the same code
// as the print action, with the dialogs' answers taken from the options. Exit code 0 when
// every requested file was written completely, 2 for a wrong argument (the message names
// the option), 3 when the database cannot be reached, 1 when the build failed.
int DruckBefehl(const QStringList& args);
