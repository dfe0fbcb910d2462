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
};
