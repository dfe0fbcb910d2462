#include "tests/inventurliste/liste.h"

#include "framework/app/info.h"
#include "framework/article/aasatz.h"
#include "framework/article/artabwmani.h"
#include "framework/article/artlessimple.h"
#include "framework/article/wgnmani.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/ivfile.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invrfile.h"
#include "framework/dbf/invufile.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cmath>

namespace {

// A price in whole cents, half to even, worked out on the digits of its decimal text.
double CentAusText(const QString& text)
{
    const bool negativ = text.startsWith('-');
    const QString betrag = negativ ? text.mid(1) : text;
    const qsizetype punkt = betrag.indexOf('.');
    const QString nachkomma = punkt < 0 ? QString() : betrag.mid(punkt + 1);
    qint64 cent = (punkt < 0 ? betrag : betrag.left(punkt)).toLongLong() * 100 + nachkomma.left(2).leftJustified(2, '0').toInt();
    const QString rest = nachkomma.mid(2);
    const bool ueberHalb = !rest.isEmpty() && (rest[0] > '5' || (rest[0] == '5' && rest.mid(1).contains(QRegularExpression("[1-9]"))));
    const bool genauHalb = !rest.isEmpty() && rest[0] == '5' && !rest.mid(1).contains(QRegularExpression("[1-9]"));
    if (ueberHalb || (genauHalb && cent % 2 == 1))
        ++cent;
    return (negativ ? -cent : cent) / 100.0;
}


class DruckdateienTest : public ListeTest {
protected:
    QTemporaryDir FAusgabe;

    // Fresh print tables, as a build would create them.
    void TabellenAnlegen() { Liste().DBFFilesErstellen(FAusgabe.path()); }
    // The print table of a file class ("INVL", "INVR", "INVU"), complete.
    TDbfLeser Lesen(const QString& klasse)
    {
        const QString pfad = Liste().CrystalSets().Tabelle(klasse)->Pfad();
        Liste().CrystalSets().AlleSchliessen();
        return TDbfLeser(pfad);
    }
    TAASatz Artikel(int nr)
    {
        TInventurliste& f = Liste();
        EXPECT_TRUE(f.ArtlesSimple().Laden({1, nr, 1}));
        return f.ArtlesSimple().Satz();
    }
    // Target 2 and count 3 in every slot from..to (0-based), shelves as given.
    TMengenfeld Feld(int von, int bis)
    {
        TMengenfeld m{};
        for (int i = von; i <= bis; ++i) {
            m[0].Me[i] = 2;
            m[mfSoll].Me[i] = 2;
            m[mfIst].Me[i] = 3;
            m[mfDiff].Me[i] = 1;
        }
        return m;
    }
    const TDateTime wj = EncodeDate(2026, 2, 1);
    const TDateTime zd = EncodeDate(2026, 5, 15);
};

}

TEST_F(DruckdateienTest, BlocksOfSeventeenSlots)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    TinvlListe liste;
    for (auto [von, bis] : {std::pair{1, 17}, {1, 18}, {5, 5}}) {
        TAASatz aa = Artikel(10002);   // a children's shoe: a grid with more than 17 sizes
        aa.GrVon = static_cast<uint8_t>(von);
        aa.GrBis = static_cast<uint8_t>(bis);
        TMengenfeld m = Feld(von - 1, bis - 1);
        f.SchreibeDruckDateien(m, {}, aa, wj, zd, "KI1001", 1, false, liste, false);
    }
    ASSERT_EQ(liste.Count(), 4);
    EXPECT_EQ(liste.GetItem(0).BlockNr, 0);
    EXPECT_EQ(liste.GetItem(0).Mengen[16].Ist, 3);
    const TinvlSatz& zweiter = liste.GetItem(2);
    EXPECT_EQ(zweiter.BlockNr, 1);
    EXPECT_EQ(zweiter.Mengen[0].Ist, 3) << "size 18 in the first column of the second block";
    for (int j = 1; j < CINVL_Slots; ++j)
        EXPECT_EQ(zweiter.Mengen[j], TinvlMengen{});
    EXPECT_EQ(zweiter.Sum_Ist, 18 * 3) << "the sums cover all slots on every block line";
    EXPECT_EQ(zweiter.Sum_AbsMengen, 2 + 1 + 3);
    EXPECT_EQ(liste.GetItem(3).GrVon, 5);
    EXPECT_EQ(liste.GetItem(3).GrBis, 5);
    EXPECT_EQ(liste.GetItem(3).Mengen[0].Soll, 2);
    EXPECT_EQ(liste.GetItem(3).LfdNr, 4);
    EXPECT_EQ(f.LfdNrINVL(), 5);
    EXPECT_FALSE(ORVInfo().Registriert("TfrmKalmetMain.SchreibeDruckDateien.SchreibeINVL_INVR"));
}

