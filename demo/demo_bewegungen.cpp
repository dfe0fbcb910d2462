#include "demo/bulkinsert.h"
#include "demo/demogenerator.h"

#include "framework/article/besttyp.h"
#include "framework/db/datenfeld.h"
#include "framework/stock/artbewtyp.h"
#include "framework/stock/verkbeleg.h"

#include <algorithm>

// Two years of receipts, sales, transfers and zero-quantity price changes per article and
// branch, applied in date order so that no sale or transfer takes stock that is not there.
// The current stock is the sum of all movements.
void TDemoGenerator::Bewegungen(QSqlDatabase& db)
{
    const QDate start = FP.Heute.addYears(-2);
    const int tage = static_cast<int>(start.daysTo(FP.Heute));
    const TDateTime preisAenderung = Tag(FP.Heute.addDays(-200));

    TBulkInsert bne(db, "bne", QStringList{"produkt_id_1", "produkt_id_2", "produkt_id_3", "filiale", "datum", "filiale2",
                                           "bewart", "besttyp"} + MengenSpalten("menge", 0));
    TBulkInsert lst(db, "lst", {"postyp", "filiale", "datum", "produkt_id_1", "produkt_id_2", "produkt_id_3", "groesse",
                                "menge", "preis"});
    TBulkInsert bestand(db, "bestand", QStringList{"produkt_id_1", "produkt_id_2", "produkt_id_3", "filiale", "besttyp"}
                                           + MengenSpalten("menge", 0));

    for (size_t ai = 0; ai < FArtikel.size(); ++ai) {
        const TArtikel& a = FArtikel[ai];
        const TRaster& raster = FRaster[a.Raster];
        const int lo = a.GrVon - 1, hi = a.GrBis - 1;
        const auto zeit = [&](int tag) { return Tag(start.addDays(tag)) + Zufall(9 * 60, 19 * 60) / 1440.0; };

        std::vector<TBewegung> geplant;
        const auto zugang = [&](int fil, int tag, int besttyp, int max) {
            TBewegung b{zeit(tag), fil, 0, abtWareneingang, besttyp, {}};
            for (int s = lo; s <= hi; ++s)
                b.Menge[s] = Zufall(0, max);
            geplant.push_back(b);
        };
        for (int fil : a.Filialen) {
            const int erster = Zufall(0, 60);
            zugang(fil, erster, 1, 3);
            zugang(fil, std::min(tage - 1, 330 + Zufall(0, 60)), 1, 2);
            if (Chance(40))
                zugang(fil, erster, 2, 2);
            if (Chance(15))
                zugang(fil, erster + 5, 8, 1);
            if (Chance(10)) {
                TBewegung r{zeit(erster + 10), fil, 0, abtWareneingang, 12, {}};
                r.Menge[Zufall(lo, hi)] = 1;
                geplant.push_back(r);
            }
            for (int v = Zufall(2, 10); v > 0; --v)   // sales: the slot is chosen when applied
                geplant.push_back({zeit(Zufall(erster + 1, tage - 1)), fil, 0, abtVerkauf, 1, {}});
            if (a.Filialen.size() > 1 && Chance(20)) {
                const int ziel = a.Filialen[(std::find(a.Filialen.begin(), a.Filialen.end(), fil) - a.Filialen.begin() + 1)
                                            % a.Filialen.size()];
                geplant.push_back({zeit(Zufall(erster + 1, tage - 1)), fil, ziel, abtUmlagerungAbgang, 1, {}});
            }
            if (Chance(20))
                geplant.push_back({preisAenderung + 0.25, fil, 0, abtPreisaenderung, 1, {}});
        }
        std::stable_sort(geplant.begin(), geplant.end(),
                         [](const TBewegung& x, const TBewegung& y) { return x.Datum < y.Datum; });

        std::map<std::pair<int, int>, std::array<int32_t, 100>> stand;   // (branch, stock type)
        const auto buchen = [&](const TBewegung& b) {
            auto& s = stand[{b.Filiale, b.BestTyp}];
            for (int i = 0; i < 100; ++i)
                s[i] += b.Menge[i];
            FBewegungen[{static_cast<int>(ai), b.Filiale}].push_back(b);
        };
        for (TBewegung b : geplant) {
            if (b.BewArtPos == abtVerkauf || b.BewArtPos == abtUmlagerungAbgang) {
                auto& s = stand[{b.Filiale, 1}];
                std::vector<int> vorraetig;
                for (int i = lo; i <= hi; ++i)
                    if (s[i] > 0)
                        vorraetig.push_back(i);
                if (vorraetig.empty())
                    continue;
                const int slot = vorraetig[Zufall(0, static_cast<int>(vorraetig.size()) - 1)];
                b.Menge[slot] = -1;
                buchen(b);
                if (b.BewArtPos == abtVerkauf) {
                    lst.Zeile({CZEP_VerkBeleg_PosTyp_2_LstKuerzel[vbptVerkauf], b.Filiale, SqlDatum(b.Datum), a.Id.Int1, a.Id.Int2,
                               a.Id.Int3, raster.Groessen[slot], 1, a.VK});
                } else {
                    TBewegung zu{b.Datum, b.Filiale2, b.Filiale, abtUmlagerungZugang, 1, {}};
                    zu.Menge[slot] = 1;
                    buchen(zu);
                }
            } else {
                buchen(b);
            }
        }

        for (int fil : a.Filialen) {
            for (const TBewegung& b : FBewegungen[{static_cast<int>(ai), fil}]) {
                QVariantList z{a.Id.Int1, a.Id.Int2, a.Id.Int3, b.Filiale, SqlDatum(b.Datum), b.Filiale2,
                               ArtBewTyp_DbCode(static_cast<TORV_ArtBewTyp_Pos>(b.BewArtPos)), QString(ArtBestTyp_2_Char(b.BestTyp))};
                for (int32_t m : b.Menge)
                    z << m;
                bne.Zeile(z);
            }
        }
        for (const auto& [key, mengen] : stand) {
            QVariantList z{a.Id.Int1, a.Id.Int2, a.Id.Int3, key.first, key.second};
            for (int32_t m : mengen)
                z << m;
            bestand.Zeile(z);
        }
    }
    bne.Ende();
    lst.Ende();
    bestand.Ende();
}
