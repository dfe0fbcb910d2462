// The build of the print tables and what it reads with: the product-group iterator, the
// block reads of articles and prices, and the filter of the selection query.
#include "framework/article/artlessimple.h"
#include "framework/article/wgniterator.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/produktblock.h"
#include "framework/dbf/crystalsets.h"
#include "inventurliste/bau.h"
#include "tests/inventurliste/liste.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <set>

namespace {

class BauTest : public ListeTest {
protected:
    // The article ids of the chain in numeric order.
    static std::vector<TInt32Trio> AlleArtikel()
    {
        std::vector<TInt32Trio> ids;
        QSqlQuery q(TZEP_Connection::Database());
        q.exec("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM artikel ORDER BY 1, 2, 3");
        while (q.next())
            ids.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
        return ids;
    }

    // What a reader answers for an article, as text: master record, prices of every kind in
    // every branch, price history and merchandise branches.
    static QString Artikelbild(IORV_ArtLesSimple& leser, const TInt32Trio& id)
    {
        if (!leser.Laden(id))
            return "unbekannt";
        const TAASatz& a = leser.Satz();
        QStringList t{a.ArtNr, a.Bezeichnung, a.WGN, QString::number(a.GGKey), QString::number(a.GrVon), QString::number(a.GrBis),
                      a.LiefArtNr, QString::number(a.Partner1.Int2), a.Saison, a.Merkmal[0], a.Merkmal[5]};
        TORV_ArtPreisView& p = leser.Preise();
        p.SetStichtag(EncodeDate(2026, 12, 1));
        for (int16_t fil = 0; fil <= 5; ++fil) {
            p.SetFiliale(fil);
            for (const TORV_Intv100_Preis& set : {p.EKSet(), p.VKSet(), p.VK2Set()})
                for (const TORV_PreisEintrag& e : set.Eintraege)
                    t << QString("%1-%2:%3").arg(e.Von).arg(e.Bis).arg(e.Preis);
            t << QString::number(p.STRP().size()) << QString::number(p.FilialTest(fil));
        }
        for (const TPreisHistorieEintrag& h : p.PreisHistorie())
            t << QString("%1 %2 %3").arg(h.Datum).arg(h.Vorgang).arg(h.PreisNeu);
        return t.join('|');
    }

    // The request for the branch-wide inventories of the 2026 year.
    static TDruckConfig Filialweit(const QString& SelWGN)
    {
        TDruckConfig c;
        c.WiJahr = EncodeDate(2026, 2, 1);
        c.SelWGN = SelWGN;
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec("SELECT zaehldatum, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND wgn = ''"));
        while (q.next()) {
            const QVariant d = q.value(0);
            c.Zeilen.push_back({TDatumTraits::FromSql(&d), "*", q.value(1).toInt()});
        }
        EXPECT_FALSE(c.Zeilen.empty());
        return c;
    }

    // The number of INVL lines of a build of the branch-wide inventories of the 2026 year.
    int Zeilen(const QString& SelWGN)
    {
        const TDruckConfig c = Filialweit(SelWGN);
        QTemporaryDir dir;
        EXPECT_TRUE(TInventurlisteBau(Liste(), c, WiJahrEnde(c.WiJahr)).Ausfuehren(dir.path(), {}));
        return static_cast<int>(TDbfLeser(Liste().CrystalSets().Tabelle("INVL")->Pfad()).Anzahl());
    }
};

}

TEST_F(BauTest, IteratorYieldsEveryArticleOfTheGroupOnceInNumericOrder)
{
    // more articles than one page, with numbers whose bytes sort otherwise than the numbers
    QSqlDatabase db = TZEP_Connection::Database();
    db.transaction();
    QSqlQuery q(db);
    q.prepare("INSERT INTO artikel (produkt_id_1, produkt_id_2, produkt_id_3, wgn) VALUES (7, ?, ?, ?)");
    for (int i = 2500; i >= 1; --i) {
        q.addBindValue(i);
        q.addBindValue(i % 3);
        q.addBindValue(i == 1234 ? "ZZ8" : "ZZ9");
        ASSERT_TRUE(q.exec());
    }
    db.commit();

    const auto lesen = [](const QString& wgn) {
        std::vector<TInt32Trio> ids;
        TZEP_WGN_Iterator it;
        if (it.Move_First(wgn, "EIGEN"))
            do
                ids.push_back(it.Current_Produkt_ID());
            while (it.Move_Next());
        return ids;
    };
    const std::vector<TInt32Trio> zz9 = lesen("ZZ9");
    ASSERT_EQ(zz9.size(), 2499u);
    EXPECT_TRUE(std::is_sorted(zz9.begin(), zz9.end(), &TInt32Trio::Numerisch_Kleiner));
    EXPECT_TRUE(std::adjacent_find(zz9.begin(), zz9.end()) == zz9.end());
    EXPECT_EQ(lesen("ZZ").size(), 2500u);
    EXPECT_EQ(lesen("").size(), AlleArtikel().size());
    EXPECT_EQ(lesen(QString()).size(), AlleArtikel().size());
    EXPECT_TRUE(lesen("QQ").empty());
}

