// The booking engine on the test chain: what a complete booking leaves (checked against the
// raw tables), locked articles, a failure inside an article, the checks and questions.
#include "buchung/ausgleichruecknahme.h"
#include "buchung/inventurbuchung.h"
#include "framework/app/info.h"
#include "framework/article/iazugriff.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/stock/invmani.h"
#include "inventurliste/inventurliste.h"
#include "tests/buchung/kettenliste.h"
#include "tests/support/buchungskette.h"
#include "tests/support/fremdesperre.h"

#include <QSysInfo>
#include <QThread>

#include <QRegularExpression>
#include <QSqlRecord>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <thread>

using namespace Kette;

namespace {

class BuchungTest : public KettenListeTest {
protected:
    void NeueKette()
    {
        TearDown();
        SetUp();
    }

    // An open inventory of an ordinary branch, or of the storage-location branch.
    TKettenInventur Inventur(bool lagerfiliale = false)
    {
        for (const TKettenInventur& i : OffeneInventuren())
            if (i.Lagerfiliale == lagerfiliale && i.Zeile.WGN != "*")
                return i;
        ADD_FAILURE() << "no open inventory";
        return {};
    }

    // Books the inventories as the window does with everything answered Yes.
    bool Buchen(const std::vector<TKettenInventur>& inventuren, std::vector<TZEP_clMeldung>& meldungen)
    {
        std::vector<TBuchungsZeile> geprueft;
        TZeileAnzeige_Arr zeilen;
        for (const TKettenInventur& i : inventuren) {
            const QString kz = Status(i.Zeile);
            geprueft.push_back({i.Zeile, i.SollEK, i.IstEK, Char_2_IA_KZZaehlung(kz.isEmpty() ? QChar() : kz.at(0))});
            zeilen.push_back(i.Zeile);
        }
        TBuchungsUmgebung u;
        u.Status = [this](const TZeileAnzeige&, TZEP_IA_KZZaehlung s) { FStatus.push_back(s); };
        u.Artikel = [this](const QString&, bool) {
            if (FJeArtikel)
                FJeArtikel();
        };
        return TInventurBuchung(*FListe, EncodeDate(2026, 2, 1), u).InvBuchen(geprueft, zeilen, meldungen);
    }

    // What the list at the count date shows per article (Diff, then FVK, per slot), read by a
    // fresh engine as a print would.
    static std::map<QString, std::array<int, 200>> ListeAmZaehltag(const TZeileAnzeige& z)
    {
        TInventurliste liste(TInventurlisteOptionen::AusParametern());
        std::map<QString, std::array<int, 200>> r;
        for (const QString& a : Artikel(z)) {
            const QStringList t = a.split('.');
            const TInt32Trio id{t[0].toInt(), t[1].toInt(), t[2].toInt()};
            TMengenfeld feld;
            TRegalMengen regale;
            liste.InitMengenfeld(feld);
            liste.LeseSollMengen(feld, id, EncodeDate(2026, 2, 1), z.ZaehlDatum, z.Filiale);
            liste.LeseZaehlMengen(feld, regale, id, z.ZaehlDatum, z.Filiale, false);
            liste.FVKKorrektur(id, z.Filiale, z.ZaehlDatum, false, feld);
            std::array<int, 200>& w = r[a];
            for (int i = 0; i < 100; ++i) {
                w[i] = feld[mfDiff].Me[i];
                w[100 + i] = feld[mfFVK].Me[i];
            }
        }
        return r;
    }
    // The count differences posted after movement id nach, per article of the branch.
    static std::map<QString, std::array<int, 200>> Gebucht(int32_t filiale, qint64 nach)
    {
        std::map<QString, std::array<int, 200>> r;
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, %1 FROM bne WHERE bewart = 19 AND filiale = %2 AND id > %3")
                               .arg(MengenSpalten("menge", 0).join(", "))
                               .arg(filiale)
                               .arg(nach)));
        while (q.next()) {
            std::array<int, 200>& w = r[QString("%1.%2.%3").arg(q.value(0).toInt()).arg(q.value(1).toInt()).arg(q.value(2).toInt())];
            for (int i = 0; i < 100; ++i)
                w[i] += q.value(3 + i).toInt();
        }
        return r;
    }

    static QVariant SqlDatum(TDateTime d) { return TDatumTraits::ToSql(d).first(); }
    static QStringList Spalten(const QString& tabelle)
    {
        QStringList r;
        const QSqlRecord satz = TZEP_Connection::Database().record(tabelle);
        for (int i = 0; i < satz.count(); ++i)
            r << satz.fieldName(i);
        return r;
    }

    static QString ArtikelBedingung(const QString& id)
    {
        const QStringList t = id.split('.');
        return QString("produkt_id_1 = %1 AND produkt_id_2 = %2 AND produkt_id_3 = %3").arg(t[0], t[1], t[2]);
    }
    static int Zahl(const QString& sql) { return Wert(sql).toInt(); }

    TSkriptInteraktion FInteraktion;
    std::vector<TZEP_IA_KZZaehlung> FStatus;
    std::function<void()> FJeArtikel;   // what another terminal does before each article
};

}

