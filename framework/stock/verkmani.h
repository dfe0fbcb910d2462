#pragma once

#include "framework/db/files/lsnfile.h"

// Sales manager.
class TVerkMani {
public:
    // Converts the erroneous sale AFvkId into the sales line in the file's buffer, referring
    // to the erroneous sale's document: writes the line and its effect on the sales stock and
    // removes the erroneous sale, all in the caller's posting, so that it is never converted
    // twice. AErgebnis is 0 when the sale was converted. The effect on the stock per size.
    TMengen100 FVKWandeln(Tlsnfile& ALsnFile, const TInt32Trio& AReferenz, int& AErgebnis, qint64 AFvkId);
};
