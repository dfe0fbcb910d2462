#pragma once

#include "framework/report/seite.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TReportLauf;

// Lays out the pages von..bis of a run on worker threads, as many as the machine has, window
// by window ahead of the caller, who takes them in order. Each worker lays out on a run of its
// own (TReportLauf::Ableger); a few windows wait at most, so memory stays bounded however long
// the report. An error of a worker is raised by Naechste in the caller's thread; the destructor
// stops the workers and waits for them.
class TSeitenVorlauf {
public:
    // Counts the run's pages first: every plan names the number of pages.
    TSeitenVorlauf(TReportLauf& lauf, int von, int bis);
    ~TSeitenVorlauf();
    TSeitenVorlauf(const TSeitenVorlauf&) = delete;
    TSeitenVorlauf& operator=(const TSeitenVorlauf&) = delete;

    // The plan of the next page, as TReportLauf::SeitenPlan gives it; called once per page.
    TSeite Naechste();

private:
    struct TFenster {
        int von, bis;
        std::vector<TSeite> seiten;
        std::exception_ptr fehler;
        bool fertig = false;
    };

    void Arbeiten(TReportLauf& lauf);
    TFenster* FensterNehmen();

    std::mutex FSperre;
    std::condition_variable FGeaendert;
    std::deque<TFenster> FFenster;   // handed out and not yet read through; the first is read next
    size_t FHoechstens;              // windows handed out at a time
    int FVergabe;                    // the first page of the next window to hand out
    int FBis;
    size_t FGelesen = 0;             // pages of the first window already read
    std::atomic<bool> FStopp = false;
    std::vector<std::unique_ptr<TReportLauf>> FAbleger;
    std::vector<std::thread> FArbeiter;
};
