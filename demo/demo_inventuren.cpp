#include "demo/bulkinsert.h"
#include "demo/demogenerator.h"

#include "framework/article/besttyp.h"
#include "framework/article/iastatus.h"
#include "framework/core/geld.h"
#include "framework/db/datenfeld.h"

namespace {



// stock types the demo chain keeps: two counted ones, commission and reserved goods (not counted)
constexpr int CBestTypen[] = {1, 2, 8, 12};
constexpr bool Gezaehlt(int t) { return t == 1 || t == 2; }

}

// Inventories of three fiscal years: the previous one counted a few days after its end (so
// that back-calculation to the fiscal-year end applies), the current one with product-group
// inventories of several branches on one day and branch-wide ones, every status, and one
// planned inventory in the next year. Targets equal the stock at the count date.
void TDemoGenerator::Inventuren(QSqlDatabase& db)
{
    const TDateTime wj1 = WiJahrAktuell(FP.Heute);
    const QDate wj1Datum = TDateTime_ToQDate(wj1);
    const TDateTime wj0 = TDateTime_FromQDate(wj1Datum.addYears(-1));
    const TDateTime wj2 = TDateTime_FromQDate(wj1Datum.addYears(1));
    const TDateTime heute = Tag(FP.Heute);
    const int spanne = std::max(0, static_cast<int>(wj1 < heute ? heute - 1 - wj1 : 0));
    const TDateTime d1 = wj1 + spanne / 3, d2 = wj1 + 2 * spanne / 3;

    std::vector<TInventur> plan;
    for (int f : FFilialen)
        plan.push_back({wj0, wj1 + 2 + f % 2, "", f, f == FFilialen.back() && f > 1 ? 6 : 5});
    plan.push_back({wj0, wj0 + 160, FWarengruppen[0], FFilialen.front(), 5});
    const int status1[] = {3, 2, 4, 3, 1, 5, 2, 6, 3, 0, 2};
    int s = 0;
    for (int f : FFilialen)
        for (int g = 0; g < 2; ++g)
            plan.push_back({wj1, d1, FWarengruppen[4 * g + 8], f, status1[s++ % 11]});
    // one branch never counts an article twice on one day: the branch-wide inventory has a
    // day of its own
    plan.push_back({wj1, d2, FWarengruppen[1], FFilialen.front(), 3});
    plan.push_back({wj1, d2 + 1, "", FFilialen[std::min<size_t>(1, FFilialen.size() - 1)], 2});
    plan.push_back({wj1, d2 - 1, FWarengruppen[13], FLagerplatzFiliale, 3});
    plan.push_back({wj2, wj2 + 5, FWarengruppen[0], FFilialen.front(), 0});

    TBulkInsert ia(db, "ia", {"wijahr", "zaehldatum", "wgn", "filiale", "sollek", "istek", "kzzaehlung"});
    TBulkInsert iv(db, "iv", QStringList{"wijahr", "zaehldatum", "filiale", "produkt_id_1", "produkt_id_2", "produkt_id_3",
                                         "besttyp", "standneu", "standalt", "kzgebucht"} + MengenSpalten("menge", 0));
    TBulkInsert izns(db, "izns", QStringList{"zaehldatum", "produkt_id_1", "produkt_id_2", "produkt_id_3", "filiale",
                                             "satzart", "regal", "gezaehlt", "grvon", "grbis"} + MengenSpalten("gr_mesu", 1));

    for (const TInventur& inv : plan) {
        std::vector<const TArtikel*> artikel;
        for (const TArtikel& a : FArtikel) {
            const bool inGruppe = inv.Wgn.isEmpty() || a.Wgn == inv.Wgn;
            const bool gefuehrt = std::find(a.Filialen.begin(), a.Filialen.end(), inv.Filiale) != a.Filialen.end();
            if (inGruppe && (gefuehrt || Chance(1)))   // now and then goods are found in a branch that does not keep them
                artikel.push_back(&a);
        }
        const bool zukunft = inv.ZaehlDatum >= heute;
        const bool gezaehlt = !zukunft && inv.Status != iakzAngelegt;
        const QChar gebucht = inv.Status == iakzGebucht ? QChar('A') : QChar();
        double sollEK = 0, istEK = 0;
        for (const TArtikel* a : zukunft ? std::vector<const TArtikel*>{} : artikel) {
            std::array<int32_t, 100> zaehlung{};
            for (int t : CBestTypen) {
                const auto soll = BestandAm(*a, inv.Filiale, t, inv.ZaehlDatum);
                bool leer = true;
                for (int i = 0; i < 100; ++i) {
                    if (soll[i] == 0)
                        continue;
                    leer = false;
                    sollEK += soll[i] * EkAm(*a, i);
                    if (Gezaehlt(t))
                        zaehlung[i] += soll[i];
                    else
                        istEK += soll[i] * EkAm(*a, i);
                }
                if (leer)
                    continue;
                QVariantList z{SqlDatum(inv.WiJahr), SqlDatum(inv.ZaehlDatum), inv.Filiale, a->Id.Int1, a->Id.Int2, a->Id.Int3,
                               QString(ArtBestTyp_2_Char(t)), 2, 1, TFeldTraits<QChar>::ToSql(gebucht).first()};
                for (int32_t m : soll)
                    z << m;
                iv.Zeile(z);
            }
            if (!gezaehlt)
                continue;
            for (int i = a->GrVon - 1; i <= a->GrBis - 1; ++i)
                if (Chance(12))
                    zaehlung[i] = std::max(0, zaehlung[i] + Zufall(-2, 2));
            const bool mitMengen = !Chance(2);
            QVariantList g{SqlDatum(inv.ZaehlDatum), a->Id.Int1, a->Id.Int2, a->Id.Int3, inv.Filiale, "G", 0, mitMengen ? 1 : 0,
                           a->GrVon, a->GrBis};
            for (int32_t m : zaehlung)
                g << (mitMengen ? m : 0);
            izns.Zeile(g);
            if (!mitMengen)
                continue;
            for (int i = 0; i < 100; ++i)
                istEK += zaehlung[i] * EkAm(*a, i);
            // the count per shelf: every piece lies on one of one to three shelves
            const int regale = Zufall(1, 3);
            std::vector<std::array<int32_t, 100>> proRegal(regale, std::array<int32_t, 100>{});
            for (int i = 0; i < 100; ++i)
                for (int n = 0; n < zaehlung[i]; ++n)
                    ++proRegal[Zufall(0, regale - 1)][i];
            for (int r = 0; r < regale; ++r) {
                QVariantList z{SqlDatum(inv.ZaehlDatum), a->Id.Int1, a->Id.Int2, a->Id.Int3, inv.Filiale, "R", 100 + 10 * r, 1,
                               a->GrVon, a->GrBis};
                for (int32_t m : proRegal[r])
                    z << m;
                izns.Zeile(z);
            }
        }
        ia.Zeile({SqlDatum(inv.WiJahr), SqlDatum(inv.ZaehlDatum), inv.Wgn, inv.Filiale, AufCentRunden(sollEK),
                  gezaehlt ? AufCentRunden(istEK) : 0.0,
                  TFeldTraits<QChar>::ToSql(IA_KZZaehlung_2_Char(static_cast<TZEP_IA_KZZaehlung>(inv.Status))).first()});
        if (gezaehlt && inv.WiJahr == wj1 && inv.Status != iakzGebucht)
            Fehlverkaeufe(db, inv, artikel);
    }
    ia.Ende();
    iv.Ende();
    izns.Ende();
}

