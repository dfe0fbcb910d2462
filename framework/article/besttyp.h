#pragma once

#include <QChar>
#include <QString>

// Stock types 1 to 16 are stored as the characters "1".."9" and "A".."G".
// Any other character maps to 0, which is no stock type.
int Char_2_ArtBestTyp(QChar c);
QChar ArtBestTyp_2_Char(int besttyp);

struct TArtBestTyp_Eigenschaften {
    QString Bezeichnung;
    bool IstGezaehlt = false;   // stock of this type is counted at stock-taking
};

// Properties of stock type 1..16 from the stock-type table (read once per database);
// an unknown type is not counted.
TArtBestTyp_Eigenschaften Get_ArtBestTyp_Eigenschaften(int besttyp);