TEST_F(DruckdateienTest, ShelvesPerBlockWithValuesInBlockZeroOnly)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    TAASatz aa = Artikel(10002);
    aa.GrVon = 1;
    aa.GrBis = 18;
    TMengenfeld m = Feld(0, 17);
    TRegalMengen regale(3);
    for (int r = 0; r < 3; ++r) {
        regale[r].Regal = static_cast<int16_t>(100 + r);
        regale[r].Menge_Regal.Fil = 1;
    }
    regale[0].Gefuellt = regale[2].Gefuellt = true;
    regale[0].Menge_Regal.Me.Me[0] = 2;
    regale[0].Menge_Regal.Me.Me[17] = 1;
    regale[0].GesMenge = 3;
    regale[2].Menge_Regal.Me.Me[3] = 4;
    regale[2].GesMenge = 4;
    TinvlListe liste;
    f.SchreibeDruckDateien(m, regale, aa, wj, zd, "KI1001", 1, false, liste, false);
    ASSERT_EQ(liste.Count(), 2);
    EXPECT_EQ(liste.GetItem(0).AnzRegal, 2);
    EXPECT_EQ(liste.GetItem(1).AnzRegal, 2);
    const TDbfLeser r = Lesen("INVR");
    ASSERT_EQ(r.Anzahl(), 4u);
    const TinvrSatz b0 = f.INVRFile().SatzLesen(r, 0), b1 = f.INVRFile().SatzLesen(r, 2);
    EXPECT_EQ(b0.Regal, 100);
    EXPECT_EQ(b0.LfdNr, liste.GetItem(0).LfdNr);
    EXPECT_EQ(b0.Menge[0], 2);
    EXPECT_EQ(b0.GesMenge, 3);
    EXPECT_GT(b0.EKWert, 0);
    EXPECT_EQ(b1.BlockNr, 1);
    EXPECT_EQ(b1.LfdNr, liste.GetItem(1).LfdNr);
    EXPECT_EQ(b1.Menge[0], 1) << "size 18 of the shelf";
    EXPECT_EQ(b1.GesMenge, 0);
    EXPECT_EQ(b1.EKWert, 0);
    EXPECT_EQ(f.INVRFile().SatzLesen(r, 1).Regal, 102) << "the empty shelf 101 has no record";
}

