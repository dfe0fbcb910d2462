#include "framework/stock/verkmani.h"

void TVerkMani::FVKWandeln(Tlsnfile& ALsnFile, const TInt32Trio& AReferenz, int& AErgebnis)
{
    AErgebnis = 1;
    ALsnFile.Referenz.SetWert(AReferenz);
    ALsnFile.Buchen(wrdonInsert);
    AErgebnis = 0;
}
