#pragma once

#include <QChar>

// Stock types 1 to 16 are stored as the characters "1".."9" and "A".."G".
// Any other character maps to 0, which is no stock type.
int Char_2_ArtBestTyp(QChar c);
QChar ArtBestTyp_2_Char(int besttyp);
