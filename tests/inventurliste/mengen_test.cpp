#include "tests/inventurliste/liste.h"

#include "framework/app/info.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "inventurliste/inventursaetze.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <map>

namespace {

class MengenTest : public ListeTest {
protected:
    static TDateTime Datum(const QVariant& v) { return TDatumTraits::FromSql(&v); }
};

}

TEST_F(MengenTest, CountWithoutQuantitiesAndShelvesThatAddUp)
{
    TInventurliste& f = Liste();
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, filiale FROM izns "
                       "WHERE satzart = 'G' AND gezaehlt = 1 ORDER BY id"));
    ASSERT_TRUE(q.next());
    const TDateTime zd = Datum(q.value(0));
    const TInt32Trio id{q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
    const int fil = q.value(4).toInt();

    TMengenfeld feld;
    TRegalMengen regale;
    f.InitMengenfeld(feld);
    ASSERT_TRUE(f.LeseZaehlMengen(feld, regale, id, zd, fil, true));
    ASSERT_FALSE(regale.empty());
    TORV_Intv100_Sortiment_Me summe;
    for (const TRegalMenge& r : regale)
        summe.Add(r.Menge_Regal.Me);
    EXPECT_EQ(summe.Me, feld[mfIst].Me) << "the shelves add up to the total count";

    Sql(QString("UPDATE izns SET gezaehlt = 0 WHERE satzart = 'G' AND produkt_id_2 = %1 AND filiale = %2").arg(id.Int2).arg(fil));
    TMengenfeld leer;
    TRegalMengen keine;
    f.InitMengenfeld(leer);
    EXPECT_TRUE(f.LeseZaehlMengen(leer, keine, id, zd, fil, true)) << "the count exists";
    EXPECT_TRUE(leer[mfIst].IsEmpty());
    EXPECT_TRUE(keine.empty());
    EXPECT_FALSE(f.LeseZaehlMengen(leer, keine, id, zd + 1, fil, true));
}

TEST_F(MengenTest, ErroneousSalesUpToTheCountDate)
{
    TInventurliste& f = Liste();
    Sql("DELETE FROM fvk");
    // article 10000 of the demo chain uses grid 1: numeric size 380 is slot 3
    const TInt32Trio id{1, 10000, 1};
    const TDateTime zd = EncodeDate(2026, 5, 15);
    TFvkFile fvk;
    const auto fehlverkauf = [&](TDateTime datum, int groesse, QChar vz, int menge, int fil = 1, QString art = "F") {
        TFvkSatz s;
        s.Produkt_ID = id;
        s.Filiale = fil;
        s.Datum = datum;
        s.Vorgangsart = art.at(0);
        s.Belegart = "23";
        s.Groesse = groesse;
        s.Vorzeichen = vz;
        s.Menge = menge;
        fvk.AllesClear();
        fvk.SetSatz(s);
        fvk.Buchen(wrdonInsert);
    };
    fehlverkauf(EncodeDate(1999, 12, 31), 380, '1', 5);   // before 2000: left out
    fehlverkauf(zd, 380, '1', 2);                          // on the count date: applied
    fehlverkauf(zd + 1, 380, '1', 7);                      // after it: left out
    fehlverkauf(EncodeDate(2026, 4, 1), 390, '0', 1);
    fehlverkauf(EncodeDate(2026, 4, 1), 999, '1', 4);      // size not in the grid
    fehlverkauf(EncodeDate(2026, 4, 1), 380, '1', 3, 1, "X");   // another document kind
    TMengenfeld feld;
    f.InitMengenfeld(feld);
    f.FVKKorrektur(id, 1, zd, false, feld);
    EXPECT_EQ(feld[mfSoll].Me[3], 2);
    EXPECT_EQ(feld[mfDiff].Me[3], -2);
    EXPECT_EQ(feld[mfSoll].Me[4], -1);
    EXPECT_EQ(feld[mfFVK].AbsSum(), 3);
    EXPECT_FALSE(ORVInfo().Registriert("TfrmKalmetMain.FVKKorrektur"));

    // the storage-location branch refuses erroneous sales in trial mode only
    const int lv = Wert("SELECT nr FROM filiale WHERE lv_benutzen = 1").toInt();
    fehlverkauf(EncodeDate(2026, 4, 2), 380, '1', 1, lv);
    TMengenfeld probe;
    f.InitMengenfeld(probe);
    f.FVKKorrektur(id, lv, zd, false, probe);
    EXPECT_EQ(probe[mfSoll].Me[3], 1);
    f.InitMengenfeld(probe);
    f.FVKKorrektur(id, lv, zd, true, probe);
    ASSERT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.FVKKorrektur"));
    EXPECT_EQ(ORVInfo().Register().back().Text,
              "TfrmKalmetMain.FVKKorrektur: Fehlerverkauf in Filiale mit lagerplatzbezogener Bestandsführung!");
    EXPECT_TRUE(probe[mfSoll].IsEmpty());
}

