#pragma once

#include "framework/core/int32trio.h"

#include <QString>
#include <QStringList>

#include <QSet>

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

// The barcode as GTIN-14: the same number with zeros in front, so that an EAN-8, UPC-A or
// EAN-13 and the GTIN-14 of the same number are one.
QString EAN_Gtin14(const QString& ean);

// The barcodes found, by GTIN-14: the table's barcodes match whatever their length (a UPC-A
// scan finds the EAN-13 with a leading 0). A GTIN that the table gives to different sizes is
// not an answer but ambiguous; unknown ones are missing from both.
struct TEANTreffer {
    std::map<QString, TEANArtikel> Artikel;
    QSet<QString> Mehrdeutig;
};
TEANTreffer EAN_Lesen(const QStringList& eans);