TEST_F(BauTest, BlockReadsGiveWhatSingleReadsGive)
{
    Sql("INSERT INTO preis (produkt_id_1, produkt_id_2, produkt_id_3, preisart, filiale, preis, gueltig_ab) "
        "SELECT produkt_id_1, produkt_id_2, produkt_id_3, 2, 3, 9.95, '2026-06-01 00:00:00.000' FROM artikel");
    std::vector<TInt32Trio> ids = AlleArtikel();
    ASSERT_GT(ids.size(), 100u);
    ids.insert(ids.begin() + 50, TInt32Trio{99, 99, 99});   // unknown article inside a block
    std::unique_ptr<IORV_ArtLesSimple> block(TORVServerFactory::ArtLesSimpleHolen());
    std::unique_ptr<IORV_ArtLesSimple> einzeln(TORVServerFactory::ArtLesSimpleHolen());
    // master records and prices read apart, as two threads of the list read them
    std::unique_ptr<IORV_ArtLesSimple> getrennt(TORVServerFactory::ArtLesSimpleHolen());
    for (size_t von = 0; von < ids.size(); von += 60) {
        const std::vector<TInt32Trio> teil(ids.begin() + von, ids.begin() + std::min(ids.size(), von + 60));
        block->Vorladen(teil);
        getrennt->StammVorladen(teil);
        TORV_ArtPreisView preise;
        preise.Vorladen(teil);
        getrennt->PreisVorratTauschen(preise);
        for (const TInt32Trio& id : teil) {
            EXPECT_EQ(Artikelbild(*block, id), Artikelbild(*einzeln, id)) << qPrintable(id.ToText());
            EXPECT_EQ(Artikelbild(*getrennt, id), Artikelbild(*einzeln, id)) << qPrintable(id.ToText());
        }
    }
    // an article outside the block is read by itself
    EXPECT_EQ(Artikelbild(*block, ids.front()), Artikelbild(*einzeln, ids.front()));
    EXPECT_EQ(Artikelbild(*block, ids[50]), "unbekannt");

    TProduktBlockAbfrage zuViele("t.wgn", "artikel", "");
    EXPECT_THROW(zuViele.Lesen(std::vector<TInt32Trio>(TProduktBlockAbfrage::CBlock + 1), [](int, const TBlockZeile&) {}),
                 std::exception);
}

// A full block with an unknown id reads the same rows in the same order, condition included,
// as reading each article by itself.
TEST_F(BauTest, ABlockReadsTheRowsOfItsArticlesOneByOne)
{
    const std::vector<TInt32Trio> alle = AlleArtikel();
    std::vector<TInt32Trio> block(alle.begin(), alle.begin() + std::min(alle.size(), TProduktBlockAbfrage::CBlock));
    block[10] = {99, 99, 99};
    TProduktBlockAbfrage a("t.preisart, t.preis", "preis", "t.preisart, t.gueltig_ab, t.id", "t.preisart <> ?");
    const auto lesen = [&](const std::vector<TInt32Trio>& ids, int erster) {
        QStringList r;
        a.Lesen(ids, [&](int i, const TBlockZeile& q) { r << QString("%1:%2:%3").arg(erster + i).arg(q.Int(1)).arg(q.Double(2)); },
                {3});
        return r;
    };
    QStringList einzeln;
    for (size_t i = 0; i < block.size(); ++i)
        einzeln << lesen({block[i]}, static_cast<int>(i));
    EXPECT_FALSE(einzeln.isEmpty());
    EXPECT_EQ(lesen(block, 0), einzeln);
}

