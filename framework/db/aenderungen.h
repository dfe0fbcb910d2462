#pragma once

#include "framework/core/datetime.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QSqlDatabase;

// An inventory another writer changed: count date, product group as stored, branch.
struct TIANotiz {
    TDateTime ZaehlDatum = 0;
    QString WGN;
    int32_t Filiale = 0;
};

// Notices of changed inventories for a window that shows them. On PostgreSQL a connection of
// its own listens to the inventory table's trigger and is checked once a second; a broken
// one (server restart) is opened again and asks for one full reload. On SQLite the data
// version of the calling thread's connection is compared every 100 ms, which changes only
// when another connection committed; then the inventories the change log names after the
// last entry seen are handed over (everything, when entries not seen were removed). Notices
// wait while the owner says it is busy. A lost connection is over at the next check the owner
// is idle: the connections are opened anew and everything is read again.
class TIAAenderungen {
public:
    enum class TKanal { Abfrage, Live, Unterbrochen };

    TIAAenderungen();
    ~TIAAenderungen();
    TIAAenderungen(const TIAAenderungen&) = delete;
    TIAAenderungen& operator=(const TIAAenderungen&) = delete;

    // Opens the channel for the configured database; a failure is told through OnKanal and
    // tried again with the next check. What changed before is not handed over: the owner
    // reads everything after it.
    void Starten();
    void Beenden();
    TKanal Kanal() const { return FKanal; }

    // False while notices must wait (a dialog, a build, a booking).
    std::function<bool()> Darf;
    // The changed inventories; alle: what changed is unknown, everything is to be read again.
    // False when they could not be read: everything is handed over again with the next second.
    std::function<bool(const std::vector<TIANotiz>& notizen, bool alle)> OnGeaendert;
    // The channel changed its state; wieder: it was broken and is open again.
    std::function<void(TKanal kanal, bool wieder)> OnKanal;

    // Hands over what waits, when allowed.
    void Zustellen();

    // The notice's text as the trigger writes it; false for another form.
    static bool NotizLesen(const QString& text, TIANotiz& notiz);

private:
    void Takt();
    void PostgresOeffnen();
    bool PostgresLebt();
    void SqliteAbfragen();
    void LogStandLernen();
    void LogLesen();
    void Vormerken(TIANotiz notiz);
    void KanalSetzen(TKanal kanal, bool wieder);

    QString FName;
    TKanal FKanal = TKanal::Unterbrochen;
    bool FGestartet = false;
    bool FWarUnterbrochen = false;
    qint64 FDatenVersion = -1;
    qint64 FLogStand = -1;   // the change log's last entry seen; -1 unknown
    std::vector<TIANotiz> FOffen;
    bool FAlle = false;
    QTimer FTakt;      // the checks
    QTimer FBuendeln;  // notices of one commit come together
    std::unique_ptr<QObject> FEmpfaenger;   // the driver's notices end with it
};
