#include "inventurliste/vorlauf.h"

#include "framework/app/info.h"
#include "framework/article/artlessimple.h"
#include "framework/db/connection.h"
#include "framework/db/produktblock.h"
#include "framework/stock/invmani.h"

TLeseThread::TLeseThread(std::function<void()> ende) : FEnde(std::move(ende)), FThread([this] { Arbeiten(); })
{
}

TLeseThread::~TLeseThread()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FBeenden = true;
    }
    FSignal.notify_all();
    FThread.join();
}

void TLeseThread::Anstossen(std::function<void()> auftrag)
{
    Warten();
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FAuftrag = std::move(auftrag);
        FFertig = false;
        FFehler = nullptr;
    }
    FSignal.notify_all();
}

void TLeseThread::Warten()
{
    std::unique_lock<std::mutex> lock(FMutex);
    while (!FSignal.wait_for(lock, std::chrono::milliseconds(50), [this] { return FFertig; })) {
        lock.unlock();
        ORVInfoProcessMessages(50);
        lock.lock();
    }
    if (FFehler)
        std::rethrow_exception(std::exchange(FFehler, nullptr));
}

void TLeseThread::Arbeiten()
{
    for (;;) {
        std::function<void()> auftrag;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FSignal.wait(lock, [this] { return FBeenden || FAuftrag; });
            if (FBeenden)
                break;
            auftrag = std::exchange(FAuftrag, nullptr);
        }
        std::exception_ptr fehler;
        try {
            auftrag();
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
    FEnde();
    TZEP_Connection::CloseThreadConnection();
}

TBlockVorlauf::TBlockVorlauf(bool mitRegal, bool mitBestand)
    : FMitRegal(mitRegal),
      FMitBestand(mitBestand),
      // on PostgreSQL the server's work for the prices overlaps that for the master records; on
      // SQLite both are this process's own work, which one more thread would only share out
      FPreiseApart(TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL),
      FStamm([this] {
          FArtikel.reset();
          FReNrAbfrage.reset();
          FInvMani.reset();
      }),
      FInventur([this] { FSaetze.reset(); }),
      FSoll([this] { FSollSaetze.reset(); })
{
    if (FMitBestand)
        FBewegung = std::make_unique<TLeseThread>([this] { FBewegungMani.reset(); });
    if (FPreiseApart)
        FPreise = std::make_unique<TLeseThread>([this] { FPreisVorrat.reset(); });
    // each thread connects now, while the build does its first reads
    for (TLeseThread* t : Threads())
        t->Anstossen([] { TZEP_Connection::Database(); });
}

std::vector<TLeseThread*> TBlockVorlauf::Threads()
{
    std::vector<TLeseThread*> r{&FStamm, &FInventur, &FSoll};
    for (TLeseThread* t : {FPreise.get(), FBewegung.get()})
        if (t)
            r.push_back(t);
    return r;
}

void TBlockVorlauf::Anstossen(const std::vector<TInt32Trio>& ids, std::vector<TInventurSchluessel> inventuren, TDateTime ab)
{
    FStamm.Anstossen([this, ids] { StammLesen(ids); });
    if (FPreiseApart)
        FPreise->Anstossen([this, ids] {
            if (!FPreisVorrat)
                FPreisVorrat = std::make_unique<TORV_ArtPreisView>();
            FPreisVorrat->Vorladen(ids);
        });
    FInventur.Anstossen([this, ids, inventuren] {
        if (!FSaetze)
            FSaetze = std::make_unique<TInventurSaetze>();
        FSaetze->ZaehlVorladen(ids, inventuren);
    });
    FSoll.Anstossen([this, ids, inventuren = std::move(inventuren)] {
        if (!FSollSaetze)
            FSollSaetze = std::make_unique<TInventurSaetze>();
        FSollSaetze->SollVorladen(ids, inventuren);
    });
    if (FBewegung)
        FBewegung->Anstossen([this, ids, ab] {
            if (!FBewegungMani)
                FBewegungMani = std::make_unique<TInvMani>();
            FBewegungMani->BewegungenVorladen(ids, ab);
        });
}

void TBlockVorlauf::Uebergeben(TInventurliste& liste)
{
    for (TLeseThread* t : Threads())
        t->Warten();
    liste.VorratTauschen(*FArtikel, FReNr);
    if (FPreiseApart)
        liste.ArtlesSimple().PreisVorratTauschen(*FPreisVorrat);
    liste.Saetze().ZaehlTauschen(*FSaetze);
    liste.Saetze().SollTauschen(*FSollSaetze);
    if (FMitBestand) {
        liste.InvMani().VorratTauschen(*FInvMani);
        liste.InvMani().BewegungenUebernehmen(*FBewegungMani);
    }
}

void TBlockVorlauf::StammLesen(const std::vector<TInt32Trio>& ids)
{
    if (!FArtikel)
        FArtikel.reset(TORVServerFactory::ArtLesSimpleHolen());
    if (FPreiseApart)   // the prices come on a thread of their own
        FArtikel->StammVorladen(ids);
    else
        FArtikel->Vorladen(ids);
    FReNr.clear();
    if (FMitRegal)
        TInventurliste::ReNrLesen(FReNrAbfrage, ids, FReNr);
    if (FMitBestand) {
        if (!FInvMani)
            FInvMani = std::make_unique<TInvMani>();
        FInvMani->BestandVorladen(ids, *FArtikel);
    }
}
