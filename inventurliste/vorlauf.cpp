#include "inventurliste/vorlauf.h"

#include "framework/app/info.h"
#include "framework/article/artlessimple.h"
#include "framework/db/connection.h"
#include "framework/db/produktblock.h"
#include "framework/stock/invmani.h"

TBlockVorlauf::TBlockVorlauf(bool mitRegal, bool mitBestand)
    : FMitRegal(mitRegal), FMitBestand(mitBestand), FThread([this] { Arbeiten(); })
{
}

TBlockVorlauf::~TBlockVorlauf()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FEnde = true;
    }
    FSignal.notify_all();
    FThread.join();
}

void TBlockVorlauf::Anstossen(std::vector<TInt32Trio> ids, std::vector<TInventurSchluessel> inventuren, TDateTime ab)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FAuftrag = TAuftrag{std::move(ids), std::move(inventuren), ab};
        FFertig = false;
        FFehler = nullptr;
    }
    FSignal.notify_all();
}

void TBlockVorlauf::Uebergeben(TInventurliste& liste)
{
    std::unique_lock<std::mutex> lock(FMutex);
    while (!FSignal.wait_for(lock, std::chrono::milliseconds(50), [this] { return FFertig; })) {
        lock.unlock();
        ORVInfoProcessMessages(50);
        lock.lock();
    }
    if (FFehler)
        std::rethrow_exception(std::exchange(FFehler, nullptr));
    liste.VorratTauschen(*FArtikel, FReNr);
    liste.Saetze().VorratTauschen(*FSaetze);
    if (FMitBestand)
        liste.InvMani().VorratTauschen(*FInvMani);
}

void TBlockVorlauf::Arbeiten()
{
    for (;;) {
        TAuftrag auftrag;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FSignal.wait(lock, [this] { return FEnde || FAuftrag; });
            if (FEnde)
                break;
            auftrag = std::move(*FAuftrag);
            FAuftrag.reset();
        }
        std::exception_ptr fehler;
        try {
            Lesen(auftrag);
        } catch (...) {
            fehler = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FFehler = fehler;
            FFertig = true;
        }
        FSignal.notify_all();
    }
    // the readers' statements belong to this thread's connection
    FArtikel.reset();
    FReNrAbfrage.reset();
    FInvMani.reset();
    FSaetze.reset();
    TZEP_Connection::CloseThreadConnection();
}

void TBlockVorlauf::Lesen(const TAuftrag& a)
{
    if (!FArtikel)
        FArtikel.reset(TORVServerFactory::ArtLesSimpleHolen());
    FArtikel->Vorladen(a.Ids);
    FReNr.clear();
    if (FMitRegal)
        TInventurliste::ReNrLesen(FReNrAbfrage, a.Ids, FReNr);
    if (!FSaetze)
        FSaetze = std::make_unique<TInventurSaetze>();
    FSaetze->Vorladen(a.Ids, a.Inventuren);
    if (FMitBestand) {
        if (!FInvMani)
            FInvMani = std::make_unique<TInvMani>();
        FInvMani->Vorladen(a.Ids, a.Ab, FArtikel.get());
    }
}