TEST_F(BuchungTest, EveryDifferenceIsPostedOnceAndTheStockIsTheCount)
{
    const TKettenInventur inv = Inventur();
    const QStringList artikel = Artikel(inv.Zeile);
    ASSERT_GE(artikel.size(), 2);
    ASSERT_FALSE(AbweichendVomZaehlbestand(inv.Zeile).isEmpty()) << "the chain has differences to post";
    const auto bestandVorher = Bestand();
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    const QString fil = QString::number(inv.Zeile.Filiale);
    const int fehlverkaeufe = Zahl("SELECT count(*) FROM fvk WHERE vorgangsart = 'F' AND belegart = '23' AND groesse <> 999 AND filiale = " + fil);
    const int verkaeufe = Zahl("SELECT count(*) FROM lsn");

    std::vector<TZEP_clMeldung> meldungen;
    ASSERT_TRUE(Buchen({inv}, meldungen));
    EXPECT_TRUE(meldungen.empty());
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_EQ(FStatus, (std::vector<TZEP_IA_KZZaehlung>{iakzTeilweiseGebucht, iakzGebucht}));
    EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList()) << "counted stock at the count day is the count";
    const QString zd = TDatumTraits::ToSql(inv.Zeile.ZaehlDatum).first().toString();
    EXPECT_EQ(Zahl(QString("SELECT count(*) FROM iv WHERE zaehldatum = '%1' AND filiale = %2 AND kzgebucht <> 'A'").arg(zd, fil)), 0);
    // one difference movement per article at most, dated on the count day
    EXPECT_EQ(Zahl(QString("SELECT count(*) FROM (SELECT produkt_id_2 FROM bne WHERE bewart = 19 AND id > %1 GROUP BY produkt_id_1, "
                           "produkt_id_2, produkt_id_3 HAVING count(*) > 1) x")
                       .arg(letzteBewegung)),
              0);
    EXPECT_EQ(Zahl(QString("SELECT count(*) FROM bne WHERE bewart = 19 AND id > %1 AND datum <> '%2'").arg(letzteBewegung).arg(zd)), 0);
    // the articles' erroneous sales are sales lines now, each once
    const int rest = Zahl("SELECT count(*) FROM fvk WHERE vorgangsart = 'F' AND belegart = '23' AND groesse <> 999 AND filiale = " + fil);
    EXPECT_LT(rest, fehlverkaeufe);
    EXPECT_EQ(Zahl("SELECT count(*) FROM lsn") - verkaeufe, fehlverkaeufe - rest);
    EXPECT_EQ(Bestand(), BestandPlusBewegungen(bestandVorher, letzteBewegung)) << "stock moved only by movements";
    EXPECT_EQ(Zahl("SELECT count(*) FROM artsperre"), 0);

    // the back-calculation reads a posted difference as inventory difference
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(QString("SELECT produkt_id_1, produkt_id_2, produkt_id_3, %1 FROM bne WHERE bewart = 19 AND id > %2")
                           .arg(MengenSpalten("menge", 0).join(", "))
                           .arg(letzteBewegung)));
    ASSERT_TRUE(q.next());
    const TInt32Trio id{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
    TInvMani& mani = FListe->InvMani();
    mani.Artlesen_Init({2026, static_cast<int32_t>(inv.Zeile.ZaehlDatum)}, true, true, false, inv.Zeile.ZaehlDatum - 10);
    ASSERT_TRUE(mani.eigen_get_equal(id, 0, true));
    mani.LeserB().SetFiliale(static_cast<int16_t>(inv.Zeile.Filiale));
    mani.LeserB().SetBestTyp(CMengenArtInventurdifferenz);
    const TORV_Intv100_Sortiment_MeMitOV gelesen = mani.LeserB().Lesen();
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(gelesen.Me.Me[i], q.value(3 + i).toInt()) << i;

    // booked is booked: a second run stops at the check
    std::vector<TZEP_clMeldung> zweite;
    const qint64 nachErster = Wert("SELECT max(id) FROM bne").toLongLong();
    EXPECT_FALSE(Buchen({inv}, zweite));
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Titel.contains("1003"));
    EXPECT_EQ(Wert("SELECT max(id) FROM bne").toLongLong(), nachErster);
}

