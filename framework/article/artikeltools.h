#pragma once

#include "framework/article/aasatz.h"

namespace TArtikelTools {
// The article's description; empty when the article is unknown.
QString Bezeichnung_4_ProduktID(const TInt32Trio& produktId);
// The article master record; false when the article is unknown.
bool AASatz_4_ProduktID(const TInt32Trio& produktId, TAASatz& satz);
}

// The article number for messages and progress; the product id when the article is unknown.
QString ProduktID_2_ArtNr_Formatted(const TInt32Trio& produktId, bool);
