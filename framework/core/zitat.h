#pragma once

#include <QString>

// Text from outside (file names, lines of files) as messages quote it: control and format
// characters (line ends, escapes, direction overrides, NUL) shown as \xNN or \uNNNN, and at
// most max characters of the result, cut with "…".
QString Zitat(const QString& text, int max = 80);
