#pragma once

#include "framework/article/preisview.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/inventursaetze.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class TInvMani;

// A thread of its own (with its own connection) that runs one reading job at a time.
class TLeseThread {
public:
    // ende runs on the thread when it ends, before its connection is closed: the readers made
    // there hold statements of that connection.
    explicit TLeseThread(std::function<void()> ende);
    ~TLeseThread();
    TLeseThread(const TLeseThread&) = delete;
    TLeseThread& operator=(const TLeseThread&) = delete;

    // Starts a job once the one before has ended (its failure is thrown here).
    void Anstossen(std::function<void()> auftrag);
    // Waits for the job started last; its failure is thrown here. While it waits, the user
    // interface is let answer.
    void Warten();

private:
    void Arbeiten();

    std::function<void()> FEnde;
    std::mutex FMutex;
    std::condition_variable FSignal;
    std::function<void()> FAuftrag;   // waiting for the thread
    bool FFertig = true;              // the job started last is done
    bool FBeenden = false;
    std::exception_ptr FFehler;
    std::thread FThread;
};

// Reads the next block of articles on threads of their own while the build computes the block
// before: one reads master records, prices (on PostgreSQL a thread of their own), RENR numbers
// and, for a back-calculation, stock; one the count records of the rows' inventories, one their
// target and erroneous-sale records; for a back-calculation one the movements, so that the
// statements' work on the server overlaps.
// The build hands each block over to its readers.
class TBlockVorlauf {
public:
    TBlockVorlauf(bool mitRegal, bool mitBestand);
    TBlockVorlauf(const TBlockVorlauf&) = delete;
    TBlockVorlauf& operator=(const TBlockVorlauf&) = delete;

    // Starts reading a block in the inventories (movements from day ab on); one block at a time.
    void Anstossen(const std::vector<TInt32Trio>& ids, std::vector<TInventurSchluessel> inventuren, TDateTime ab);
    // Waits for the block started last and gives it to the list's readers; a failure of the
    // reading is thrown here.
    void Uebergeben(TInventurliste& liste);

private:
    void StammLesen(const std::vector<TInt32Trio>& ids);
    std::vector<TLeseThread*> Threads();

    const bool FMitRegal;
    const bool FMitBestand;
    // on PostgreSQL the prices come on a thread of their own (FPreise)
    const bool FPreiseApart;
    // the threads' readers, made on them; they hold the block read last
    std::unique_ptr<IORV_ArtLesSimple> FArtikel;
    std::unique_ptr<TORV_ArtPreisView> FPreisVorrat;
    std::unique_ptr<TProduktBlockAbfrage> FReNrAbfrage;
    TInventurliste::TReNrVorrat FReNr{&TInt32Trio::Numerisch_Kleiner};
    std::unique_ptr<TInvMani> FInvMani;
    std::unique_ptr<TInvMani> FBewegungMani;
    std::unique_ptr<TInventurSaetze> FSaetze;       // the count records
    std::unique_ptr<TInventurSaetze> FSollSaetze;   // the target and erroneous-sale records
    // declared last: they end (and take their readers with them) before the readers' members go
    TLeseThread FStamm;
    TLeseThread FInventur;
    TLeseThread FSoll;
    std::unique_ptr<TLeseThread> FPreise;     // only on PostgreSQL
    std::unique_ptr<TLeseThread> FBewegung;   // only for a back-calculation
};