// Erroneous sales of a few articles of an open inventory: mostly valid ones before the
// count date, and the cases the correction must leave out: before 2000, after the count
// date, a size outside the grid, another kind of document.
void TDemoGenerator::Fehlverkaeufe(QSqlDatabase& db, const TInventur& inv, const std::vector<const TArtikel*>& artikel)
{
    if (artikel.empty())
        return;
    TBulkInsert fvk(db, "fvk", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "filiale", "datum", "uhrzeit", "vorgangsart",
                                "belegart", "groesse", "vorzeichen", "menge", "preis1", "preis2", "zusatznummer",
                                "zusatztext", "belegpaar_1", "belegpaar_2", "belegnr"});
    const char* vorzeichen[] = {"1", "2", "0", " "};
    for (int n = 0; n < 4; ++n) {
        const TArtikel& a = *artikel[Zufall(0, static_cast<int>(artikel.size()) - 1)];
        const TRaster& r = FRaster[a.Raster];
        for (int k = 0; k < 3; ++k) {
            TDateTime datum = inv.ZaehlDatum - Zufall(0, 40);
            QString art = "F", beleg = "23";
            int groesse = r.Groessen[Zufall(a.GrVon - 1, a.GrBis - 1)];
            switch (Zufall(0, 9)) {
            case 0: datum = EncodeDate(1999, 12, 31); break;
            case 1: datum = inv.ZaehlDatum + Zufall(1, 5); break;
            case 2: groesse = 999; break;
            case 3: art = "X"; break;
            case 4: beleg = "24"; break;
            default: break;
            }
            fvk.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, inv.Filiale, SqlDatum(DateOf(datum)), Zufall(8, 19) * 10000 + Zufall(0, 59) * 100,
                       art, beleg, groesse, vorzeichen[Zufall(0, 3)], Zufall(1, 3), a.VK, EkAm(a, a.GrVon - 1), Zufall(1, 9999),
                       QStringLiteral("Kasse %1").arg(Zufall(1, 4)), inv.Filiale, Zufall(1, 50), Zufall(1, 30000)});
        }
    }
    fvk.Ende();
}
