#pragma once

#include "framework/core/int32trio.h"

#include <QString>

// A lock another terminal holds on an article for as long as this lives: its row (holder
// and lock time as given) and, on PostgreSQL, the advisory lock of a session of its own, as
// a live holder keeps it. At the end the session goes and leaves the row behind, as a holder
// that died would.
class TFremdeSperre {
public:
    TFremdeSperre(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                  const QString& programm = QStringLiteral("KASSE"), int terminalNr = 7);
    ~TFremdeSperre();
    TFremdeSperre(const TFremdeSperre&) = delete;
    TFremdeSperre& operator=(const TFremdeSperre&) = delete;

private:
    QString FVerbindung;
};

// "1.10008.1" as a product id.
TInt32Trio ProduktId(const QString& text);
