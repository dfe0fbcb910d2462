#pragma once

#include "framework/app/interaktion.h"
#include "framework/db/dburl.h"

#include <QString>

// A catalogue entry: module and message number.
struct TInfoKoord {
    QString Modul;
    int Nr = 0;
    TInfoKoord(QString modul, int nr) : Modul(std::move(modul)), Nr(nr) {}
};

// Whether the current user holds the right; a missing right is told to the user.
bool UserRechtePruefen(const QString& recht, int pruefArt, const QString& zusatz, int funktionsTyp, bool flag, int reaktion);

// Whether the current user holds the right, without a word to anyone; a user missing from the
// user table holds none.
bool UserHatRecht(const QString& recht);

// The question of a catalogue entry with several answers; false when none was chosen.
bool FrageDlgExecute(const TInfoKoord& koord, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt,
                     QObject* owner = nullptr);

// The version information window.
void VersionsInfoZeigen(const QString& titel, QObject* owner, const QString& text2);

// url with the password a person typed, when the server asks for one that neither the URL nor
// the client library's sources give; else url unchanged. Without a person to ask, or when none
// was typed, opening the database then fails with the server's refusal.
TDbUrl PasswortErfragen(TDbUrl url);
