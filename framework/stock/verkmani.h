#pragma once

#include "framework/db/files/lsnfile.h"

// Sales manager.
class TVerkMani {
public:
    // Writes the sales line in the file's buffer as the conversion of an erroneous sale,
    // referring to the erroneous sale's document. AErgebnis is 0 when the line was written.
    void FVKWandeln(Tlsnfile& ALsnFile, const TInt32Trio& AReferenz, int& AErgebnis);
};
