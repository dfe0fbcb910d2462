#pragma once

#include "framework/core/int32trio.h"
#include "framework/db/anweisung.h"

#include <QString>

// Product-group manager.
class TWGNMani {
public:
    // The product group an article is filed under; empty when the article is unknown.
    QString Get_MaxWGN4ProdId(const TInt32Trio& produktId, const QString& ebene);

private:
    TGehalteneAnweisung FAnweisung;
};

// The prefix a product-group pattern stands for: the pattern without its one trailing "*".
// Any other "*" raises the illegal-parameter error at ort with the detail "hWGNTest=" and
// the pattern.
QString WGNMusterPraefix(const QString& muster, const QString& ort);
// Whether the product group starts with the prefix, ignoring case.
bool WGNPasst(const QString& wgn, const QString& praefix);
// Whether the article's product group matches the pattern ("KI*"; "*" or empty: every one).
bool ArtikelImWGNMuster(TWGNMani& mani, const TInt32Trio& produktId, const QString& muster, const QString& ort);