TEST_F(DruckdateienTest, OverviewRecordsAndTheirVatText)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    Sql("UPDATE artikel SET mwstkz = 2 WHERE produkt_id_2 = 10004");
    TinvlListe liste;
    TMengenfeld leer{};
    f.SchreibeDruckDateien(leer, {}, Artikel(10000), wj, zd, "DA1001", 1, false, liste, true);
    EXPECT_EQ(f.LfdNrINVU(), 1) << "empty target and actual: no record";
    TAASatz aa = Artikel(10000);
    TMengenfeld m = Feld(aa.GrVon - 1, aa.GrBis - 1);
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, "DA1001", 1, false, liste, true);
    TAASatz aa7 = Artikel(10004);
    TMengenfeld m7 = Feld(aa7.GrVon - 1, aa7.GrBis - 1);
    f.SchreibeDruckDateien(m7, {}, aa7, wj, zd, "AC1001", 1, false, liste, true);
    EXPECT_TRUE(liste.IsEmpty());
    const TDbfLeser u = Lesen("INVU");
    ASSERT_EQ(u.Anzahl(), 2u);
    const TinvuSatz s = f.INVUEFile().SatzLesen(u, 0);
    EXPECT_EQ(s.LfdNr, 1);
    EXPECT_EQ(s.MwSt, "19%");
    EXPECT_EQ(f.INVUEFile().SatzLesen(u, 1).MwSt, "7%");
    EXPECT_EQ(s.WGN, aa.WGN);
    const int n = aa.GrBis - aa.GrVon + 1;
    EXPECT_EQ(s.Sum_Ist, 3 * n);
    EXPECT_EQ(s.Sum_Diff, n);
    EXPECT_DOUBLE_EQ(s.Diff_EKWert, s.Ist_EKWert - s.Soll_EKWert);
}

TEST_F(DruckdateienTest, WriteDownPercentagesZeroAndHundred)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    Sql("DELETE FROM abwregel");
    Sql("INSERT INTO abwregel (wgn_muster, saisonalter_ab, prozent) VALUES ('*', 0, 100)");
    TAASatz aa = Artikel(10000);
    TMengenfeld m = Feld(aa.GrVon - 1, aa.GrBis - 1);
    TinvlListe liste;
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, 1, false, liste, false);
    ASSERT_EQ(liste.Count(), 1);
    const TinvlSatz& voll = liste.First();
    EXPECT_EQ(voll.AbwProzent, 100);
    EXPECT_EQ(voll.EK_Abgewertet, 0);
    EXPECT_EQ(voll.Soll_EKWert_Abgew, 0);
    EXPECT_EQ(voll.Ist_EKWert_Abgew, 0);
    EXPECT_EQ(voll.Diff_EKWert_Abgew, 0);

    Sql("UPDATE abwregel SET prozent = 0");
    TInventurliste neu(TInventurlisteOptionen::AusParametern());   // the rules are read when the manager is made
    neu.DBFFilesErstellen(FAusgabe.filePath("neu"));
    neu.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, 1, false, liste, false);
    const TinvlSatz& keine = liste.Last();
    EXPECT_EQ(keine.AbwProzent, 0);
    EXPECT_EQ(keine.EK_Abgewertet, keine.EK);
    EXPECT_EQ(keine.Ist_EKWert_Abgew, keine.Ist_EKWert);
    EXPECT_EQ(keine.Diff_EKWert_Abgew, keine.Diff_EKWert);
}

TEST_F(DruckdateienTest, PurchasePricesInCentsSalesPricesAsTheyAre)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    Sql("DELETE FROM preis WHERE produkt_id_2 = 10000");
    Sql("INSERT INTO preis (produkt_id_1, produkt_id_2, produkt_id_3, preisart, filiale, slot_von, slot_bis, preis, strp, gueltig_ab) "
        "VALUES (1, 10000, 1, 1, 0, 0, 99, 12.345, 0, '2024-01-01 00:00:00.000'),"
        "(1, 10000, 1, 2, 0, 0, 99, 29.95, 0, '2024-01-01 00:00:00.000'),"
        "(1, 10000, 1, 3, 0, 0, 99, 25.4575, 0, '2024-01-01 00:00:00.000'),"
        "(1, 10000, 1, 1, 0, 0, 99, 99.0, 0, '2026-06-01 00:00:00.000')");   // not yet valid on the count date
    TAASatz aa = Artikel(10000);
    TMengenfeld m{};
    m[mfSoll].Me[aa.GrVon - 1] = 2;
    m[mfIst].Me[aa.GrVon - 1] = 1;
    m[mfDiff].Me[aa.GrVon - 1] = -1;
    TinvlListe liste;
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, 1, true, liste, false);
    ASSERT_EQ(liste.Count(), 1);
    const TinvlSatz& l = liste.First();
    EXPECT_DOUBLE_EQ(l.EK, 12.34) << "12.345 rounded half to even";
    EXPECT_DOUBLE_EQ(l.Soll_EKWert, 24.68);
    EXPECT_DOUBLE_EQ(l.VK, 25.4575) << "the second sales price set, unrounded";
    EXPECT_DOUBLE_EQ(l.Soll_VKWert, 50.915);
    EXPECT_DOUBLE_EQ(l.Diff_VKWert, -25.4575);
}

