#pragma once

#include "framework/stock/mde/zaehldatei.h"
#include "framework/stock/mde/zaehldateizugriff.h"

#include <optional>
#include <vector>

// What importing one count file came to.
struct TZaehlimport {
    enum TArt { Eingelesen, Abgelehnt, SchonEingelesen };
    TArt Art = Abgelehnt;
    int Zeilen = 0;                              // scan lines
    int64_t Stueck = 0;                          // pieces, cancellations taken off
    TZaehlfehlerListe Fehler;                    // Abgelehnt: the bad lines, in file order
    std::optional<TZaehldateiEintrag> Frueher;   // SchonEingelesen: the earlier import
};

// Imports a count file in one transaction: per article its quantities are added to the
// shelf's "R" count record of the count date and branch and to the branch's "G" record (both
// created when missing, with the article's size range, and marked counted) and to the
// counted value of the inventories that hold the article, and the file is recorded under
// name and the first of its content keys. A recount ("#modus=nachzaehlung") replaces the
// shelf's "R" record of every article it scans (all sizes) and makes the branch's "G" record
// the sum of the article's shelves; the counted value follows "G". Nothing is written when a line is bad (the answer
// names the bad lines) or when the content was imported before under any of its keys. A
// branch that keeps its stock per storage location takes only files that name their shelf.
// Throws when the database fails.
TZaehlimport ZaehldateiEinlesen(const TZaehldatei& datei, const QString& name, const QStringList& schluessel);