TEST_F(BuchungTest, ALockedArticleStaysUnpostedUntilItIsFree)
{
    const TKettenInventur inv = Inventur();
    const QString gesperrt = AbweichendVomZaehlbestand(inv.Zeile).first();
    {
        // process 1 on this host runs for as long as the machine does
        const TFremdeSperre fremd(ProduktId(gesperrt), QSysInfo::machineHostName(), 1, "2026-12-08 09:30:00.000");
        std::vector<TZEP_clMeldung> meldungen;
        EXPECT_FALSE(Buchen({inv}, meldungen));
        ASSERT_EQ(meldungen.size(), 1u) << "listed once, from the last of the five passes";
        EXPECT_FALSE(meldungen[0].Artikel.isEmpty());
        EXPECT_EQ(meldungen[0].Programm, "KASSE");
        EXPECT_EQ(meldungen[0].TerminalNr, "7");
        EXPECT_EQ(meldungen[0].ProzessId, 1);
        EXPECT_EQ(TDateTime_ToQDateTime(meldungen[0].SperrZeit), QDateTime(QDate(2026, 12, 8), QTime(9, 30), Qt::UTC));
        EXPECT_EQ(Status(inv.Zeile), "4");
        EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList{gesperrt}) << "the others are posted";
        Sql("DELETE FROM artsperre");
    }
    std::vector<TZEP_clMeldung> zweite;
    EXPECT_TRUE(Buchen({inv}, zweite)) << "an inventory left at 4 can be booked again";
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList());
}

TEST_F(BuchungTest, ALockWhoseHolderIsGoneIsTakenOverAndProtocolled)
{
    const TKettenInventur inv = Inventur();
    const QStringList t = Artikel(inv.Zeile).first().split('.');
    // a process id above the kernel's limit never runs
    Sql(QString("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminal, programm, prozessid, sperrzeit) "
                "VALUES (%1, %2, %3, '%4', 'KALMET', 2000000000, '2026-12-08 09:30:00.000')")
            .arg(t[0], t[1], t[2], QSysInfo::machineHostName()));
    std::vector<TZEP_clMeldung> meldungen;
    EXPECT_TRUE(Buchen({inv}, meldungen));
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_EQ(Zahl("SELECT count(*) FROM protokoll WHERE text LIKE '%Artikelsperre übernommen%'"), 1);
    EXPECT_EQ(Zahl("SELECT count(*) FROM artsperre"), 0);
}

TEST_F(BuchungTest, AFailureInsideAnArticleLeavesNothingOfItPosted)
{
    const TKettenInventur inv = Inventur();
    const QString kaputt = AbweichendVomZaehlbestand(inv.Zeile).first();
    const QString bedingung = ArtikelBedingung(kaputt);
    const QString inventur = QString(" AND zaehldatum = '%1' AND filiale = %2")
                                 .arg(TDatumTraits::ToSql(inv.Zeile.ZaehlDatum).first().toString())
                                 .arg(inv.Zeile.Filiale);
    const QString t2 = kaputt.split('.')[1];
    if (FDb->Typ() == TConnectorTyp::PostgreSQL) {
        Sql("CREATE FUNCTION kaputt() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'kaputt'; END $$ LANGUAGE plpgsql");
        Sql("CREATE TRIGGER kaputt BEFORE UPDATE ON iv FOR EACH ROW WHEN (NEW.produkt_id_2 = " + t2 + ") EXECUTE FUNCTION kaputt()");
    } else {
        Sql("CREATE TRIGGER kaputt BEFORE UPDATE ON iv WHEN NEW.produkt_id_2 = " + t2 + " BEGIN SELECT RAISE(ABORT, 'kaputt'); END");
    }
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    const int fvk = Zahl("SELECT count(*) FROM fvk WHERE " + bedingung);
    std::vector<TZEP_clMeldung> meldungen;
    EXPECT_FALSE(Buchen({inv}, meldungen)) << "not a complete booking";
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("Nicht abgeschlossen")) << "told once, at the end";
    EXPECT_TRUE(ORVInfo().Registriert("TfrmKalmetMain.InvBuchenF.InvBuchenF_Artikel"));
    EXPECT_EQ(Zahl(QString("SELECT count(*) FROM bne WHERE id > %1 AND %2").arg(letzteBewegung).arg(bedingung)), 0) << "nothing posted";
    EXPECT_EQ(Zahl("SELECT count(*) FROM fvk WHERE " + bedingung), fvk) << "erroneous sales not converted";
    EXPECT_EQ(Zahl("SELECT count(*) FROM iv WHERE kzgebucht = 'A' AND " + bedingung + inventur), 0);
    EXPECT_EQ(Zahl("SELECT count(*) FROM artsperre"), 0) << "the article is free again";
    if (FDb->Typ() == TConnectorTyp::PostgreSQL) {
        // of this database: tests beside it book their own
        EXPECT_EQ(Zahl("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND database = "
                       "(SELECT oid FROM pg_database WHERE datname = current_database())"),
                  0)
            << "no advisory lock held";
    }
    EXPECT_EQ(Zahl("SELECT count(*) FROM protokoll WHERE text LIKE 'TfrmKalmetMain.InvBuchenF.InvBuchenF_Artikel: %kaputt%'"), 1)
        << "the failure's protocol row was written after the rollback";
    EXPECT_EQ(Status(inv.Zeile), "4") << "the inventory stays open for another run";
    EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList{kaputt});
}