TEST_F(DruckdateienTest, InvoiceNumbersOnlyWithShelfNumbering)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    Sql("DELETE FROM renr WHERE produkt_id_2 = 10000");
    Sql("INSERT INTO renr (produkt_id_1, produkt_id_2, produkt_id_3, renr, renr2) VALUES (1, 10000, 1, 4711, 12)");
    TAASatz aa = Artikel(10000);
    TMengenfeld m = Feld(aa.GrVon - 1, aa.GrBis - 1);
    TinvlListe liste;
    ASSERT_TRUE(f.Optionen().MitRegal);
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, 1, false, liste, false);
    EXPECT_EQ(liste.Last().ReNr, 4711);
    EXPECT_EQ(liste.Last().ReNr2, 12);

    Sql("UPDATE parameter SET wert = 'N' WHERE name = 'REGANR'");
    TInventurliste g(TInventurlisteOptionen::AusParametern());
    g.DBFFilesErstellen(FAusgabe.filePath("ohne"));
    g.ArtlesSimple().Laden(aa.Produkt_ID);
    TinvlListe ohne;
    g.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, 1, false, ohne, false);
    ASSERT_EQ(ohne.Count(), 1);
    EXPECT_EQ(ohne.First().ReNr, 0);
    EXPECT_EQ(ohne.First().ReNr2, 0);
    EXPECT_FALSE(g.RENRFile()) << "the RENR file is never opened";
}

