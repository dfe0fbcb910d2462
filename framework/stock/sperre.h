#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"
#include "framework/db/transaktion.h"

#include <QString>

#include <functional>
#include <optional>

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
// artsperre (its unique key excludes a second holder); the lock time is the database's clock.
// A lock whose holder is gone is taken over and the takeover written to the protocol:
// - on PostgreSQL the holder keeps a session-level advisory lock on the article, key
//   hashtextextended('artsperre:<id1>.<id2>.<id3>', 0), for as long as it holds the row (the
//   statement that deletes the row frees it), and the row names the holder's session (backend
//   pid and start); a row whose advisory lock is free and whose session no longer exists is
//   taken over at once, on any machine;
// - on this machine, when the holding process no longer runs;
// - otherwise, among them every row that names no session (another program's, and all on
//   SQLite), when it is older than the parameter SPERRE_MAX_MINUTEN (default 720 minutes).
class TCommonLock {
public:
    // Locks the article for this process; false with the holder in AMeldung when another
    // process holds it. A lock this process holds already counts as taken.
    bool LockProdId(const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung, bool AStumm);
    // Deletes this process's lock row of the article and, on PostgreSQL, frees the advisory
    // lock. Work done under the lock in a transaction releases it with TArtikelSperre::FreigebenMit.
    void UnlockProdId(const TInt32Trio& AProdId, bool AStumm);

    // Removes the locks of this machine's processes that no longer run, each with a protocol
    // line; the number removed.
    int VerwaisteEntfernen();

    // Notifications around the postings of a locked article, for whoever listens.
    void RECVMessageLockProdId(const TInt32Trio& AProdId);
    void RECVMessageUnlockProdId(const TInt32Trio& AProdId);
    std::function<void(const TInt32Trio&, bool gesperrt)> OnNachricht;

    // The program name written into the locks this process takes.
    void SetProgramm(const QString& programm) { FProgramm = programm; }

private:
    QString FProgramm = QStringLiteral("KALMET");
};

TCommonLock& CommonLock();

// The key text of an article's advisory lock on PostgreSQL.
QString SperrSchluessel(const TInt32Trio& id);

// Holds an article lock for as long as it lives (with the lock notifications around it):
// taken when it is made, released on every way out. FreigebenMit releases it in the
// article's own transaction, so that the work and the release are committed as one: a
// process that dies before leaves a lock to be taken over and nothing of the work.
class TArtikelSperre {
public:
    // Gehalten() tells whether the lock was taken; when not, halter names the holder.
    TArtikelSperre(const TInt32Trio& id, TZEP_clMeldung& halter);
    ~TArtikelSperre();
    TArtikelSperre(const TArtikelSperre&) = delete;
    TArtikelSperre& operator=(const TArtikelSperre&) = delete;

    bool Gehalten() const { return FGehalten; }
    // Deletes the lock row inside t and commits t.
    void FreigebenMit(TTransaktion& t);

private:
    TInt32Trio FId;
    bool FGehalten = false;
};

// The transaction of an article's work under its lock. On PostgreSQL the lock is taken and
// committed first, so that other terminals see who holds the article while the work runs. On
// SQLite the write transaction excludes every other writer anyway: the lock row is written inside
// it, and an article costs one commit instead of two.
class TArtikelTransaktion {
public:
    // Gehalten() tells whether the lock was taken; when not, halter names the holder.
    TArtikelTransaktion(const TInt32Trio& id, TZEP_clMeldung& halter, const QString& ort);

    bool Gehalten() const { return FSperre->Gehalten(); }
    // Releases the lock inside the transaction and commits both.
    void Commit();

private:
    // destroyed in reverse: the transaction begun under the lock, the lock, the transaction around it
    std::optional<TTransaktion> FUmSperre;
    std::optional<TArtikelSperre> FSperre;
    std::optional<TTransaktion> FUnterSperre;
};
