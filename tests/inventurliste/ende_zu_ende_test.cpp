// Every column of every INVL line of whole builds against values computed here from the raw
// tables, independently of the list computation: numbering, count date, article master and
// suppliers, prices in force, write-down, the quantities per stock type and slot with counts,
// targets and erroneous sales, totals and values on the article's first line; for an ordinary
// product-group inventory, the storage-location branch with its shelves and a branch-wide
// inventory.
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "inventurliste/bau.h"
#include "tests/inventurliste/liste.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <climits>
#include <cmath>
#include <map>
#include <tuple>

namespace {

using TVektor = std::array<int64_t, 100>;   // one quantity per size slot

// The quantity kind of a slot by its column name ("Soll", "Typ08").
int Art(const QString& name)
{
    for (int k = 0; k < TinvlMengen::Anzahl; ++k)
        if (name == QLatin1String(CINVL_MengenArten[k].Name))
            return k;
    return -1;
}
const int CSoll = Art("Soll"), CDiff = Art("Diff"), CIst = Art("Ist"), CFVK = Art("FVK");

// One article of an inventory as the raw tables give it.
struct TRoh {
    TinvlSatz Stamm;   // the columns that are the same on every line of the article
    std::array<TVektor, TinvlMengen::Anzahl> Menge{};   // per quantity kind, in column order
    std::array<double, 100> EK{}, VK{};   // prices in force per slot, the purchase price rounded to the cent
    bool Vorhanden = false;   // a count or a target record exists
    bool MitMengen = false;   // the count carries quantities
    int AnzRegal = 0;   // shelves with a piece
    int64_t Regal = 0;   // pieces on shelves
};

int64_t Summe(const TVektor& v, bool absolut = false)
{
    int64_t s = 0;
    for (int64_t m : v)
        s += absolut ? std::abs(m) : m;
    return s;
}

class EndeZuEndeTest : public ListeTest {
protected:
    static TInt32Trio Trio(const QSqlQuery& q, int spalte)
    {
        return {q.value(spalte).toInt(), q.value(spalte + 1).toInt(), q.value(spalte + 2).toInt()};
    }
    static QVariant Sql(TDateTime d) { return TDatumTraits::ToSql(d).first(); }
    static QSqlQuery Abfrage(const QString& sql, const QVariantList& werte)
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare(sql);
        for (const QVariant& w : werte)
            q.addBindValue(w);
        EXPECT_TRUE(q.exec()) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
        return q;
    }
    static QVariantList Werte(const TInt32Trio& id, QVariantList davor = {})
    {
        return davor << id.Int1 << id.Int2 << id.Int3;
    }
    // A price in whole cents, a decimal half to the even cent (11.865 gives 11.86).
    static double Cent(double preis)
    {
        const double cent = std::round(static_cast<long double>(preis) * 100 * 1e6) / 1e6;
        return std::nearbyint(cent) / 100;
    }

