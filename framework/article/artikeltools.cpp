#include "framework/article/artikeltools.h"

#include "framework/article/artlessimple.h"
#include "framework/db/connection.h"

namespace TArtikelTools {

QString Bezeichnung_4_ProduktID(const TInt32Trio& produktId)
{
    TAASatz s;
    return AASatz_4_ProduktID(produktId, s) ? s.Bezeichnung : QString();
}

bool AASatz_4_ProduktID(const TInt32Trio& produktId, TAASatz& satz)
{
    // one reader per thread and database: repeated calls for one article read it once
    thread_local std::unique_ptr<IORV_ArtLesSimple> leser;
    thread_local int generation = -1;
    if (!leser || generation != TZEP_Connection::Generation()) {
        leser.reset(TORVServerFactory::ArtLesSimpleHolen());
        generation = TZEP_Connection::Generation();
    }
    const bool gefunden = leser->Laden(produktId);
    if (gefunden)
        satz = leser->Satz();
    return gefunden;
}

}

QString ProduktID_2_ArtNr_Formatted(const TInt32Trio& produktId, bool)
{
    TAASatz satz;
    return TArtikelTools::AASatz_4_ProduktID(produktId, satz) ? satz.ArtNr : produktId.ToText();
}