// The target of an inventory counted after the end of its fiscal year, calculated back to
// that end, equals the stock at the end computed here from the movement table alone.
TEST_F(MengenTest, BackCalculationMatchesTheMovementTable)
{
    TInventurliste& f = Liste();
    const TDateTime wj = EncodeDate(2025, 2, 1);
    const TDateTime ende = WiJahrEnde(wj);
    QSqlQuery inv(TZEP_Connection::Database());
    ASSERT_TRUE(inv.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2025-02-01 00:00:00.000' "
                         "AND zaehldatum > '2026-01-31 23:59:59.999' ORDER BY filiale"));
    ASSERT_TRUE(inv.next());
    const TDateTime zd = Datum(inv.value(0));
    const int fil = inv.value(1).toInt();

    Tivfile iv;
    iv.AllesClear();
    iv.WiJahr.SetKeyWertAndFilter(wj);
    iv.ZaehlDatum.SetKeyWertAndFilter(zd);
    iv.Filiale.SetKeyWertAndFilter(fil);
    int geprueft = 0;
    std::map<int, TMengenfeld> felder;   // per article
    for (bool ok = iv.Get_ge(); ok; ok = iv.Get_next()) {
        const TivSatz s = iv.GetSatz();
        auto [it, neu] = felder.try_emplace(s.Produkt_ID.Int2);
        if (neu)
            f.InitMengenfeld(it->second);
        f.FuelleMengenfeld_MitSollsaetzen(s, it->second);
    }
    ASSERT_FALSE(felder.empty());
    for (auto& [artikel, feld] : felder) {
        const TInt32Trio id{1, artikel, 1};
        const TMengenfeld vorher = feld;
        f.RRZuruecksetzen();
        f.BestandRueckOderVorRechnen(id, static_cast<int16_t>(fil), zd, ende, wj, feld);
        ASSERT_TRUE(f.RR());
        for (int t : {1, 2, 8, 12}) {
            QSqlQuery bne(TZEP_Connection::Database());
            ASSERT_TRUE(bne.exec(QString("SELECT * FROM bne WHERE produkt_id_2 = %1 AND filiale = %2 AND besttyp = '%3' "
                                         "AND datum <= '2026-01-31 23:59:59.999'")
                                     .arg(artikel).arg(fil).arg(t < 10 ? QString::number(t) : QString(QChar('A' + t - 10)))));
            std::array<int32_t, 100> stand{};
            const int m0 = bne.record().indexOf("menge_0");
            while (bne.next())
                for (int i = 0; i < 100; ++i)
                    stand[i] += bne.value(m0 + i).toInt();
            ASSERT_EQ(feld[t - 1].Me, stand) << "article " << artikel << " type " << t;
        }
        // Soll and Ist moved by the same amount, Diff not at all
        for (int i = 0; i < 100; ++i) {
            ASSERT_EQ(feld[mfSoll].Me[i] - vorher[mfSoll].Me[i], feld[mfIst].Me[i] - vorher[mfIst].Me[i]);
            ASSERT_EQ(feld[mfDiff].Me[i], vorher[mfDiff].Me[i]);
        }
        ++geprueft;
    }
    EXPECT_GT(geprueft, 5);

    // evaluation on the count date: unchanged, but done
    TMengenfeld gleich = felder.begin()->second;
    const TMengenfeld kopie = gleich;
    f.RRZuruecksetzen();
    f.BestandRueckOderVorRechnen({1, felder.begin()->first, 1}, static_cast<int16_t>(fil), zd, zd, wj, gleich);
    EXPECT_TRUE(f.RR());
    EXPECT_EQ(gleich, kopie);
    // after the count date: refused with the forward-calculation notice, nothing changed, no
    // failure of the list
    f.RRZuruecksetzen();
    const size_t registriert = ORVInfo().Register().size();
    f.BestandRueckOderVorRechnen({1, felder.begin()->first, 1}, static_cast<int16_t>(fil), zd, zd + 3, wj, gleich);
    EXPECT_FALSE(f.RR());
    EXPECT_EQ(gleich, kopie);

    // the notice is told once for the row and print, however many of its articles follow
    const auto gezeigt = [&] {
        return std::count_if(FInteraktion.Gezeigt.begin(), FInteraktion.Gezeigt.end(),
                             [](const auto& m) { return m.Text.contains("Diese Funktion steht noch nicht zur Verfügung"); });
    };
    EXPECT_EQ(gezeigt(), 1);
    for (const auto& [artikel, feld] : felder) {
        TMengenfeld m = feld;
        f.BestandRueckOderVorRechnen({1, artikel, 1}, static_cast<int16_t>(fil), zd, zd + 3, wj, m);
    }
    EXPECT_EQ(gezeigt(), 1);
    f.BestandRueckOderVorRechnen({1, felder.begin()->first, 1}, static_cast<int16_t>(fil + 1), zd, zd + 3, wj, gleich);
    EXPECT_EQ(gezeigt(), 2) << "another inventory row is told again";
    f.RRZuruecksetzen();
    f.BestandRueckOderVorRechnen({1, felder.begin()->first, 1}, static_cast<int16_t>(fil), zd, zd + 3, wj, gleich);
    EXPECT_EQ(gezeigt(), 3) << "and the next print again";
    EXPECT_EQ(ORVInfo().Register().size(), registriert) << "a notice, not a failure";
}

