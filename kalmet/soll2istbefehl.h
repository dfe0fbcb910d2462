#pragma once

#include <QStringList>

// "kalmet takeover": takes the target over as count in inventories without a window, by the
// same code as the window's "Soll=Ist"; --group and --branch choose the articles as the
// selection dialog does, --yes answers its questions. Exit code 0 when articles were taken
// over, 4 when a question stopped it (without --yes), 2 for a wrong argument, 3 when the
// database cannot be reached, 1 when the user lacks the right, no article was in the
// selection, or the takeover failed.
int UebernahmeBefehl(const QStringList& args);

// "kalmet reset": sets the status of inventories back to "Zur Buchung frei" as the window's
// Ctrl+Alt+Z does (statuses 1, 3 and 6 stay). Exit code 0, or 1 when an inventory is gone or
// the reset failed; 2 and 3 as above.
int ZuruecksetzBefehl(const QStringList& args);
