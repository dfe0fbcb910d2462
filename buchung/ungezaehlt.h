#pragma once

#include "framework/core/int32trio.h"
#include "inventurliste/zeileanzeige.h"

#include <QString>
#include <QStringList>

#include <vector>

class TInventurliste;

// What a booking would write off unseen: the articles of an inventory with a target that
// nobody counted (no counted total record of the day and branch); booking sets their stock to 0.
struct TUngezaehlteInventur {
    struct TArtikel {
        TInt32Trio Produkt_ID;
        QString ArtNr;
        QString Bezeichnung;
        int64_t Stueck = 0;   // the target
        double SollEK = 0;    // the target at purchase prices of the count date
    };
    TZeileAnzeige Zeile;
    std::vector<TArtikel> Artikel;

    int64_t Stueck() const;
    double SollEK() const;
};
// Only inventories with such articles, in the order of the rows.
using TUngezaehlte = std::vector<TUngezaehlteInventur>;

// The articles not counted of the rows' inventories of the fiscal year, with the list's reader
// for master records and prices.
TUngezaehlte UngezaehlteLesen(TInventurliste& liste, TDateTime wiJahr, const TZeileAnzeige_Arr& zeilen);

// One line per inventory: "15.05.2026 DA1001 Filiale 1: Artikel mit Sollbestand wurden nicht
// gezählt; beim Buchen wird ihr Bestand auf 0 gesetzt – 12 Artikel, 34 Stück, Soll-EK 1.234,56".
QStringList UngezaehltZeilen(const TUngezaehlte& u);

// Writes the articles to a CSV file (UTF-8, semicolons, German numbers) for a spreadsheet or
// to print, one line per article; throws when the file cannot be written.
void UngezaehltExportieren(const TUngezaehlte& u, const QString& pfad);

// Asks once whether to book the articles as 0, offering to save their list first; true for Yes.
bool UngezaehltFragen(const TUngezaehlte& u, QObject* owner);
