#pragma once

#include "framework/core/int32trio.h"

#include <QMutex>
#include <QString>

#include <exception>
#include <map>

// The program object: module key, user, client data and installation settings.
class TORVProgramm {
public:
    // Process type, instance count and the further values are the installation's concern.
    void Init(const QString& modul, int prozessTyp, int instanzen, int wert, bool flag);
    const QString& Modul() const { return FModul; }

    // The user the program works for (default: the operating-system user).
    void SetBenutzer(const QString& benutzer) { FBenutzer = benutzer; }
    const QString& Benutzer() const { return FBenutzer; }

    // Shows an exception that reached the program entry.
    void ShowException(const std::exception& e, bool flag);

    // Text of the first client, from the database.
    QString GetTextMandant() const;
    TIntPair MandantErster() const;
    // The process id, eight digits.
    QString ProzessIdFormated() const;
    // Installation type (parameter "RTYP"); booking is allowed where it is 1.
    int GetRTyp() const;

    // Additional information kept for an object, for example a query's statement text;
    // callable from any thread.
    void ZusatzinfoAddOrUpdate(const void* objekt, const QString& text);
    QString Zusatzinfo(const void* objekt) const;

private:
    QString FModul;
    QString FBenutzer;
    mutable QMutex FMutex;
    std::map<const void*, QString> FZusatzinfo;
};

TORVProgramm& ORVProgramm();

// The operating-system user of the process.
QString BetriebssystemBenutzer();

// The user the program works for. On PostgreSQL it is the role the server authenticated for
// the connection; a requested user other than that role is refused (EORVFehler), so that no
// one takes over another user's rights. On a SQLite file, whose owner may change anything
// anyway, the requested user, else the operating-system user.
QString ProgrammBenutzerBestimmen(const QString& gewuenscht);

// The framework parameters.
class TORVParameter {
public:
    // The parameter's text; empty when it is missing.
    QString GetStringValueByName(const QString& name) const;
};

TORVParameter& ORVParameter();