// An inventory of the demo chain written through the list computation: every line's quantities
// and values equal what the raw target, count and price tables give.
TEST_F(DruckdateienTest, EndToEndAgainstTheRawTables)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    QSqlQuery inv(TZEP_Connection::Database());
    ASSERT_TRUE(inv.exec("SELECT zaehldatum, filiale, wgn FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' "
                         "AND kzzaehlung = '3' ORDER BY zaehldatum, filiale"));
    ASSERT_TRUE(inv.next());
    const QVariant zdv = inv.value(0);
    const TDateTime zaehl = TDatumTraits::FromSql(&zdv);
    const int fil = inv.value(1).toInt();
    const QString wgn = inv.value(2).toString();

    // the articles of the inventory, each with its own target and count from the raw rows
    struct TRoh {
        std::array<int, 100> soll{}, ist{};
    };
    std::map<int, TRoh> roh;
    QSqlQuery iv(TZEP_Connection::Database());
    ASSERT_TRUE(iv.exec(QString("SELECT * FROM iv WHERE filiale = %1 AND zaehldatum = '%2'").arg(fil).arg(TDatumTraits::ToSql(zaehl).first().toString())));
    const int ivArt = iv.record().indexOf("produkt_id_2"), ivTyp = iv.record().indexOf("besttyp"), ivM = iv.record().indexOf("menge_0");
    while (iv.next()) {
        TRoh& r = roh[iv.value(ivArt).toInt()];
        const bool gezaehlt = iv.value(ivTyp).toString() == "1" || iv.value(ivTyp).toString() == "2";
        for (int i = 0; i < 100; ++i) {
            r.soll[i] += iv.value(ivM + i).toInt();
            if (!gezaehlt)
                r.ist[i] += iv.value(ivM + i).toInt();
        }
    }
    QSqlQuery g(TZEP_Connection::Database());
    ASSERT_TRUE(g.exec(QString("SELECT * FROM izns WHERE satzart = 'G' AND filiale = %1 AND zaehldatum = '%2'")
                           .arg(fil).arg(TDatumTraits::ToSql(zaehl).first().toString())));
    const int gArt = g.record().indexOf("produkt_id_2"), gZ = g.record().indexOf("gezaehlt"), gM = g.record().indexOf("gr_mesu_1");
    while (g.next())
        if (g.value(gZ).toInt() != 0)
            for (int i = 0; i < 100; ++i)
                roh[g.value(gArt).toInt()].ist[i] += g.value(gM + i).toInt();
    ASSERT_GT(roh.size(), 5u);

    TinvlListe alle;
    for (const auto& [nr, r] : roh) {
        const TInt32Trio id{1, nr, 1};
        TMengenfeld m;
        TRegalMengen regale;
        f.InitMengenfeld(m);
        Tivfile& ivDatei = f.IVFile();
        ivDatei.AllesClear();
        ivDatei.WiJahr.SetKeyWertAndFilter(wj);
        ivDatei.ZaehlDatum.SetKeyWertAndFilter(zaehl);
        ivDatei.Filiale.SetKeyWertAndFilter(fil);
        ivDatei.Produkt_ID.SetKeyWertAndFilter(id);
        for (bool ok = ivDatei.Get_ge(); ok; ok = ivDatei.Get_next())
            f.FuelleMengenfeld_MitSollsaetzen(ivDatei.GetSatz(), m);
        f.LeseZaehlMengen(m, regale, id, zaehl, fil, true);
        const TAASatz aa = Artikel(nr);
        TinvlListe liste;
        f.SchreibeDruckDateien(m, regale, aa, wj, zaehl, wgn, fil, false, liste, false);
        for (const TinvlSatz& l : liste)
            alle.Add(l);

        // prices valid on the count date, purchase prices in cents
        std::array<double, 100> ek{}, vk{};
        QSqlQuery p(TZEP_Connection::Database());
        // chain-wide rows first, then the branch's own, each by validity: the last one read wins
        ASSERT_TRUE(p.exec(QString("SELECT preisart, slot_von, slot_bis, preis FROM preis WHERE produkt_id_2 = %1 "
                                   "AND gueltig_ab <= '%2' AND filiale IN (0, %3) ORDER BY filiale <> 0, gueltig_ab")
                               .arg(nr).arg(TDatumTraits::ToSql(zaehl).first().toString()).arg(fil)));
        while (p.next())
            for (int i = p.value(1).toInt(); i <= p.value(2).toInt(); ++i) {
                if (p.value(0).toInt() == 1)
                    ek[i] = CentAusText(p.value(3).toString());
                if (p.value(0).toInt() == 2)
                    vk[i] = p.value(3).toDouble();
            }
        long double sollEK = 0, istEK = 0, istVK = 0;
        int sollSumme = 0;
        for (int i = 0; i < 100; ++i) {
            sollEK += r.soll[i] * static_cast<long double>(ek[i]);
            istEK += r.ist[i] * static_cast<long double>(ek[i]);
            istVK += r.ist[i] * static_cast<long double>(vk[i]);
            sollSumme += r.soll[i];
        }
        ASSERT_FALSE(liste.IsEmpty()) << nr;
        const TinvlSatz& l = liste.First();
        EXPECT_EQ(l.Sum_Soll, sollSumme) << nr;
        EXPECT_NEAR(l.Soll_EKWert, static_cast<double>(sollEK), 1e-9) << nr;
        EXPECT_NEAR(l.Ist_EKWert, static_cast<double>(istEK), 1e-9) << nr;
        EXPECT_NEAR(l.Ist_VKWert, static_cast<double>(istVK), 1e-9) << nr;
        for (const TinvlSatz& b : liste)
            for (int j = 0; j < CINVL_Slots; ++j) {
                const int s = b.GrVon - 1 + CINVL_Slots * b.BlockNr + j;
                if (s > b.GrBis - 1)
                    break;
                ASSERT_EQ(b.Mengen[j].Soll, r.soll[s]) << nr << " slot " << s;
                ASSERT_EQ(b.Mengen[j].Ist, r.ist[s]) << nr << " slot " << s;
                ASSERT_EQ(b.Mengen[j].Diff, r.ist[s] - r.soll[s]) << nr << " slot " << s;
            }
    }
    // what reaches the INVL table reads back unchanged
    f.INVLSaetzeWegschreiben(alle, false);
    const TDbfLeser l = Lesen("INVL");
    ASSERT_EQ(l.Anzahl(), static_cast<uint32_t>(alle.Count()));
    for (uint32_t i = 0; i < l.Anzahl(); ++i) {
        const TinvlSatz gelesen = f.INVLFile().SatzLesen(l, i);
        ASSERT_EQ(gelesen.Mengen, alle.GetItem(static_cast<int>(i)).Mengen);
        ASSERT_EQ(gelesen.Produkt_ID, alle.GetItem(static_cast<int>(i)).Produkt_ID);
    }
}