    // Counts, shelves and targets of the inventory, and its erroneous sales up to the count
    // date on the target of the articles that have a count or a target.
    std::map<QString, TRoh> Mengen(const TZeileAnzeige& z, TDateTime wj, bool regale)
    {
        std::map<QString, TRoh> r;
        QSqlQuery q = Abfrage(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, satzart, gezaehlt, grvon, grbis, %1 FROM izns "
                                      "WHERE zaehldatum = ? AND filiale = ? ORDER BY produkt_id_1, produkt_id_2, produkt_id_3, satzart, regal")
                                  .arg(MengenSpalten("gr_mesu", 1).join(", ")),
                              {Sql(z.ZaehlDatum), z.Filiale});
        while (q.next()) {
            TRoh& a = r[Trio(q, 0).ToText()];
            a.Stamm.Produkt_ID = Trio(q, 0);
            const bool mitMengen = q.value(4).toInt() != 0;
            if (q.value(3).toString() == "G") {
                a.Vorhanden = true;
                a.MitMengen = mitMengen;
                for (int i = 0; mitMengen && i < 100; ++i) {
                    a.Menge[CIst][i] += q.value(7 + i).toInt();
                    a.Menge[CDiff][i] += q.value(7 + i).toInt();
                }
            } else if (regale && a.MitMengen && mitMengen) {
                int64_t stueck = 0;
                for (int i = q.value(5).toInt() - 1; i >= 0 && i < std::min(100, q.value(6).toInt()); ++i)
                    stueck += q.value(7 + i).toInt();
                a.Regal += stueck;
                a.AnzRegal += stueck != 0;
            }
        }
        // targets in record order: the last record of a stock type gives its vector
        q = Abfrage(QString("SELECT iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3, b.besttyp, b.istgezaehlt, "
                            "iv.standneu >= iv.standalt, %1 FROM iv LEFT JOIN besttyp b ON b.zeichen = iv.besttyp "
                            "WHERE iv.wijahr = ? AND iv.zaehldatum = ? AND iv.filiale = ? ORDER BY iv.id")
                        .arg(MengenSpalten("iv.menge", 0).join(", ")),
                    {Sql(wj), Sql(z.ZaehlDatum), z.Filiale});
        while (q.next()) {
            TRoh& a = r[Trio(q, 0).ToText()];
            a.Stamm.Produkt_ID = Trio(q, 0);
            a.Vorhanden = true;
            const int typ = q.value(3).toInt();
            if (!q.value(5).toBool() || typ < 1 || typ > 16)
                continue;
            const int k = Art(QString("Typ%1").arg(typ, 2, 10, QLatin1Char('0')));
            const bool gezaehlt = q.value(4).toInt() != 0;   // a counted stock type is part of the count
            for (int i = 0; i < 100; ++i) {
                const int m = q.value(6 + i).toInt();
                if (k >= 0)
                    a.Menge[k][i] = m;
                a.Menge[CSoll][i] += m;
                if (gezaehlt)
                    a.Menge[CDiff][i] -= m;
                else
                    a.Menge[CIst][i] += m;
            }
        }
        // erroneous sales of the branch up to the count date lower the target (a sign 1 or 2 raises it)
        q = Abfrage("SELECT f.produkt_id_1, f.produkt_id_2, f.produkt_id_3, f.vorzeichen, f.menge, g.idx FROM fvk f "
                    "JOIN artikel a ON a.produkt_id_1 = f.produkt_id_1 AND a.produkt_id_2 = f.produkt_id_2 AND a.produkt_id_3 = f.produkt_id_3 "
                    "JOIN ggtab_groesse g ON g.ggkey = a.ggkey AND g.groesse = f.groesse "
                    "WHERE f.filiale = ? AND f.datum <= ? AND f.datum >= '2000-01-01 00:00:00.000' AND f.vorgangsart = 'F' "
                    "AND f.belegart = '23' AND g.idx BETWEEN 0 AND 99",
                    {z.Filiale, Sql(z.ZaehlDatum)});
        while (q.next()) {
            const auto it = r.find(Trio(q, 0).ToText());
            if (it == r.end() || !it->second.Vorhanden)
                continue;   // the correction applies to an article with count or target only
            const int i = q.value(5).toInt();
            const int d = (q.value(3).toString() == "1" || q.value(3).toString() == "2") ? -q.value(4).toInt() : q.value(4).toInt();
            it->second.Menge[CFVK][i] -= d;
            it->second.Menge[CSoll][i] -= d;
            it->second.Menge[CDiff][i] += d;
        }
        return r;
    }

    // Purchase (to the cent) and sales prices per slot: the branch's own before the chain's,
    // the latest valid on the count day.
    void Preise(TRoh& a, const TZeileAnzeige& z)
    {
        QSqlQuery q = Abfrage("SELECT preisart, filiale, slot_von, slot_bis, preis, gueltig_ab FROM preis WHERE produkt_id_1 = ? AND "
                              "produkt_id_2 = ? AND produkt_id_3 = ? AND preisart IN (1, 2) AND filiale IN (0, ?) AND gueltig_ab <= ?",
                              Werte(a.Stamm.Produkt_ID) << z.Filiale << Sql(DateOf(z.ZaehlDatum) + 0.99999));
        std::array<std::array<std::tuple<bool, QString, double>, 100>, 2> preis{};
        while (q.next())
            for (int i = q.value(2).toInt(); i <= std::min(99, q.value(3).toInt()); ++i) {
                auto& p = preis[q.value(0).toInt() - 1][i];
                const std::tuple<bool, QString, double> neu{q.value(1).toInt() != 0, q.value(5).toString(), q.value(4).toDouble()};
                if (std::get<1>(p).isEmpty() || std::tie(std::get<0>(neu), std::get<1>(neu)) > std::tie(std::get<0>(p), std::get<1>(p)))
                    p = neu;
            }
        for (int i = 0; i < 100; ++i) {
            a.EK[i] = Cent(std::get<2>(preis[0][i]));
            a.VK[i] = std::get<2>(preis[1][i]);
        }
    }

    // The write-down rule: the longest product-group pattern that matches the article's
    // group gives the schedule; its rule with the highest season age (whole half-years from
    // the season's start to the fiscal year's) not above the article's gives the percentage.
    int Abwertung(const QString& wgn, const QVariant& saisonBeginn, TDateTime wj, int64_t summeIst)
    {
        if (saisonBeginn.isNull() || summeIst == 0)
            return 0;
        const QDate b = TDateTime_ToQDate(TDatumTraits::FromSql(&saisonBeginn)), w = TDateTime_ToQDate(wj);
        const int monate = (w.year() - b.year()) * 12 + w.month() - b.month() - (w.day() < b.day() ? 1 : 0);
        const int alter = static_cast<int>(std::floor(monate / 6.0));
        qsizetype laenge = -1;
        int prozent = 0, bestesAlter = INT_MIN;
        QSqlQuery q = Abfrage("SELECT wgn_muster, saisonalter_ab, prozent FROM abwregel", {});
        while (q.next()) {
            const QString muster = q.value(0).toString();
            const QString praefix = muster.endsWith('*') ? muster.chopped(1) : muster;
            if (!(muster.endsWith('*') ? wgn.startsWith(praefix) : wgn == muster) || praefix.size() < laenge)
                continue;
            if (praefix.size() > laenge)
                laenge = praefix.size(), prozent = 0, bestesAlter = INT_MIN;
            if (q.value(1).toInt() <= alter && q.value(1).toInt() > bestesAlter)
                bestesAlter = q.value(1).toInt(), prozent = q.value(2).toInt();
        }
        return prozent;
    }

    // The columns of the article that every line repeats: master data, suppliers, "W" when
    // the branch keeps the article, the RENR pair when the installation keeps it, the date of
    // the last price-history transaction, prices at the first size; false for an article
    // outside the inventory's product group.
    bool Stamm(TRoh& a, const TZeileAnzeige& z, TDateTime wj)
    {
        QSqlQuery q = Abfrage(
            "SELECT a.artnr, a.bezeichnung, a.wgn, a.grvon, a.grbis, a.liefartnr, a.liefartnr2, a.artkz, a.merkmal1, a.merkmal2, "
            "a.merkmal3, a.merkmal4, a.merkmal5, a.merkmal6, COALESCE(l1.liefnr, 0), COALESCE(l2.liefnr, 0), COALESCE(r.renr, 0), "
            "COALESCE(r.renr2, 0), s.beginn, "
            "(SELECT COUNT(*) FROM artikel_filiale f WHERE f.produkt_id_1 = a.produkt_id_1 AND f.produkt_id_2 = a.produkt_id_2 "
            "AND f.produkt_id_3 = a.produkt_id_3 AND f.filiale = ?), "
            "(SELECT MAX(h.datum) FROM preishist h WHERE h.produkt_id_1 = a.produkt_id_1 AND h.produkt_id_2 = a.produkt_id_2 "
            "AND h.produkt_id_3 = a.produkt_id_3) "
            "FROM artikel a LEFT JOIN lieferant l1 ON l1.gep_1 = a.partner1_1 AND l1.gep_2 = a.partner1_2 "
            "LEFT JOIN lieferant l2 ON l2.gep_1 = a.partner2_1 AND l2.gep_2 = a.partner2_2 "
            "LEFT JOIN renr r ON r.produkt_id_1 = a.produkt_id_1 AND r.produkt_id_2 = a.produkt_id_2 AND r.produkt_id_3 = a.produkt_id_3 "
            "LEFT JOIN saison s ON s.kurz = a.saison "
            "WHERE a.produkt_id_1 = ? AND a.produkt_id_2 = ? AND a.produkt_id_3 = ?",
            Werte(a.Stamm.Produkt_ID, {z.Filiale}));
        if (!q.next() || (z.WGN != "*" && !q.value(2).toString().startsWith(z.WGN)))
            return false;
        TinvlSatz& s = a.Stamm;
        const bool renr = Wert("SELECT wert FROM parameter WHERE name = 'REGANR'").toString().compare("J", Qt::CaseInsensitive) == 0;
        s.WiJahr = wj;
        s.ZaehlDatum = DateOf(z.ZaehlDatum);
        s.Filiale = z.Filiale;
        s.FilKZ = q.value(19).toInt() > 0 ? 'W' : 'F';
        s.WGN = z.WGN == "*" ? q.value(2).toString() : z.WGN;
        s.ArtNr = q.value(0).toString();
        s.Bezeichnung = q.value(1).toString();
        s.GrVon = q.value(3).toInt();
        s.GrBis = q.value(4).toInt();
        s.LiefArtNr = q.value(5).toString();
        s.LiefArtNr2 = q.value(6).toString();
        s.ArtKZ = QChar(q.value(7).toInt());
        for (int i = 0; i < 6; ++i)
            s.Merkmal[i] = q.value(8 + i).toString();
        s.LiefNr = q.value(14).toInt();
        s.LiefNr2 = q.value(15).toInt();
        s.ReNr = renr ? q.value(16).toInt() : 0;
        s.ReNr2 = renr ? q.value(17).toInt() : 0;
        const QVariant historie = q.value(20);
        s.LetztesVorgangsDatum = DateOf(TDatumTraits::FromSql(&historie));
        Preise(a, z);
        s.AbwProzent = Abwertung(q.value(2).toString(), q.value(18), wj, Summe(a.Menge[CIst]));
        s.EK = a.EK[s.GrVon - 1];
        s.EK_Abgewertet = (1 - s.AbwProzent / 100) * s.EK;
        s.VK = a.VK[s.GrVon - 1];
        return true;
    }

    // The lines of an article: one per block of 17 slots of its size range; totals and
    // values on the first line only.
    static std::vector<TinvlSatz> Zeilen(const TRoh& a)
    {
        std::vector<TinvlSatz> r;
        const int von = a.Stamm.GrVon - 1, n = a.Stamm.GrBis - a.Stamm.GrVon + 1;
        for (int b = 0; CINVL_Slots * b < n; ++b) {
            TinvlSatz s = a.Stamm;
            s.BlockNr = b;
            for (int j = 0; j < CINVL_Slots && CINVL_Slots * b + j < n; ++j)
                for (int k = 0; k < TinvlMengen::Anzahl; ++k)
                    s.Mengen[j][k] = static_cast<int32_t>(a.Menge[k][von + CINVL_Slots * b + j]);
            for (const TinvlMengen& m : s.Mengen)
                s.Sum_AbsMengen += std::abs(m.Soll) + std::abs(m.Diff) + std::abs(m.Ist);
            s.Sum_AbsDiff = s.Sum_AbsMengen > 0 ? static_cast<int32_t>(Summe(a.Menge[CDiff], true)) : 0;
            s.AnzRegal = a.AnzRegal;
            if (b == 0)
                SummenUndWerte(a, s);
            r.push_back(s);
        }
        return r;
    }
    static void SummenUndWerte(const TRoh& a, TinvlSatz& s)
    {
        for (int k = 0; k < TinvlMengen::Anzahl; ++k)
            s.*CINVL_MengenArten[k].Summe = static_cast<int32_t>(Summe(a.Menge[k]));
        long double sollEK = 0, sollVK = 0, istEK = 0, istVK = 0;
        for (int i = 0; i < 100; ++i) {
            sollEK += a.Menge[CSoll][i] * static_cast<long double>(a.EK[i]);
            sollVK += a.Menge[CSoll][i] * static_cast<long double>(a.VK[i]);
            istEK += a.Menge[CIst][i] * static_cast<long double>(a.EK[i]);
            istVK += a.Menge[CIst][i] * static_cast<long double>(a.VK[i]);
        }
        const auto abgewertet = [&](long double wert) { return static_cast<double>((1 - s.AbwProzent / 100) * wert); };
        s.Soll_EKWert = sollEK, s.Soll_EKWert_Abgew = abgewertet(sollEK), s.Soll_VKWert = sollVK;
        s.Ist_EKWert = istEK, s.Ist_EKWert_Abgew = abgewertet(istEK), s.Ist_VKWert = istVK;
        s.Diff_EKWert = istEK - sollEK, s.Diff_EKWert_Abgew = abgewertet(istEK - sollEK), s.Diff_VKWert = istVK - sollVK;
    }

    // Every column of a line: amounts to a millionth, everything else exactly.
    static void Vergleichen(const TinvlSatz& ist, const TinvlSatz& soll, const QString& zeile)
    {
        static const Tinvlfile datei;
        for (const TDbfFeld<TinvlSatz>& f : datei.Layout()) {
            const QVariant a = f.Lesen(ist), e = f.Lesen(soll);
            EXPECT_TRUE(f.Spalte.Typ == TDbfTyp::Double ? std::abs(a.toDouble() - e.toDouble()) <= 1e-6 : a == e)
                << qPrintable(QString("%1, %2: %3, erwartet %4").arg(zeile, f.Spalte.Name, a.toString(), e.toString()));
        }
    }

    // Builds the list of the first inventory row that matches and compares every INVL line,
    // in the order the lines are made, and the shelf totals of INVR with the raw tables.
    // Returns the number of lines after an article's first.
    int Pruefen(const QString& bedingung, bool regale)
    {
        const TDateTime wj = EncodeDate(2026, 2, 1);
        QSqlQuery q = Abfrage("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND " + bedingung
                                  + " ORDER BY zaehldatum, filiale, wgn",
                              {});
        if (!q.first()) {
            ADD_FAILURE() << qPrintable(bedingung);
            return 0;
        }
        const QVariant d = q.value(0);
        const TZeileAnzeige z{TDatumTraits::FromSql(&d), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()};
        auto layout = std::make_unique<TZEP_SelectedLayout>();
        if (regale)
            layout->Liste1 << "RegalMengen=J";
        Liste().SelectedLayouts().clear();
        Liste().SelectedLayouts().push_back(std::move(layout));
        const TDruckConfig c = TInventurlisteBau::Anfrage(Liste(), {z}, "", 0, {}, wj);
        QTemporaryDir dir;
        EXPECT_TRUE(TInventurlisteBau(Liste(), c, 0).Ausfuehren(dir.path(), {}));

        std::map<QString, TRoh> roh = Mengen(z, wj, regale);
        std::map<std::pair<QString, int>, TinvlSatz> erwartet;   // by article and block
        for (auto it = roh.begin(); it != roh.end();)
            it = it->second.Vorhanden && Stamm(it->second, z, wj) ? std::next(it) : roh.erase(it);
        int folgezeilen = 0;
        for (const auto& [id, a] : roh)
            for (const TinvlSatz& s : Zeilen(a)) {
                erwartet[{id, s.BlockNr}] = s;
                folgezeilen += s.BlockNr > 0;
            }
        EXPECT_GE(roh.size(), 3u);

        const TDbfLeser invl(Liste().CrystalSets().Tabelle("INVL")->Pfad());
        for (uint32_t i = 0; i < invl.Anzahl(); ++i) {
            const TinvlSatz s = Tinvlfile().SatzLesen(invl, i);
            const QString zeile = QString("Artikel %1, Filiale %2, Block %3").arg(s.Produkt_ID.ToText()).arg(s.Filiale).arg(s.BlockNr);
            const auto it = erwartet.find({s.Produkt_ID.ToText(), s.BlockNr});
            if (it == erwartet.end() || s.Filiale != z.Filiale) {
                ADD_FAILURE() << "unerwartete Zeile: " << qPrintable(zeile);
                continue;
            }
            it->second.LfdNr = static_cast<int32_t>(i) + 1;   // numbered from 1 in the order they are made
            Vergleichen(s, it->second, zeile);
            erwartet.erase(it);
        }
        for (const auto& [k, s] : erwartet)
            ADD_FAILURE() << "fehlende Zeile: Artikel " << qPrintable(k.first) << ", Block " << k.second;

        std::map<QString, int64_t> regal;
        const TDbfLeser invr(Liste().CrystalSets().Tabelle("INVR")->Pfad());
        for (uint32_t i = 0; i < invr.Anzahl(); ++i) {
            const TinvrSatz s = Tinvrfile().SatzLesen(invr, i);
            regal[s.Produkt_ID.ToText()] += s.GesMenge;
        }
        for (const auto& [id, a] : roh)
            EXPECT_EQ(regal[id], a.Regal) << "Regalmenge " << qPrintable(id);
        return folgezeilen;
    }
};

}

TEST_F(EndeZuEndeTest, ProductGroupInventory)
{
    EXPECT_GT(Pruefen("wgn <> '' AND filiale IN (SELECT nr FROM filiale WHERE lv_benutzen = 0)", false), 0);
}

TEST_F(EndeZuEndeTest, StorageLocationBranchWithShelves)
{
    Pruefen("filiale IN (SELECT nr FROM filiale WHERE lv_benutzen = 1)", true);
}

TEST_F(EndeZuEndeTest, BranchWideInventory)
{
    EXPECT_GT(Pruefen("wgn = ''", false), 0);
}
