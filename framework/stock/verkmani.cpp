#include "framework/stock/verkmani.h"

#include "framework/core/fehler.h"
#include "framework/db/files/fvkfile.h"
#include "framework/stock/buchung.h"

TMengen100 TVerkMani::FVKWandeln(Tlsnfile& ALsnFile, const TInt32Trio& AReferenz, int& AErgebnis, qint64 AFvkId)
{
    AErgebnis = 1;
    // claimed first: another terminal that converted it meanwhile deleted it, and its sale
    // must not count twice
    if (!FVK_Loeschen(AFvkId, QStringLiteral("TVerkMani.FVKWandeln")))
        FehlerRaise(QStringLiteral("TVerkMani.FVKWandeln"),
                    {QStringLiteral("Der Fehlverkauf %1 wurde inzwischen an einem anderen Arbeitsplatz gewandelt.").arg(AFvkId)});
    ALsnFile.Referenz.SetWert(AReferenz);
    ALsnFile.Buchen(wrdonInsert);
    // a sale lowers the stock of its size by its quantity (a return, with a negative one,
    // raises it)
    const int slot = ALsnFile.GroessenIndex.GetWert() - 1;
    TMengen100 wirkung{};
    if (slot >= 0 && slot < 100) {
        wirkung[slot] = -ALsnFile.Menge.GetWert();
        BestandBewegen(ALsnFile.Produkt_ID.GetWert(), ALsnFile.Filiale.GetWert(), TArtBucher::CBestTyp, abtVerkauf,
                       ALsnFile.Datum.GetWert(), wirkung);
    }
    AErgebnis = 0;
    return wirkung;
}