TEST_F(BuchungTest, AnInventoryCancelledElsewhereMeanwhileGetsNothingMorePosted)
{
    const TKettenInventur inv = Inventur();
    const QString schluessel = QString("zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
                                   .arg(TDatumTraits::ToSql(inv.Zeile.ZaehlDatum).first().toString(), inv.Zeile.WGN)
                                   .arg(inv.Zeile.Filiale);
    int artikel = 0;
    FJeArtikel = [&] {
        if (++artikel == 3)
            Sql("UPDATE ia SET kzzaehlung = '6' WHERE " + schluessel);
    };
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    std::vector<TZEP_clMeldung> meldungen;
    EXPECT_FALSE(Buchen({inv}, meldungen));
    EXPECT_EQ(Status(inv.Zeile), "6") << "the cancellation stands";
    EXPECT_LE(Zahl(QString("SELECT count(DISTINCT produkt_id_2) FROM bne WHERE id > %1").arg(letzteBewegung)), 2)
        << "only the articles before the cancellation";
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("an einem anderen Arbeitsplatz geändert (Storniert)"))
        << qPrintable(FInteraktion.Gezeigt.back().Text);
}

TEST_F(BuchungTest, ChecksAndQuestionsStopBeforeAnythingChanges)
{
    EXPECT_FALSE(Innerhalb5Prozent(100.0, 95.0)) << "exactly 5 % fails";
    EXPECT_TRUE(Innerhalb5Prozent(100.0, 95.01));
    EXPECT_TRUE(Innerhalb5Prozent(0.0, 0.004));
    EXPECT_FALSE(Innerhalb5Prozent(0.0, 0.01));
    EXPECT_TRUE(Innerhalb5Prozent(QString("kein Wert"), 0.0));
    EXPECT_FALSE(Innerhalb5Prozent(3.00, 2.85)) << "exactly 5 % in cents, whatever the doubles hold";

    const TKettenInventur inv = Inventur();
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    FInteraktion.Antworten = {maJa, maNein};   // 1001, then 1002 declined
    // the checks read the values from the table, not from the row
    Sql(QString("UPDATE ia SET istek = sollek * 2 + 1 WHERE zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
            .arg(TDatumTraits::ToSql(inv.Zeile.ZaehlDatum).first().toString(), inv.Zeile.WGN)
            .arg(inv.Zeile.Filiale));
    std::vector<TZEP_clMeldung> meldungen;
    EXPECT_FALSE(Buchen({inv}, meldungen));
    ASSERT_EQ(FInteraktion.Gezeigt.size(), 2u);
    EXPECT_TRUE(FInteraktion.Gezeigt[0].Titel.contains("1001"));
    EXPECT_TRUE(FInteraktion.Gezeigt[1].Titel.contains("1002"));
    EXPECT_EQ(Status(inv.Zeile), inv.Status) << "declining leaves the status";
    EXPECT_EQ(Wert("SELECT max(id) FROM bne").toLongLong(), letzteBewegung);
}

TEST_F(BuchungTest, TheTrialRunRefusesAStorageLocationBranchWithDifferences)
{
    const TKettenInventur lager = Inventur(true);
    ASSERT_FALSE(AbweichendVomZaehlbestand(lager.Zeile).isEmpty());
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    std::vector<TZEP_clMeldung> meldungen;
    EXPECT_FALSE(Buchen({lager}, meldungen));
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Titel.contains("1007"));
    EXPECT_EQ(Status(lager.Zeile), lager.Status);
    EXPECT_EQ(Wert("SELECT max(id) FROM bne").toLongLong(), letzteBewegung) << "the trial run posts nothing";
    EXPECT_EQ(Zahl("SELECT count(*) FROM artsperre"), 0) << "and locks nothing";
}

