#pragma once

#include <QString>
#include <QStringList>

// The folder that scanners' export tools write count files (*.mde) into, and its subfolders:
// "arbeit/<machine>-<process id>" holds the files a process claimed, "archiv" those imported,
// "fehler" those rejected, each beside its report "<name>.txt". A file is claimed by moving
// it into the process's work folder, so that of several processes only one reads it; files
// are never overwritten, a name already taken gets a number ("inv-2.mde").
class TMDEOrdner {
public:
    explicit TMDEOrdner(QString pfad);
    const QString& Pfad() const { return FPfad; }

    // The count files waiting in the folder, by name.
    QStringList Wartende() const;
    // Moves a waiting file into this process's work folder; its path there, empty when another
    // process claimed it first.
    QString Beanspruchen(const QString& name);
    // Files left in the work folders of this machine's processes that no longer run (and in
    // this process's own), claimed now by this one: an import that was interrupted.
    QStringList Verwaiste();

    // Moves a claimed file to "archiv"; its path there.
    QString Archivieren(const QString& pfad);
    // Moves a claimed file to "fehler" beside its report; its path there.
    QString Ablehnen(const QString& pfad, const QString& bericht);
    // Gives a claimed file back to the folder (its import failed for another reason).
    void Zurueckgeben(const QString& pfad);

private:
    QString Unterordner(const QString& name) const;
    QString FPfad;
    QString FArbeit;
};
