#pragma once

#include "framework/stock/mde/mdeordner.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

// A count file that was not imported, and why (one text per bad line).
struct TMDEAbgelehnt {
    QString Datei;
    QStringList Gruende;
};

// What a file search imported and rejected.
struct TMDEErgebnis {
    int Dateien = 0;
    int64_t Stueck = 0;
    std::vector<TMDEAbgelehnt> Abgelehnt;

    // "n Zähldateien eingelesen, m Stück" and the rejected files with their reasons (the
    // first CGruendeJeDatei of a file; its report has all).
    QString Text() const;
    static constexpr int CGruendeJeDatei = 10;
};

// Hand-held device booker: imports the count files that hand-held scanners left in the
// folder of the parameter ORDNER_MDE (default "mde" in the data folder). Each file is
// claimed, imported in one transaction and moved to "archiv", or rejected whole and moved to
// "fehler" beside a report; a content imported before is never imported again.
class TMDEBucher {
public:
    explicit TMDEBucher(QString ordner = {});
    // Imports every waiting file, and those an interrupted run left; true when there were
    // any. Throws when the database or the folder fails (the file at hand stays waiting).
    bool DateiSuche();
    const TMDEErgebnis& Ergebnis() const { return FErgebnis; }
    const QString& Ordner() const { return FOrdner.Pfad(); }

    // Before each file: its number from 1, how many there are, its name.
    std::function<void(int nr, int anzahl, const QString& name)> OnDatei;

private:
    void Einlesen(const QString& pfad, bool nachAbbruch);

    TMDEOrdner FOrdner;
    TMDEErgebnis FErgebnis;
};
