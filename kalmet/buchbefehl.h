#pragma once

#include <QStringList>

// "kalmet book": closes inventories without a window, by the same code as the booking of the
// window; --yes answers its questions, but not whether articles nobody counted are booked to
// 0: that takes --uncounted-as-zero. A difference beyond FREIGABE_AB_EK without the right
// "pzf" is a wrong --user. Exit code 0 when every inventory was closed, 4 when a question
// stopped it (without --yes), 5 when articles stayed locked (listed on standard output), 2 for
// a wrong argument, 3 when the database cannot be reached, 1 when a check refused (articles not
// counted among them) or an inventory stayed open otherwise.
int BuchBefehl(const QStringList& args);