// Master data the print table cannot hold as it stands: a long article number and product
// group are cut to their columns, and a size range starting at size 0 is clamped to size 1
// and logged; no line is lost and every slot is valued.
TEST_F(DruckdateienTest, OversizedMasterDataIsCutOrClampedNeverLost)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    TAASatz aa = Artikel(10002);
    aa.ArtNr = "1234567890123456789012345";
    aa.GrVon = 0;
    aa.GrBis = 3;
    TMengenfeld m = Feld(0, 2);
    TinvlListe liste;
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, "WGN-ZU-LANG", 1, false, liste, false);
    ASSERT_EQ(liste.Count(), 1);
    const TinvlSatz& l = liste.First();
    EXPECT_EQ(l.GrVon, 1);
    EXPECT_EQ(l.GrBis, 3);
    EXPECT_GT(l.Ist_EKWert, 0);
    EXPECT_DOUBLE_EQ(l.Ist_EKWert, 3 * 3 * l.EK) << "all three slots valued at the price of size 1";
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT COUNT(*) FROM protokoll WHERE text LIKE '%Größenbereich 0 bis 3%'") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);

    f.INVLSaetzeWegschreiben(liste, false);
    EXPECT_FALSE(ORVInfo().Registriert("TfrmKalmetMain.INVLSaetzeWegschreiben"));
    const TDbfLeser r = Lesen("INVL");
    ASSERT_EQ(r.Anzahl(), 1u);
    EXPECT_EQ(r.Wert(0, "ArtNr").toString(), "12345678901234567890");
    EXPECT_EQ(r.Wert(0, "WGN").toString(), "WGN-ZU-LAN");
}

// The most specific matching pattern holds the group's whole schedule: a young article of a
// group with a schedule of its own is not written down by the general rule.
TEST_F(DruckdateienTest, WriteDownScheduleOfTheLongestMatchingPattern)
{
    const TAASatz aa = Artikel(10000);
    const QString wgn = TWGNMani().Get_MaxWGN4ProdId(aa.Produkt_ID, QString());
    ASSERT_GE(wgn.size(), 2);
    Sql("DELETE FROM abwregel");
    Sql(QString("INSERT INTO abwregel (wgn_muster, saisonalter_ab, prozent) VALUES ('*', 0, 10), ('%1*', 6, 40), "
                "('%1*', 8, 60), ('ZZZ*', 0, 90)").arg(wgn.left(2).toLower()));
    TDRAV_ArtAbwMani abw;
    const auto prozent = [&](int jahr, const TInt32Trio& id) {
        return abw.Abw_Prozent(EncodeDate(jahr, 2, 1), id, 1, "F24", 0, {}, {}, 5);
    };
    EXPECT_EQ(prozent(2026, aa.Produkt_ID), 0) << "age 4 half-years: below the group's first step";
    EXPECT_EQ(prozent(2027, aa.Produkt_ID), 40) << "age 6";
    EXPECT_EQ(prozent(2028, aa.Produkt_ID), 60) << "age 8";
    EXPECT_EQ(abw.Abw_Prozent(EncodeDate(2028, 2, 1), aa.Produkt_ID, 1, "F24", 0, {}, {}, 0), 0) << "nothing counted";
    EXPECT_EQ(abw.Abw_Prozent(EncodeDate(2028, 2, 1), aa.Produkt_ID, 1, "X99", 0, {}, {}, 5), 0) << "unknown season";
}

