#pragma once

#include <QString>

#include <vector>

// A product group of the product-group table.
struct TWGNEintrag {
    QString WGN;
    QString Bezeichnung;
};

// Every product group in the order of its code; a failure raises at ort.
std::vector<TWGNEintrag> WGN_Alle(const QString& ort);
