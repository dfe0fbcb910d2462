#pragma once

// The article master beside the rows of another table: the size range and grid of each row's
// article, and the choice of articles by product group, for statements that join the master.

#include "framework/core/int32trio.h"

#include <QString>
#include <QVariantList>

class QSqlQuery;

struct TArtikelStamm {
    TInt32Trio Produkt_ID;
    int GrVon = 1, GrBis = 100, GGKey = 0;
};

// Articles whose product group starts with both prefixes: an inventory's and a selection's
// (empty: any).
struct TArtikelWGNWahl {
    QString Inventur, Auswahl;
};

// " JOIN artikel a ..." on the article of the table under alias t.
QString ArtikelJoin(const QString& t);
// The six columns of TArtikelStamm for the table under alias t joined by ArtikelJoin.
QString ArtikelStammSpalten(const QString& t);
TArtikelStamm ArtikelStammLesen(const QSqlQuery& q, int spalte);
// " AND ..." on the joined master, and its values.
QString ArtikelWGNBedingung();
QVariantList ArtikelWGNWerte(const TArtikelWGNWahl& wahl);