TEST_F(BuchungTest, OnTheYearsLastDayDifferencesGoOnTheCountDayAfterItJustBeforeItsEnd)
{
    const std::vector<TKettenInventur> offen = OffeneInventuren();
    ASSERT_GE(offen.size(), 2u);
    ORVUhrSetzen(TDateTime_FromQDateTime(QDateTime(QDate(2027, 1, 31), QTime(23, 59, 30))));
    const qint64 vorLetztemTag = Wert("SELECT max(id) FROM bne").toLongLong();
    std::vector<TZEP_clMeldung> meldungen;
    ASSERT_TRUE(Buchen({offen[0]}, meldungen));
    EXPECT_EQ(Zahl(QString("SELECT count(*) FROM bne WHERE bewart = 19 AND id > %1 AND datum <> '%2'")
                       .arg(vorLetztemTag)
                       .arg(TDatumTraits::ToSql(offen[0].Zeile.ZaehlDatum).first().toString())),
              0);

    ORVUhrSetzen(TDateTime_FromQDateTime(QDateTime(QDate(2027, 2, 3), QTime(9, 0))));
    const TKettenInventur inv = offen[1];
    const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();
    ASSERT_TRUE(Buchen({inv}, meldungen));
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec(QString("SELECT DISTINCT datum FROM bne WHERE bewart = 19 AND id > %1").arg(letzteBewegung)));
    ASSERT_TRUE(q.next());
    const QVariant d = q.value(0);
    // the demo chain's price histories end before the year's end: all just before it
    EXPECT_NEAR(TDatumTraits::FromSql(&d), WiJahrEnde(EncodeDate(2026, 2, 1)) - 0.01, 1.0 / 86400);
    EXPECT_FALSE(q.next());
}

// Two count days of one branch that share articles: an earlier group inventory and a later
// branch-wide one with articles counted that no target expected. Whatever is booked, in
// whichever order, each booked day's stock is its count, every difference is posted once,
// and a day not booked keeps the list it had.
TEST_F(BuchungTest, CountDaysOfOneBranchStayConsistentInAnyOrder)
{
    const auto zaehltage = [] {
        const std::vector<TKettenInventur> offen = OffeneInventuren();
        for (const TKettenInventur& frueh : offen)
            for (const TKettenInventur& spaet : offen)
                if (frueh.Zeile.Filiale == spaet.Zeile.Filiale && frueh.Zeile.ZaehlDatum < spaet.Zeile.ZaehlDatum && !frueh.Lagerfiliale
                    && spaet.Zeile.WGN == "*")
                    return std::pair{frueh, spaet};
        ADD_FAILURE() << "no two count days of one branch";
        return std::pair<TKettenInventur, TKettenInventur>{};
    };
    const std::vector<std::vector<int>> faelle{{0, 1}, {1, 0}, {0}, {1}};
    for (const std::vector<int>& fall : faelle) {
        NeueKette();
        const auto [frueh, spaet] = zaehltage();
        const std::vector<TKettenInventur> tage{frueh, spaet};
        ASSERT_FALSE(AbweichendVomZaehlbestand(frueh.Zeile).isEmpty());
        ASSERT_GT(Zahl(QString("SELECT count(*) FROM izns z WHERE z.filiale = %1 AND z.zaehldatum = '%2' AND z.satzart = 'G' AND "
                               "z.gezaehlt <> 0 AND NOT EXISTS (SELECT 1 FROM iv s WHERE s.filiale = z.filiale AND s.zaehldatum = "
                               "z.zaehldatum AND s.produkt_id_1 = z.produkt_id_1 AND s.produkt_id_2 = z.produkt_id_2 AND "
                               "s.produkt_id_3 = z.produkt_id_3)")
                           .arg(spaet.Zeile.Filiale)
                           .arg(TDatumTraits::ToSql(spaet.Zeile.ZaehlDatum).first().toString())),
                  0)
            << "the later day has counted articles without target";
        int geteilt = 0;
        for (const QString& a : Artikel(frueh.Zeile))
            geteilt += Artikel(spaet.Zeile).contains(a);
        ASSERT_GT(geteilt, 0);
        std::vector<std::map<QString, std::array<int, 200>>> vorher;
        for (const TKettenInventur& t : tage)
            vorher.push_back(ListeAmZaehltag(t.Zeile));
        const auto bestandVorher = Bestand();
        const qint64 letzteBewegung = Wert("SELECT max(id) FROM bne").toLongLong();

        for (int i : fall) {
            std::vector<TZEP_clMeldung> meldungen;
            EXPECT_TRUE(Buchen({tage[i]}, meldungen)) << "case " << fall.size() << fall[0] << ", day " << i;
        }
        for (int i = 0; i < 2; ++i) {
            if (std::find(fall.begin(), fall.end(), i) != fall.end()) {
                EXPECT_EQ(Status(tage[i].Zeile), "5");
                EXPECT_EQ(AbweichendVomZaehlbestand(tage[i].Zeile).join(" ").toStdString(), "")
                    << "case " << fall.size() << fall[0] << ", day " << i << " booked";
            } else {
                EXPECT_EQ(ListeAmZaehltag(tage[i].Zeile), vorher[i]) << "day " << i << " not booked keeps its list";
            }
        }
        EXPECT_EQ(Zahl(QString("SELECT count(*) FROM (SELECT filiale FROM bne WHERE bewart = 19 AND id > %1 GROUP BY produkt_id_1, "
                               "produkt_id_2, produkt_id_3, filiale, datum HAVING count(*) > 1) x")
                           .arg(letzteBewegung)),
                  0)
            << "every difference posted once";
        EXPECT_EQ(Bestand(), BestandPlusBewegungen(bestandVorher, letzteBewegung));
    }
}

