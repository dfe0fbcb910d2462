#pragma once

#include "framework/article/aasatz.h"

namespace TArtikelTools {
// The article's description; empty when the article is unknown.
QString Bezeichnung_4_ProduktID(const TInt32Trio& produktId);
// The article master record; false when the article is unknown.
bool AASatz_4_ProduktID(const TInt32Trio& produktId, TAASatz& satz);
}
