#pragma once

#include "framework/core/int32trio.h"

#include <QSqlQuery>
#include <QString>

#include <memory>

// Product-group manager.
class TWGNMani {
public:
    // The product group an article is filed under; empty when the article is unknown.
    QString Get_MaxWGN4ProdId(const TInt32Trio& produktId, const QString& ebene);

private:
    std::unique_ptr<QSqlQuery> FQuery;
    int FGeneration = -1;   // the connection it was prepared on
};

// The prefix a product-group pattern stands for: the pattern without its one trailing "*".
// Any other "*" raises the illegal-parameter error at ort with the detail "hWGNTest=" and
// the pattern.
QString WGNMusterPraefix(const QString& muster, const QString& ort);
// Whether the product group starts with the prefix, ignoring case.
bool WGNPasst(const QString& wgn, const QString& praefix);
// Whether the article's product group matches the pattern ("KI*"; "*" or empty: every one).
bool ArtikelImWGNMuster(TWGNMani& mani, const TInt32Trio& produktId, const QString& muster, const QString& ort);
