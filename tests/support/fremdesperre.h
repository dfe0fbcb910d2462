#pragma once

#include "framework/core/int32trio.h"

#include <QString>

// A lock row as another program writes it: holder and lock time as given, no database session.
void FremdeZeile(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                 const QString& programm = QStringLiteral("KASSE"), int terminalNr = 7);

// A lock another terminal holds on an article for as long as this lives: its row (holder
// and lock time as given) and, on PostgreSQL, written by a session of its own that keeps the
// advisory lock and is named in the row, as a live holder does. At the end the session is
// terminated and leaves the row behind, as a holder that died would.
class TFremdeSperre {
public:
    TFremdeSperre(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                  const QString& programm = QStringLiteral("KASSE"), int terminalNr = 7);
    ~TFremdeSperre();
    TFremdeSperre(const TFremdeSperre&) = delete;
    TFremdeSperre& operator=(const TFremdeSperre&) = delete;

private:
    QString FVerbindung;
    int FSitzung = 0;   // the backend pid of its session
};

// "1.10008.1" as a product id.
TInt32Trio ProduktId(const QString& text);
