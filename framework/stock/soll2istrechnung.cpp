#include "framework/stock/soll2istrechnung.h"

TSoll2IstErgebnis Soll2IstRechnen(const std::vector<TSoll2IstSoll>& soll, const TSoll2IstBisher& bisher,
                                  const std::vector<TSoll2IstFehlverkauf>& fehlverkaeufe, const std::vector<TInt32Trio>& gebucht,
                                  const std::function<bool(int besttyp)>& istGezaehlt)
{
    TSoll2IstErgebnis r(&TInt32Trio::Numerisch_Kleiner);
    for (const TSoll2IstSoll& s : soll) {
        TSoll2IstArtikel& a = r[s.Id];
        if (!s.Aktuell || s.BestTyp < 1 || s.BestTyp > 16 || !istGezaehlt(s.BestTyp))
            continue;
        for (int i = 0; i < 100; ++i)
            a.Neu[i] += s.Menge[i];
    }
    for (const auto& [id, m] : bisher)
        r[id].Bisher = m;
    for (const TSoll2IstFehlverkauf& f : fehlverkaeufe) {
        const auto it = r.find(f.Id);
        if (it != r.end() && f.Slot >= 0 && f.Slot <= 99)
            it->second.Neu[f.Slot] -= f.Verkauft;
    }
    for (const TInt32Trio& id : gebucht)
        r.erase(id);
    return r;
}
