#pragma once

#include "framework/stock/mde/verzeichnis.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The count files in the folder, as a run finds them.
struct TMDEWarteliste {
    QStringList Bereit;         // regular files, written at least the settling time ago
    QStringList Unfertig;       // still being written: they wait for the next run
    QStringList KeineDateien;   // named *.mde but links, folders, devices or names that are no text: left alone
};

// A file claimed from the work folder of a run that ended: its name now and the name it had
// there (it gets a number when this run's folder holds the name already).
struct TMDEVerwaist {
    QString Name, Vorher;
};

// A count file whose counts nobody imported yet: rejected in "fehler" or waiting in the folder.
struct TMDENichtEingelesen {
    QString Name;
    TDateiGelesen Gelesen;   // the whole file when Ganz, else its start
    bool Ganz = false;
    bool Wartet = false;     // in the folder, not in "fehler"
};

// The folder that scanners' export tools write count files (*.mde) into, and its subfolders:
// "arbeit/<machine>-<process id>-<process start>" holds the files a process claimed, "archiv"
// those imported, "fehler" those rejected, each beside its report "<name>.txt". A file is
// claimed by moving it into the process's work folder, so that of several processes only one
// reads it. Everything is done through the opened folders without following links; files are
// never overwritten, a name already taken gets a number ("inv-2.mde"). Failures of a folder
// raise; the files then stay where they are.
class TMDEOrdner {
public:
    explicit TMDEOrdner(QString pfad);
    ~TMDEOrdner();
    const QString& Pfad() const { return FPfad; }

    // Opens the folder; false when there is none (nothing to import).
    bool Oeffnen();
    // The count files waiting in the folder, by name.
    TMDEWarteliste Wartende(qint64 ruheMs) const;
    // Whether work folders are there (of this or an interrupted run).
    bool HatArbeit() const;
    // Opens or creates the subfolders and checks that files can be created and moved in
    // them; raises before any file is touched when not.
    void Vorbereiten();

    // Moves a waiting file into this process's work folder; false when another process
    // claimed it first.
    bool Beanspruchen(const QString& name);
    // Files left in the work folders of this machine's processes that no longer run (and in
    // this process's own), claimed now by this one: an import that was interrupted.
    std::vector<TMDEVerwaist> Verwaiste();

    // A claimed file read at once, at most max bytes, when it has not changed for ruheMs.
    TDateiGelesen Lesen(const QString& name, qint64 max, qint64 ruheMs) const;
    // Moves a claimed file to "archiv"; its name there.
    QString Archivieren(const QString& name);
    // Moves a claimed file to "fehler" and writes its report beside it under the name it
    // got there (bericht makes the report from that name); that name.
    QString Ablehnen(const QString& name, const std::function<QByteArray(const QString&)>& bericht);
    // Gives a claimed file back to the folder (it waits for the next run); false when the
    // folder has a new file of that name, and it stays claimed.
    bool Zurueckgeben(const QString& name);

    // The count files in "fehler" (read whole up to max bytes, else their start) and those
    // waiting in the folder (their start).
    std::vector<TMDENichtEingelesen> NichtEingelesene(qint64 max) const;

private:
    const TVerzeichnis& Arbeit() const;
    QString FPfad;
    QString FArbeitName;
    std::optional<TVerzeichnis> FOrdner, FArbeitOrdner, FArbeit, FArchiv, FFehler;
};

// Whether a name is that of a count file ("*.mde", any case).
bool IstZaehldateiName(const QString& name);