// A block read hands over each value as the driver's query of the same rows reads it:
// numbers, texts, timestamps and quantities (read past the driver on PostgreSQL).
TEST_F(BauTest, ABlockReadsEachValueAsTheDriversQueryDoes)
{
    const std::vector<TInt32Trio> alle = AlleArtikel();
    const std::vector<TInt32Trio> ids(alle.begin(), alle.begin() + std::min(alle.size(), TProduktBlockAbfrage::CBlock));
    const auto trio = [](const TInt32Trio& id) { return QString("%1.%2.%3").arg(id.Int1).arg(id.Int2).arg(id.Int3); };
    std::set<QString> imBlock;
    for (const TInt32Trio& id : ids)
        imBlock.insert(trio(id));
    // the values from column erste on: an integer, a text, a number, a timestamp and, with
    // mengen, the quantities
    const auto bild = [](const TBlockZeile& z, int erste, bool mengen) {
        QStringList t{QString::number(z.Int(erste)), z.Text(erste + 1), QString::number(z.Double(erste + 2), 'g', 17),
                      QString::number(z.Datum(erste + 3), 'g', 17)};
        if (mengen)
            for (int32_t m : z.Mengen(erste + 4, "test"))
                t << QString::number(m);
        return t.join('|');
    };
    const QString mengen = MengenLeseAusdruecke(MengenSpalten("t.gr_mesu", 1), TZEP_Connection::Typ()).join(", ");
    for (const QString& tabelle : {QString("izns"), QString("preishist")}) {
        const bool izns = tabelle == "izns";
        const QString spalten = izns ? "t.regal, t.satzart, t.gezaehlt, t.zaehldatum, " + mengen : "t.preisart, t.vorgang, t.preis_neu, t.datum";
        QStringList block, treiber;
        TProduktBlockAbfrage a(spalten, tabelle, "");
        a.Lesen(ids, [&](int i, const TBlockZeile& z) { block << trio(ids[i]) + ' ' + bild(z, 1, izns); });
        TZEP_Connection::Lesen("Test", "SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, " + spalten + " FROM " + tabelle + " t",
                               {}, [&](const QSqlQuery& q) {
                                   const QString id = trio({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
                                   if (imBlock.count(id))
                                       treiber << id + ' ' + bild(TSqlZeile(q), 3, izns);
                               });
        EXPECT_FALSE(block.isEmpty()) << qPrintable(tabelle);
        block.sort();
        treiber.sort();
        EXPECT_EQ(block, treiber) << qPrintable(tabelle);
    }
}

// The index of each row is the place of its id in the block, in whatever order the ids come.
TEST_F(BauTest, ABlockInAnyOrderAnswersEachIdAtItsPlace)
{
    std::vector<TInt32Trio> ids = AlleArtikel();
    ASSERT_GE(ids.size(), 37u);
    ids.resize(37);
    std::reverse(ids.begin(), ids.end());
    std::swap(ids[3], ids[20]);
    TProduktBlockAbfrage a("t.produkt_id_1, t.produkt_id_2, t.produkt_id_3", "artikel", "");
    std::vector<TInt32Trio> gelesen(ids.size());
    a.Lesen(ids, [&](int i, const TBlockZeile& q) { gelesen.at(i) = {q.Int(1), q.Int(2), q.Int(3)}; });
    EXPECT_EQ(gelesen, ids);
}

TEST_F(BauTest, WithoutGroupOrSqlFilterTheBuildListsTheSameLines)
{
    const int alle = Zeilen("");
    EXPECT_GT(alle, 0);
    // a selection without text is the empty one, not a group no article has
    EXPECT_EQ(Zeilen(QString()), alle);
    // without SQL access there is no filter: every article is looked at, the same lines come out
    GDBConfig = 1;
    const int ohneFilter = Zeilen("");
    GDBConfig = 0;
    EXPECT_EQ(ohneFilter, alle);
}

// The records and prices of a block are read ahead on threads of their own: a failure there
// fails the build, as a failure of the computing thread does.
TEST_F(BauTest, AFailedReadAheadFailsTheBuild)
{
    // the erroneous sales come with the target records, the price history with the prices
    for (const QString tabelle : {"fvk", "preishist"}) {
        Sql(QString("ALTER TABLE %1 RENAME TO weg").arg(tabelle));
        const TDruckConfig c = Filialweit("");
        QTemporaryDir dir;
        TInventurlisteBau bau(Liste(), c, WiJahrEnde(c.WiJahr));
        EXPECT_FALSE(bau.Ausfuehren(dir.path(), {})) << qPrintable(tabelle);
        EXPECT_TRUE(bau.Fehler().contains(tabelle)) << qPrintable(bau.Fehler());
        Sql(QString("ALTER TABLE weg RENAME TO %1").arg(tabelle));
    }
}
