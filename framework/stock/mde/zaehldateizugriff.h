#pragma once

#include "framework/core/datetime.h"

#include <QString>

#include <optional>

// The table ZAEHLDATEI: every count file imported, found by the SHA-256 of its content.
struct TZaehldateiEintrag {
    QString Name;
    QString Sha256;   // hexadecimal, lower case
    QString Geraet;
    int Zeilen = 0;
    int Stueck = 0;
    QString Benutzer;
    TDateTime Zeit = 0;
};

// The import of this content, when there was one.
std::optional<TZaehldateiEintrag> Zaehldatei_Lesen(const QString& sha256);
// Records an import; a content recorded before fails on the table's unique key (on
// PostgreSQL after the other transaction that records it ended).
void Zaehldatei_Eintragen(const TZaehldateiEintrag& e);