// Three count days of one branch with erroneous sales before 2000, before, between and on them,
// booked in all six orders: each booking posts exactly the differences of the list printed just
// before it, the lists are the same whatever was booked before, each sale becomes a sales line
// once, and each booked day's stock is its count. Cancelling the middle day before or after
// booking the first leaves the same stock.
TEST_F(BuchungTest, ThreeCountDaysWithErroneousSalesInAnyOrder)
{
    // the branch's group inventory, a copy of it as a middle day, and the branch-wide day
    const auto tageAnlegen = [this] {
        const std::vector<TKettenInventur> offen = OffeneInventuren();
        for (const TKettenInventur& frueh : offen)
            for (const TKettenInventur& spaet : offen)
                if (frueh.Zeile.Filiale == spaet.Zeile.Filiale && frueh.Zeile.ZaehlDatum + 20 < spaet.Zeile.ZaehlDatum && !frueh.Lagerfiliale
                    && spaet.Zeile.WGN == "*") {
                    TKettenInventur mitte = frueh;
                    mitte.Zeile.ZaehlDatum = std::floor((frueh.Zeile.ZaehlDatum + spaet.Zeile.ZaehlDatum) / 2);
                    const QString von = SqlDatum(frueh.Zeile.ZaehlDatum).toString(), nach = SqlDatum(mitte.Zeile.ZaehlDatum).toString();
                    const QString fil = QString::number(frueh.Zeile.Filiale);
                    Sql(QString("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, sollek, istek, kzzaehlung) SELECT wijahr, '%1', wgn, "
                                "filiale, sollek, istek, '3' FROM ia WHERE zaehldatum = '%2' AND filiale = %3 AND wgn = '%4'")
                            .arg(nach, von, fil, frueh.Zeile.WGN));
                    for (const QString& tabelle : {QString("iv"), QString("izns")}) {
                        QStringList spalten = Spalten(tabelle);
                        spalten.removeAll("id");
                        QStringList werte = spalten;
                        werte.replaceInStrings(QRegularExpression("^zaehldatum$"), QString("'%1'").arg(nach));
                        Sql(QString("INSERT INTO %1 (%2) SELECT %3 FROM %1 WHERE zaehldatum = '%4' AND filiale = %5")
                                .arg(tabelle, spalten.join(", "), werte.join(", "), von, fil));
                    }
                    return std::vector<TKettenInventur>{frueh, mitte, spaet};
                }
        ADD_FAILURE() << "no two count days of one branch";
        return std::vector<TKettenInventur>{};
    };
    // erroneous sales of two articles the three days share: before 2000, before the first day,
    // on it, between the days and on the last
    const auto fehlverkaeufe = [this](const std::vector<TKettenInventur>& tage) {
        const QStringList erste = Artikel(tage[0].Zeile);
        const QStringList letzte = Artikel(tage[2].Zeile);
        int n = 0;
        for (const QString& a : erste) {
            if (!letzte.contains(a) || n == 2)
                continue;
            ++n;
            const QStringList t = a.split('.');
            const int groesse = Zahl(QString("SELECT min(g.groesse) FROM ggtab_groesse g JOIN artikel a ON a.ggkey = g.ggkey WHERE ")
                                     + ArtikelBedingung(a).replace("produkt_id", "a.produkt_id"));
            const TDateTime t0 = tage[0].Zeile.ZaehlDatum, t1 = tage[1].Zeile.ZaehlDatum, t2 = tage[2].Zeile.ZaehlDatum;
            for (const TDateTime datum : {EncodeDate(1999, 6, 1), t0 - 3, t0, t1 - 2, t2 - 1, t2}) {
                Sql(QString("INSERT INTO fvk (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, uhrzeit, vorgangsart, belegart, "
                            "groesse, vorzeichen, menge, preis1, preis2, zusatztext) VALUES (%1, %2, %3, %4, '%5', 120000, 'F', '23', %6, '0', 1, 10, "
                            "20, 'Probe')")
                        .arg(t[0], t[1], t[2])
                        .arg(tage[0].Zeile.Filiale)
                        .arg(SqlDatum(datum).toString())
                        .arg(groesse));
            }
        }
        ASSERT_EQ(n, 2);
    };

    std::vector<int> reihenfolge{0, 1, 2};
    std::optional<std::vector<std::map<QString, std::array<int, 200>>>> listenErsteReihenfolge;
    do {
        NeueKette();
        const std::vector<TKettenInventur> tage = tageAnlegen();
        ASSERT_EQ(tage.size(), 3u);
        fehlverkaeufe(tage);
        const int32_t fil = tage[0].Zeile.Filiale;
        const QString ordnung = QString("order %1%2%3").arg(reihenfolge[0]).arg(reihenfolge[1]).arg(reihenfolge[2]);
        std::vector<std::map<QString, std::array<int, 200>>> listen(3);
        for (int i : reihenfolge) {
            // the test's booking knows no product groups: it books every article of the day
            TZeileAnzeige ganzerTag = tage[i].Zeile;
            ganzerTag.WGN = "*";
            listen[i] = ListeAmZaehltag(ganzerTag);
            const qint64 vorher = Wert("SELECT max(id) FROM bne").toLongLong();
            std::vector<TZEP_clMeldung> meldungen;
            ASSERT_TRUE(Buchen({tage[i]}, meldungen)) << ordnung.toStdString();
            // the posted differences are the list's
            std::map<QString, std::array<int, 200>> erwartet;
            for (const auto& [a, w] : listen[i])
                if (std::any_of(w.begin(), w.begin() + 100, [](int m) { return m != 0; }))
                    std::copy(w.begin(), w.begin() + 100, erwartet[a].begin());
            for (auto& [a, w] : erwartet)
                std::fill(w.begin() + 100, w.end(), 0);
            EXPECT_EQ(Gebucht(fil, vorher), erwartet) << ordnung.toStdString() << ", day " << i;
        }
        // the middle day's targets are a copy of the first day's, not its book stock
        for (int i : {0, 2})
            EXPECT_EQ(AbweichendVomZaehlbestand(tage[i].Zeile).join(" ").toStdString(), "") << ordnung.toStdString() << ", day " << i;
        if (listenErsteReihenfolge)
            EXPECT_EQ(listen, *listenErsteReihenfolge) << ordnung.toStdString() << ": the lists depend on the order";
        else
            listenErsteReihenfolge = listen;
        // every sale from 2000 to the last day is a sales line once; the one before 2000 stays
        EXPECT_EQ(Zahl(QString("SELECT count(*) FROM lsn WHERE belegcode = 'A9' AND zusatztext = 'Probe' AND filiale = %1").arg(fil)), 10) << ordnung.toStdString();
        EXPECT_EQ(Zahl(QString("SELECT count(*) FROM fvk WHERE zusatztext = 'Probe' AND filiale = %1").arg(fil)), 2)
            << ordnung.toStdString();
    } while (std::next_permutation(reihenfolge.begin(), reihenfolge.end()));

    // the middle day cancelled after the first was booked, or before: the same stock
    std::vector<std::map<QString, qint64>> bestand;
    for (const bool vorher : {false, true}) {
        NeueKette();
        const std::vector<TKettenInventur> tage = tageAnlegen();
        fehlverkaeufe(tage);
        const QString stornieren = QString("UPDATE ia SET kzzaehlung = '6' WHERE zaehldatum = '%1' AND filiale = %2")
                                       .arg(SqlDatum(tage[1].Zeile.ZaehlDatum).toString())
                                       .arg(tage[1].Zeile.Filiale);
        if (vorher)
            Sql(stornieren);
        std::vector<TZEP_clMeldung> meldungen;
        ASSERT_TRUE(Buchen({tage[0]}, meldungen));
        if (!vorher) {
            EXPECT_GT(Zahl(QString("SELECT count(*) FROM bne WHERE bewart = 23 AND filiale = %1").arg(tage[0].Zeile.Filiale)), 0);
            Sql(stornieren);
            EXPECT_GT(AusgleicheEntfallenerTageZuruecknehmen(FListe->InvMani(), {}), 0);
            EXPECT_EQ(AusgleicheEntfallenerTageZuruecknehmen(FListe->InvMani(), {}), 0) << "taken back once";
        }
        EXPECT_EQ(AbweichendVomZaehlbestand(tage[0].Zeile).join(" ").toStdString(), "");
        bestand.push_back(Bestand());
    }
    EXPECT_EQ(bestand[0], bestand[1]);
}

