#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"

#include <QString>

#include <functional>

// Who holds an article lock: filled when a lock is refused. An empty article text stands for
// no conflict; the booking sets it to the article number of the refused article.
struct TZEP_clMeldung {
    QString Artikel;
    TDateTime SperrZeit = 0;
    QString Programm;
    QString Terminal;
    QString TerminalNr;
    int ProzessId = 0;

    void init() { *this = TZEP_clMeldung{}; }
};

// Article locks across processes and terminals, one row per locked article in the table
// artsperre (its unique key excludes a second holder). A lock whose holder is gone is taken
// over and the takeover written to the protocol: on this host when the holding process no
// longer runs, from another host when it is older than the parameter SPERRE_MAX_MINUTEN
// (default 720 minutes).
class TCommonLock {
public:
    // Locks the article for this process; false with the holder in AMeldung when another
    // process holds it. A lock this process holds already counts as taken.
    bool LockProdId(const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung, bool AStumm);
    void UnlockProdId(const TInt32Trio& AProdId, bool AStumm);

    // Notifications around the postings of a locked article, for whoever listens.
    void RECVMessageLockProdId(const TInt32Trio& AProdId);
    void RECVMessageUnlockProdId(const TInt32Trio& AProdId);
    std::function<void(const TInt32Trio&, bool gesperrt)> OnNachricht;

    // The program name written into the locks this process takes.
    void SetProgramm(const QString& programm) { FProgramm = programm; }

private:
    bool Uebernehmen(qint64 id, const TZEP_clMeldung& halter);
    QString FProgramm = QStringLiteral("KALMET");
};

TCommonLock& CommonLock();
