#include "framework/report/seitenvorlauf.h"

#include "framework/report/lauf.h"

#include <QThread>

#include <algorithm>

TSeitenVorlauf::TSeitenVorlauf(TReportLauf& lauf, int von, int bis) : FVergabe(von), FBis(bis)
{
    lauf.Seitenanzahl();
    const int n = std::max(QThread::idealThreadCount(), 1);
    FHoechstens = 2 * static_cast<size_t>(n);
    for (int i = 0; i < n; ++i)
        FAbleger.push_back(lauf.Ableger());
    for (auto& a : FAbleger)
        FArbeiter.emplace_back([this, &a] { Arbeiten(*a); });
}

TSeitenVorlauf::~TSeitenVorlauf()
{
    {
        const std::lock_guard sperre(FSperre);
        FStopp = true;
    }
    FGeaendert.notify_all();
    for (std::thread& t : FArbeiter)
        t.join();
}

// The next window to lay out, or null when there is none or the work stops. Windows end where
// the run keeps a page's start, so that each is laid out from its own.
TSeitenVorlauf::TFenster* TSeitenVorlauf::FensterNehmen()
{
    std::unique_lock sperre(FSperre);
    FGeaendert.wait(sperre, [&] { return FStopp || FVergabe > FBis || FFenster.size() < FHoechstens; });
    if (FStopp || FVergabe > FBis)
        return nullptr;
    const int bis = std::min(FBis, (FVergabe - 1) / TReportLauf::CMerkAbstand * TReportLauf::CMerkAbstand + TReportLauf::CMerkAbstand);
    FFenster.push_back({FVergabe, bis, {}, {}, false});
    FVergabe = bis + 1;
    return &FFenster.back();   // stays in place: the deque grows at the back, shrinks at the front
}

void TSeitenVorlauf::Arbeiten(TReportLauf& lauf)
{
    while (TFenster* f = FensterNehmen()) {
        std::vector<TSeite> seiten;
        std::exception_ptr fehler;
        try {
            for (int nr = f->von; nr <= f->bis && !FStopp; ++nr)
                seiten.push_back(lauf.SeitenPlan(nr));
        } catch (...) {
            fehler = std::current_exception();   // raised by Naechste
        }
        {
            const std::lock_guard sperre(FSperre);
            f->seiten = std::move(seiten);
            f->fehler = fehler;
            f->fertig = true;
        }
        FGeaendert.notify_all();
    }
}

TSeite TSeitenVorlauf::Naechste()
{
    std::unique_lock sperre(FSperre);
    FGeaendert.wait(sperre, [&] { return !FFenster.empty() && FFenster.front().fertig; });
    TFenster& f = FFenster.front();
    if (f.fehler)
        std::rethrow_exception(f.fehler);
    TSeite s = std::move(f.seiten[FGelesen++]);
    if (FGelesen == f.seiten.size()) {
        FFenster.pop_front();
        FGelesen = 0;
        sperre.unlock();
        FGeaendert.notify_all();
    }
    return s;
}
