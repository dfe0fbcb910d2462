#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

#include <sys/stat.h>
#include <vector>

// An entry of a folder as it is, links not followed.
struct TEintrag {
    QString Name;
    bool Datei = false;        // a regular file with no second name (not a link, hard link, folder, pipe or device)
    bool NameLesbar = true;    // false: the name's bytes are no text of this system; it is only reported
    qint64 GeaendertMs = 0;    // last change, milliseconds since the epoch
};

// What reading a file came to; only Gelesen has content.
struct TDateiGelesen {
    enum TArt { Gelesen, Weg, KeineDatei, Unlesbar, ZuGross, Veraendert };
    TArt Art = Weg;
    QByteArray Inhalt;
    qint64 Groesse = 0;
    QString Grund;   // Unlesbar: the system's reason
};

// A folder opened once and used through its descriptor. Names below it are resolved without
// following links, so a folder or file swapped for a link between a check and its use is
// never followed; new files never replace anything. Failures of the folder itself (not
// writable, gone, full) raise; what concerns one name is answered.
class TVerzeichnis {
public:
    // The folder at pfad; the path itself may lead through links (it is configured, not dropped).
    static TVerzeichnis Oeffnen(const QString& pfad);
    // The subfolder name, created (rwxr-x---) when missing; refused when it is a link, no
    // folder, or when another user than this one (or root) owns it or everyone may write in it.
    TVerzeichnis Unterordner(const QString& name) const;
    // The subfolder name when it is there as a folder.
    std::unique_ptr<TVerzeichnis> UnterordnerFalls(const QString& name) const;

    const QString& Pfad() const { return FPfad; }
    std::vector<TEintrag> Eintraege() const;
    bool Vorhanden(const QString& name) const;
    // Raises unless files can be created and removed here.
    void Beschreibbar() const;

    // Moves name to ziel/zielname; false when name is gone or zielname taken.
    bool Verschieben(const QString& name, const TVerzeichnis& ziel, const QString& zielname) const;
    // A regular file read at once, at most max bytes: Veraendert when it changed while it was
    // read or less than ruheMs ago. What cannot be opened for a reason of the file (rights, a
    // lease, a name too long) is Unlesbar; only a shortage of the process raises.
    TDateiGelesen Lesen(const QString& name, qint64 max, qint64 ruheMs = 0) const;
    // The first bytes of a regular file, at most max, without further checks.
    TDateiGelesen Anfang(const QString& name, qint64 max) const;
    // Creates name with inhalt, readable by owner and group; false when the name is taken.
    bool Anlegen(const QString& name, const QByteArray& inhalt) const;
    // Removes the empty subfolder name; false when it is not empty or gone.
    bool OrdnerEntfernen(const QString& name) const;

private:
    // Opens a file for reading: its descriptor, or -1 with r telling why.
    int Oeffnen(const QString& name, TDateiGelesen& r, struct stat& st) const;
    TVerzeichnis(std::shared_ptr<const int> fd, QString pfad) : FFd(std::move(fd)), FPfad(std::move(pfad)) {}
    int Fd() const { return *FFd; }
    [[noreturn]] void Raise(const QString& was, int fehler) const;
    std::shared_ptr<const int> FFd;
    QString FPfad;
};
