#pragma once

#include "inventurliste/zeileanzeige.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <utility>
#include <vector>

// Count files for the test chain, and the counts as the raw tables hold them.
namespace Zaehl {

// A barcode of an article's size, read from the raw tables.
struct TBarcode {
    QString Ean;
    QString Artikel;   // product id "1.10005.1"
    int Groesse = 0;
};

// The barcodes of the articles that the inventory holds (its group's articles), by article.
std::vector<TBarcode> Barcodes(const TZeileAnzeige& inventur);

// A count file for the inventory's day and branch: header lines (#geraet only when given),
// then "ean;quantity" per scan.
QByteArray Datei(const TZeileAnzeige& inventur, int regal, const std::vector<std::pair<QString, int>>& scans,
                 const QString& geraet = "MDE-1");

// The counted quantities of a day and branch per "article/size", read from the raw count
// records of one kind ("G": the branch, "R": the shelf), records marked not counted as 0.
std::map<QString, int> Zaehlung(const TZeileAnzeige& inventur, const QString& satzart, int regal = 0);

// Articles of the day and branch whose "G" record is not the sum of their "R" records.
QStringList NichtSummeDerRegale(const TZeileAnzeige& inventur);

// A file written a minute ago, as the import finds a file that has settled.
void DateiSchreiben(const QString& pfad, const QByteArray& inhalt);
QByteArray DateiLesen(const QString& pfad);

}
