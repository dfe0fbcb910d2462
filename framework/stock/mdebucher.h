#pragma once

#include "framework/core/datetime.h"
#include "framework/stock/mde/mdeordner.h"
#include "framework/stock/mde/zaehldatei.h"

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

// What a file search imported, rejected and left waiting.
struct TMDEErgebnis {
    int Dateien = 0;
    int64_t Stueck = 0;
    std::vector<TMDEAbgelehnt> Abgelehnt;
    QStringList Unfertig;       // still being written: imported by a later run
    QStringList KeineDateien;   // named *.mde but no regular files: left alone

    // "n Zähldateien eingelesen, m Stück", the rejected files with their reasons (the first
    // CGruendeJeDatei of a file; its report has all) and the files left waiting.
    QString Text() const;
    static constexpr int CGruendeJeDatei = 10;
};

// A count file whose counts are still missing, rejected in "fehler" or waiting in the
// folder: its name there ("fehler/<name>" or "<name>") and the branch and count day it names
// (0: not readable from the file).
struct TMDEOffen {
    QString Datei;
    int32_t Filiale = 0;
    TDateTime ZaehlDatum = 0;
    // Whether it may hold counts of that day and branch.
    bool Betrifft(TDateTime zaehlDatum, int32_t filiale) const;
};

// Hand-held device booker: imports the count files that hand-held scanners left in the
// folder of the parameter ORDNER_MDE (default "mde" in the data folder). Each file is
// claimed, read once, imported in one transaction and moved to "archiv", or rejected whole
// and moved to "fehler" beside a report; a content imported before is never imported again.
// A file's own trouble (unreadable, too large, no text, bad lines, refused by the database)
// rejects that file and the run goes on; any other failure (the folder, the database) stops
// the run, leaves the file at hand where it was and raises with what was imported until then.
// Parameters: MDE_RUHE_SEKUNDEN (a file changed more recently waits, default 5),
// MDE_MAX_BYTE (default 64 MiB) and MDE_MAX_ZEILEN (default 2,000,000).
class TMDEBucher {
public:
    explicit TMDEBucher(QString ordner = {});
    // Imports every waiting file, and those an interrupted run left; true when there were
    // any files.
    bool DateiSuche();
    const TMDEErgebnis& Ergebnis() const { return FErgebnis; }
    const QString& Ordner() const { return FOrdner.Pfad(); }
    // The count files whose counts are missing: rejected ones in "fehler" that a person has
    // not dealt with yet (their content was not imported since) and those still waiting in the
    // folder, as far as they name a branch or a count day.
    std::vector<TMDEOffen> NichtEingelesene();

    // Before each file: its number from 1, how many there are, its name.
    std::function<void(int nr, int anzahl, const QString& name)> OnDatei;

private:
    struct TGrenzen {
        qint64 RuheMs, Bytes, Zeilen;
    };
    static TGrenzen Grenzen();
    bool Suchen();
    // vorher: the file's name in the work folder of a run that ended (empty: claimed now)
    void Einlesen(const QString& name, const QString& vorher);
    void Ablehnen(const QString& name, const TZaehlfehlerListe& fehler);

    TMDEOrdner FOrdner;
    TGrenzen FGrenzen;
    TMDEErgebnis FErgebnis;
};
