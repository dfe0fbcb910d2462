// The print tables of whole builds against quantities and values computed here from the raw
// tables, independently of the list computation: counts, targets, erroneous sales, shelves
// and purchase prices, for an ordinary product-group inventory, the storage-location branch
// and a branch-wide inventory.
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "inventurliste/bau.h"
#include "tests/inventurliste/liste.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace {

using TSchluessel = std::pair<QString, int>;   // product id as text, branch

struct TErwartet {
    int64_t Ist = 0, Soll = 0, Regal = 0;
    double IstEK = 0;
};

class EndeZuEndeTest : public ListeTest {
protected:
    static QString Id(const QSqlQuery& q, int spalte)
    {
        return TInt32Trio{q.value(spalte).toInt(), q.value(spalte + 1).toInt(), q.value(spalte + 2).toInt()}.ToText();
    }
    static QString Summe(const QString& spalte, int von, int n)
    {
        QStringList s;
        for (int i = von; i < von + n; ++i)
            s << QString("%1_%2").arg(spalte).arg(i);
        return s.join(" + ");
    }
    static QVariant Sql(TDateTime d) { return TDatumTraits::ToSql(d).first(); }
    // A price in whole cents, a decimal half to the even cent (11.865 gives 11.86).
    static double Cent(double preis)
    {
        const double cent = std::round(static_cast<long double>(preis) * 100 * 1e6) / 1e6;
        return std::nearbyint(cent) / 100;
    }