// The records of an inventory are read in one scan in product-id order; articles asked out of
// that order, or again, get what a read of the article alone gives.
TEST_F(MengenTest, InventoryScanAnswersInAnyOrder)
{
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT DISTINCT iv.wijahr, iv.zaehldatum, iv.filiale, iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3 "
                       "FROM iv JOIN izns ON izns.zaehldatum = iv.zaehldatum AND izns.filiale = iv.filiale "
                       "AND izns.produkt_id_2 = iv.produkt_id_2 WHERE iv.wijahr = '2026-02-01 00:00:00.000' "
                       "ORDER BY iv.zaehldatum, iv.filiale, iv.produkt_id_2"));
    ASSERT_TRUE(q.next());
    const TDateTime wj = Datum(q.value(0)), zd = Datum(q.value(1));
    const int fil = q.value(2).toInt();
    std::vector<TInt32Trio> ids;
    do {
        if (Datum(q.value(1)) == zd && q.value(2).toInt() == fil)
            ids.push_back({q.value(3).toInt(), q.value(4).toInt(), q.value(5).toInt()});
    } while (q.next());
    ASSERT_GT(ids.size(), 3u);

    const auto lesen = [&](TInventurliste& l, const TInt32Trio& id) {
        TMengenfeld m;
        TRegalMengen regale;
        l.InitMengenfeld(m);
        EXPECT_TRUE(l.LeseZaehlMengen(m, regale, id, zd, fil, true));
        EXPECT_TRUE(l.LeseSollMengen(m, id, wj, zd, fil));
        l.FVKKorrektur(id, fil, zd, false, m);
        return std::pair{m, regale.size()};
    };
    std::map<int, std::pair<TMengenfeld, size_t>> aufsteigend;
    for (const TInt32Trio& id : ids)
        aufsteigend[id.Int2] = lesen(Liste(), id);
    TInventurliste andere(TInventurlisteOptionen::AusParametern());
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        EXPECT_EQ(lesen(andere, *it), aufsteigend[it->Int2]) << "article " << it->Int2;
    EXPECT_EQ(lesen(andere, ids.front()), aufsteigend[ids.front().Int2]) << "the same article again";
    // a block read ahead by another reader (its inventory named twice, as by two rows) and
    // taken over answers alike; an article outside it is read when asked for
    TInventurSaetze vorrat;
    vorrat.Vorladen({ids.begin(), ids.end() - 1}, {{wj, zd, fil, true}, {wj, zd, fil, true}});
    TInventurliste dritte(TInventurlisteOptionen::AusParametern());
    dritte.Saetze().VorratTauschen(vorrat);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        EXPECT_EQ(lesen(dritte, *it), aufsteigend[it->Int2]) << "article " << it->Int2 << " read ahead";
    const TInt32Trio fehlt{ids.front().Int1, ids.front().Int2, ids.front().Int3 + 1000};
    TMengenfeld leer;
    TRegalMengen keine;
    Liste().InitMengenfeld(leer);
    EXPECT_FALSE(Liste().LeseZaehlMengen(leer, keine, fehlt, zd, fil, true));
    EXPECT_FALSE(Liste().LeseSollMengen(leer, fehlt, wj, zd, fil));
}
