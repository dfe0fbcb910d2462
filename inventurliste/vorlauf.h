#pragma once

#include "inventurliste/inventurliste.h"
#include "inventurliste/inventursaetze.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

class TInvMani;

// Reads the next block of articles on a thread of its own (with its own connection) while the
// build computes the block before: master records, prices, RENR numbers, the count, target and
// erroneous-sale records of the rows' inventories and, for a back-calculation, stock and
// movements. The build hands each block over to its readers.
class TBlockVorlauf {
public:
    TBlockVorlauf(bool mitRegal, bool mitBestand);
    ~TBlockVorlauf();
    TBlockVorlauf(const TBlockVorlauf&) = delete;
    TBlockVorlauf& operator=(const TBlockVorlauf&) = delete;

    // Starts reading a block in the inventories (movements from day ab on); one block at a time.
    void Anstossen(std::vector<TInt32Trio> ids, std::vector<TInventurSchluessel> inventuren, TDateTime ab);
    // Waits for the block started last and gives it to the list's readers; a failure of the
    // reading is thrown here. While it waits, the user interface is let answer.
    void Uebergeben(TInventurliste& liste);

private:
    struct TAuftrag {
        std::vector<TInt32Trio> Ids;
        std::vector<TInventurSchluessel> Inventuren;
        TDateTime Ab = 0;
    };
    void Arbeiten();
    void Lesen(const TAuftrag& a);

    const bool FMitRegal;
    const bool FMitBestand;
    std::mutex FMutex;
    std::condition_variable FSignal;
    std::optional<TAuftrag> FAuftrag;   // waiting for the thread
    bool FFertig = true;                // the block started last is read
    bool FEnde = false;
    std::exception_ptr FFehler;
    // the thread's readers, made on it; they hold the block read last
    std::unique_ptr<IORV_ArtLesSimple> FArtikel;
    std::unique_ptr<TProduktBlockAbfrage> FReNrAbfrage;
    TInventurliste::TReNrVorrat FReNr{&TInt32Trio::Numerisch_Kleiner};
    std::unique_ptr<TInvMani> FInvMani;
    std::unique_ptr<TInventurSaetze> FSaetze;
    std::thread FThread;
};