// A branch's own sales price stands before the chain-wide one in that branch only; the "W"
// marker tells the branches that carry the article.
TEST_F(DruckdateienTest, BranchPricesAndTheBranchMarker)
{
    TInventurliste& f = Liste();
    TabellenAnlegen();
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT produkt_id_2, filiale, preis FROM preis WHERE filiale <> 0 AND preisart = 2 ORDER BY produkt_id_2")
                && q.next());
    const int nr = q.value(0).toInt(), eigene = q.value(1).toInt();
    const double eigenerPreis = q.value(2).toDouble();
    ASSERT_TRUE(q.exec(QString("SELECT nr FROM filiale WHERE nr <> %1 ORDER BY nr").arg(eigene)) && q.next());
    const int andere = q.value(0).toInt();
    const auto fuehrt = [&](int fil) {
        QSqlQuery w(TZEP_Connection::Database());
        EXPECT_TRUE(w.exec(QString("SELECT COUNT(*) FROM artikel_filiale WHERE produkt_id_2 = %1 AND filiale = %2").arg(nr).arg(fil))
                    && w.next());
        return w.value(0).toInt() > 0;
    };

    const TAASatz aa = Artikel(nr);
    TMengenfeld m = Feld(aa.GrVon - 1, aa.GrBis - 1);
    TinvlListe liste;
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, eigene, false, liste, false);
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, andere, false, liste, false);
    f.SchreibeDruckDateien(m, {}, aa, wj, zd, aa.WGN, eigene, false, liste, false);
    ASSERT_EQ(liste.Count(), 3);
    EXPECT_DOUBLE_EQ(liste.GetItem(0).VK, eigenerPreis);
    EXPECT_NE(liste.GetItem(1).VK, eigenerPreis);
    EXPECT_DOUBLE_EQ(liste.GetItem(2).VK, eigenerPreis) << "the price of the branch before does not stick";
    EXPECT_EQ(liste.GetItem(0).FilKZ, fuehrt(eigene) ? QChar('W') : QChar('F'));
    EXPECT_EQ(liste.GetItem(1).FilKZ, fuehrt(andere) ? QChar('W') : QChar('F'));
}

// The netting takes its minimum difference from the layout's second list.
TEST_F(DruckdateienTest, NettingTakesMinDiffFromTheLayoutParameters)
{
    TInventurliste& f = Liste();
    auto layout = std::make_unique<TZEP_SelectedLayout>();
    layout->Liste1 = {"MinDiff=1"};
    layout->Liste2 = {"MinDiff=3"};
    f.SelectedLayouts().push_back(std::move(layout));
    TinvlSatz r;
    r.Produkt_ID = {1, 1, 1};
    r.Filiale = 2;
    r.GrVon = 1;
    r.GrBis = 5;
    r.Mengen[0].Diff = 2;
    r.Sum_AbsMengen = 2;
    TinvlListe liste{r};
    f.FilialenAufrechnen_INVL(0, liste);
    EXPECT_EQ(liste.Count(), 0) << "a difference of 2 is below the minimum 3 of the second list";
    f.SelectedLayouts().front()->Liste2 = {"MinDiff=2"};
    liste = TinvlListe{r};
    f.FilialenAufrechnen_INVL(0, liste);
    EXPECT_EQ(liste.Count(), 1);
}