// The takeover as the first action on a fresh chain (nothing looked up before) and the booking
// after it: the counts are the targets less the erroneous sales, piece for piece.
TEST_F(BuchungTest, TakeoverAsFirstActionCountsTheTargets)
{
    const TKettenInventur inv = Inventur();
    const TZeileAnzeige& z = inv.Zeile;
    ASSERT_GT(FListe->InvMani().Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), "", 0), 0);
    const QString summe = MengenSpalten("menge", 0).join(" + ");
    const QString bedingung = QString("t.zaehldatum = '%1' AND t.filiale = %2 AND a.wgn LIKE '%3%' AND a.produkt_id_1 = t.produkt_id_1 AND "
                                      "a.produkt_id_2 = t.produkt_id_2 AND a.produkt_id_3 = t.produkt_id_3")
                                  .arg(SqlDatum(z.ZaehlDatum).toString())
                                  .arg(z.Filiale)
                                  .arg(z.WGN == "*" ? QString() : z.WGN);
    const qint64 soll = Wert(QString("SELECT sum(%1) FROM iv t, artikel a WHERE %2 AND t.standneu >= t.standalt AND t.besttyp IN "
                                     "(SELECT zeichen FROM besttyp WHERE istgezaehlt <> 0)")
                                 .arg(summe, bedingung))
                            .toLongLong();
    const qint64 fehlverkauf = Wert(QString("SELECT coalesce(sum(CASE WHEN t.vorzeichen IN ('1', '2') THEN -t.menge ELSE t.menge END), 0) "
                                            "FROM fvk t, artikel a WHERE %1 AND t.datum >= '2000-01-01' AND t.vorgangsart = 'F' AND "
                                            "t.belegart = '23' AND t.groesse <> 999")
                                        .arg(QString(bedingung).replace("t.zaehldatum = ", "t.datum <= ")))
                                   .toLongLong();
    const qint64 ist = Wert(QString("SELECT sum(%1) FROM izns t, artikel a WHERE %2 AND t.satzart = 'G' AND t.gezaehlt <> 0")
                                .arg(MengenSpalten("gr_mesu", 1).join(" + "), bedingung))
                           .toLongLong();
    ASSERT_GT(soll, 100);
    EXPECT_EQ(ist, soll - fehlverkauf);
    std::vector<TZEP_clMeldung> meldungen;
    ASSERT_TRUE(Buchen({inv}, meldungen));
    EXPECT_EQ(AbweichendVomZaehlbestand(z).join(" ").toStdString(), "");
}