    // Quantities and purchase value per article and branch of one inventory, from the raw
    // tables: counted totals, targets of stock types not counted, erroneous sales on the
    // target, shelf records, and the purchase price in force per size.
    std::map<TSchluessel, TErwartet> Erwartet(const TZeileAnzeige& z, TDateTime wj)
    {
        std::map<TSchluessel, TErwartet> r;
        std::map<TSchluessel, std::array<int64_t, 100>> ist;
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, satzart, %1 FROM izns "
                          "WHERE zaehldatum = ? AND filiale = ? AND gezaehlt <> 0")
                      .arg(MengenSpalten("gr_mesu", 1).join(", ")));
        q.addBindValue(Sql(z.ZaehlDatum));
        q.addBindValue(z.Filiale);
        EXPECT_TRUE(q.exec());
        while (q.next()) {
            auto& s = ist[{Id(q, 0), z.Filiale}];
            int64_t summe = 0;
            for (int i = 0; i < 100; ++i)
                summe += q.value(4 + i).toInt();
            if (q.value(3).toString() == "G")
                for (int i = 0; i < 100; ++i)
                    s[i] += q.value(4 + i).toInt();
            else
                r[{Id(q, 0), z.Filiale}].Regal += summe;
        }
        q.prepare(QString("SELECT iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3, b.istgezaehlt, %1 FROM iv "
                          "JOIN besttyp b ON b.zeichen = iv.besttyp "
                          "WHERE iv.wijahr = ? AND iv.zaehldatum = ? AND iv.filiale = ? AND iv.standneu >= iv.standalt "
                          "AND b.besttyp BETWEEN 1 AND 16")
                      .arg(MengenSpalten("iv.menge", 0).join(", ")));
        q.addBindValue(Sql(wj));
        q.addBindValue(Sql(z.ZaehlDatum));
        q.addBindValue(z.Filiale);
        EXPECT_TRUE(q.exec());
        while (q.next()) {
            const TSchluessel k{Id(q, 0), z.Filiale};
            auto& s = ist[k];
            for (int i = 0; i < 100; ++i) {
                r[k].Soll += q.value(4 + i).toInt();
                if (q.value(3).toInt() == 0)
                    s[i] += q.value(4 + i).toInt();
            }
        }
        // erroneous sales of the branch up to the count date reduce the target (a sign 1 or 2 raises it)
        q.prepare("SELECT f.produkt_id_1, f.produkt_id_2, f.produkt_id_3, f.vorzeichen, f.menge FROM fvk f "
                  "JOIN artikel a ON a.produkt_id_1 = f.produkt_id_1 AND a.produkt_id_2 = f.produkt_id_2 AND a.produkt_id_3 = f.produkt_id_3 "
                  "JOIN ggtab_groesse g ON g.ggkey = a.ggkey AND g.groesse = f.groesse "
                  "WHERE f.filiale = ? AND f.datum <= ? AND f.datum >= '2000-01-01 00:00:00.000' AND f.vorgangsart = 'F' "
                  "AND f.belegart = '23' AND g.idx BETWEEN 0 AND 99");
        q.addBindValue(z.Filiale);
        q.addBindValue(Sql(z.ZaehlDatum));
        EXPECT_TRUE(q.exec());
        while (q.next()) {
            const auto it = r.find({Id(q, 0), z.Filiale});
            if (it == r.end() && !ist.count({Id(q, 0), z.Filiale}))
                continue;   // an article without count or target has no line
            const int m = q.value(4).toInt();
            r[{Id(q, 0), z.Filiale}].Soll -= (q.value(3).toString() == "1" || q.value(3).toString() == "2") ? -m : m;
        }
        // purchase prices: per size the branch's own before the chain's, the latest valid on the count day
        for (auto& [k, s] : ist) {
            const QStringList t = k.first.split('.');
            q.prepare("SELECT filiale, slot_von, slot_bis, preis, gueltig_ab FROM preis WHERE produkt_id_1 = ? AND "
                      "produkt_id_2 = ? AND produkt_id_3 = ? AND preisart = 1 AND filiale IN (0, ?) AND gueltig_ab <= ?");
            for (const QString& teil : t)
                q.addBindValue(teil.toInt());
            q.addBindValue(z.Filiale);
            q.addBindValue(TDatumTraits::ToSql(DateOf(z.ZaehlDatum) + 0.99999).first());
            EXPECT_TRUE(q.exec());
            std::array<std::tuple<bool, QString, double>, 100> preis{};
            while (q.next())
                for (int i = q.value(1).toInt(); i <= std::min(99, q.value(2).toInt()); ++i) {
                    const std::tuple<bool, QString, double> neu{q.value(0).toInt() != 0, q.value(4).toString(), q.value(3).toDouble()};
                    if (std::get<1>(preis[i]).isEmpty() || std::tie(std::get<0>(neu), std::get<1>(neu)) > std::tie(std::get<0>(preis[i]), std::get<1>(preis[i])))
                        preis[i] = neu;
                }
            TErwartet& e = r[k];
            for (int i = 0; i < 100; ++i) {
                e.Ist += s[i];
                e.IstEK += s[i] * Cent(std::get<2>(preis[i]));
            }
        }
        // an inventory of a product group holds its articles only
        for (auto it = r.begin(); it != r.end();) {
            const QStringList t = it->first.first.split('.');
            q.prepare("SELECT wgn FROM artikel WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?");
            for (const QString& teil : t)
                q.addBindValue(teil.toInt());
            EXPECT_TRUE(q.exec() && q.next());
            it = z.WGN == "*" || q.value(0).toString().startsWith(z.WGN) ? std::next(it) : r.erase(it);
        }
        return r;
    }

    // Builds the list of one inventory row and compares its tables with the raw tables.
    void Pruefen(const QString& bedingung, bool regale)
    {
        const TDateTime wj = EncodeDate(2026, 2, 1);
        QSqlQuery q(TZEP_Connection::Database());
        ASSERT_TRUE(q.exec("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND " + bedingung
                           + " ORDER BY zaehldatum, filiale"));
        ASSERT_TRUE(q.next()) << qPrintable(bedingung);
        const QVariant d = q.value(0);
        const TZeileAnzeige z{TDatumTraits::FromSql(&d), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()};
        auto layout = std::make_unique<TZEP_SelectedLayout>();
        if (regale)
            layout->Liste1 << "RegalMengen=J";
        Liste().SelectedLayouts().clear();
        Liste().SelectedLayouts().push_back(std::move(layout));
        const TDruckConfig c = TInventurlisteBau::Anfrage(Liste(), {z}, "", 0, {}, wj);
        QTemporaryDir dir;
        ASSERT_TRUE(TInventurlisteBau(Liste(), c, 0).Ausfuehren(dir.path(), {}));

        std::map<TSchluessel, TErwartet> ist;
        const TDbfLeser invl(Liste().CrystalSets().Tabelle("INVL")->Pfad());
        Tinvlfile f;
        for (uint32_t i = 0; i < invl.Anzahl(); ++i) {
            const TinvlSatz s = f.SatzLesen(invl, i);
            TErwartet& e = ist[{s.Produkt_ID.ToText(), s.Filiale}];
            for (const TinvlMengen& m : s.Mengen) {
                e.Ist += m.Ist;
                e.Soll += m.Soll;
                EXPECT_EQ(m.Diff, m.Ist - m.Soll) << qPrintable(s.Produkt_ID.ToText());
            }
            e.IstEK += s.Ist_EKWert;
        }
        const TDbfLeser invr(Liste().CrystalSets().Tabelle("INVR")->Pfad());
        Tinvrfile rf;
        for (uint32_t i = 0; i < invr.Anzahl(); ++i) {
            const TinvrSatz s = rf.SatzLesen(invr, i);
            ist[{s.Produkt_ID.ToText(), s.Filiale}].Regal += s.GesMenge;
        }
        std::map<TSchluessel, TErwartet> soll = Erwartet(z, wj);
        if (!regale)
            for (auto& [k, e] : soll)
                e.Regal = 0;
        ASSERT_GE(soll.size(), 3u);
        EXPECT_EQ(ist.size(), soll.size());
        for (const auto& [k, e] : soll) {
            const TErwartet& a = ist[k];
            EXPECT_EQ(a.Ist, e.Ist) << qPrintable(k.first);
            EXPECT_EQ(a.Soll, e.Soll) << qPrintable(k.first);
            EXPECT_EQ(a.Regal, e.Regal) << qPrintable(k.first);
            EXPECT_NEAR(a.IstEK, e.IstEK, 0.005) << qPrintable(k.first);
        }
    }
};

}

TEST_F(EndeZuEndeTest, ProductGroupInventory)
{
    Pruefen("wgn <> '' AND filiale IN (SELECT nr FROM filiale WHERE lv_benutzen = 0)", false);
}

TEST_F(EndeZuEndeTest, StorageLocationBranchWithShelves)
{
    Pruefen("filiale IN (SELECT nr FROM filiale WHERE lv_benutzen = 1)", true);
}

TEST_F(EndeZuEndeTest, BranchWideInventory)
{
    Pruefen("wgn = ''", false);
}
