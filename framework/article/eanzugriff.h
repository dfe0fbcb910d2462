#pragma once

#include "framework/core/int32trio.h"

#include <QString>
#include <QStringList>

#include <map>

// The barcode table EAN: one barcode per size of an article.

// The check digit of the digits before it (GTIN: EAN-8, UPC-A, EAN-13, GTIN-14).
int EAN_Pruefziffer(const QString& ohnePruefziffer);
// True for 8, 12, 13 or 14 digits whose last digit is their check digit.
bool EAN_Gueltig(const QString& ean);

// What a barcode names: the article, its size number (1..100) and what a count of it needs
// from the article master (its product group and size range).
struct TEANArtikel {
    TInt32Trio Produkt_ID;
    int Groesse = 0;
    QString ArtNr;
    QString WGN;
    int GrVon = 0, GrBis = 0;
};

// The articles of the barcodes that are known; unknown ones are missing from the answer.
std::map<QString, TEANArtikel> EAN_Lesen(const QStringList& eans);