// A takeover holds the inventory and changes an article's count; the booking's read of the
// article, waiting for it, gets the count as committed, not the one from before the wait.
TEST_F(BuchungTest, TheArticleReadUnderTheInventoryLockSeesWhatTheHolderCommitted)
{
    const TKettenInventur inv = Inventur();
    const QString id = AbweichendVomZaehlbestand(inv.Zeile).first();
    const QStringList t = id.split('.');
    const TInt32Trio produkt{t[0].toInt(), t[1].toInt(), t[2].toInt()};
    const QString zd = TDatumTraits::ToSql(inv.Zeile.ZaehlDatum).first().toString();
    const QString gesamt = QString("zaehldatum = '%1' AND filiale = %2 AND satzart = 'G' AND regal = 0 AND %3")
                               .arg(zd)
                               .arg(inv.Zeile.Filiale)
                               .arg(ArtikelBedingung(id));
    const int vorher = Zahl("SELECT gr_mesu_5 FROM izns WHERE " + gesamt);
    const bool postgres = FDb->Typ() == TConnectorTyp::PostgreSQL;
    std::atomic<bool> gehalten = false;
    std::thread halter([&] {
        Sql(postgres ? "BEGIN" : "BEGIN IMMEDIATE");
        if (postgres)
            Sql(QString("SELECT 1 FROM ia WHERE zaehldatum = '%1' AND wgn = '%2' AND filiale = %3 FOR UPDATE")
                    .arg(zd, inv.Zeile.WGN)
                    .arg(inv.Zeile.Filiale));
        Sql("UPDATE izns SET gr_mesu_5 = gr_mesu_5 + 7 WHERE " + gesamt);
        gehalten = true;
        QThread::msleep(300);
        Sql("COMMIT");
        TZEP_Connection::CloseThreadConnection();
    });
    while (!gehalten)
        QThread::msleep(5);
    {
        TTransaktion tr("Test");
        const TIAArtikel a = IA_ArtikelGehalten({inv.Zeile.ZaehlDatum, inv.Zeile.WGN, inv.Zeile.Filiale},
                                                {EncodeDate(2026, 2, 1), inv.Zeile.ZaehlDatum, inv.Zeile.Filiale}, produkt);
        ASSERT_TRUE(a.Zaehlsatz.has_value());
        EXPECT_EQ(a.Zaehlsatz->GR_MESU[4], vorher + 7);
    }
    halter.join();
}
