#pragma once

#include <QString>

// Texts that must never be shown, logged or stored, such as a database password given on the
// command line. Every error, log line, protocol row and message of the program passes
// OhneGeheimnisse, so that a secret that slipped into a text is hidden there.
void GeheimnisMerken(const QString& geheimnis);
// Forgets every secret (the window, when it closes, forgets the password typed in).
void GeheimnisseVergessen();
// text with every secret replaced by "***".
QString OhneGeheimnisse(QString text);
