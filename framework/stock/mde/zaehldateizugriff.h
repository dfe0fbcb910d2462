#pragma once

#include "framework/core/datetime.h"

#include <QString>
#include <QStringList>

#include <optional>

// The table ZAEHLDATEI: every count file imported, found by the key of its content (column
// sha256: the SHA-256 of the file's normal form; imports recorded before that key was used
// hold the SHA-256 of the file's bytes).
struct TZaehldateiEintrag {
    QString Name;
    QString Sha256;   // hexadecimal, lower case
    QString Geraet;
    int Zeilen = 0;
    int64_t Stueck = 0;
    QString Benutzer;
    TDateTime Zeit = 0;
};

// The import of a content under one of its keys, when there was one.
std::optional<TZaehldateiEintrag> Zaehldatei_Lesen(const QStringList& schluessel);
// Records an import; a content recorded before fails on the table's unique key (on
// PostgreSQL after the other transaction that records it ended).
void Zaehldatei_Eintragen(const TZaehldateiEintrag& e);
