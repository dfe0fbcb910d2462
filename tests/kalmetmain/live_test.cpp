// The overview follows what other processes change in the inventories: a booking by the
// booking command, a reset, a count import, rows added and removed by another writer, and a
// notice channel that breaks. Marks, the current row and the top row stay. A connection lost
// under an action is told once, and the window goes on on new ones.
#include "framework/article/iastatus.h"
#include "framework/db/datenfeld.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"
#include "tests/kalmetmain/fenster.h"
#include "tests/support/buchungskette.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QTest>

namespace {

class LiveTest : public FensterTest {
protected:
    // Runs a program to its end while the window goes on answering; its exit code.
    int Ausfuehren(const QString& programm, const QStringList& args)
    {
        QProcess p;
        p.start(programm, args);
        EXPECT_TRUE(p.waitForStarted());
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 120000));
        EXPECT_EQ(p.exitCode(), 0) << qPrintable(QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput()));
        return p.exitCode();
    }
    // Statements of another writer, each committed on its own.
    void Schreiben(const QStringList& sql) { Ausfuehren(KALMET_SCHREIBER, QStringList{FDb->Url().ToString()} + sql); }

    static QString Sql(TDateTime d) { return TDatumTraits::ToSql(d).first().toString(); }
    static QString Wo(const TIASchluessel& s)
    {
        return QString("zaehldatum = '%1' AND wgn = '%2' AND filiale = %3").arg(Sql(s.ZaehlDatum), IA_WGNGespeichert(s.WGN)).arg(s.Filiale);
    }

    int Zeile(const TIASchluessel& s) { return FFenster->Modell().Zeile(s); }
    QString Text(const TIASchluessel& s, int spalte)
    {
        int n = Zeile(s);
        return n >= 0 ? FFenster->vrInvList->VRList()->Text(n, spalte) : QString("(keine Zeile)");
    }
    // The first row of status, from the typed rows.
    TIASchluessel ErsteMit(TZEP_IA_KZZaehlung status)
    {
        for (int n : Zeilen())
            if (FFenster->Modell().Inventur(n).Stand.Status == status)
                return FFenster->Modell().Inventur(n).Schluessel;
        ADD_FAILURE() << "no row of status " << status;
        return {};
    }
    // The keys of the marked rows and of the current row.
    std::vector<TIASchluessel> Markiert()
    {
        std::vector<TIASchluessel> r;
        for (int n : Zeilen())
            if (Marke(n) == Qt::Checked)
                r.push_back(FFenster->Modell().Inventur(n).Schluessel);
        return r;
    }
    TIASchluessel Aktuell() { return FFenster->Modell().Inventur(FFenster->vrInvList->GetFirstSelected()).Schluessel; }
    // Marks the rows at these places and makes the one at aktuell current.
    void MarkenSetzen(std::initializer_list<int> stellen, int aktuell)
    {
        for (int i : stellen)
            FFenster->vrInvList->SetCheckState(Zeilen().at(static_cast<size_t>(i)), Qt::Checked);
        FFenster->vrInvList->Select(Zeilen().at(static_cast<size_t>(aktuell)));
    }
    static bool Binnen2s(const std::function<bool()>& bedingung) { return QTest::qWaitFor(bedingung, 2000); }
};

}

TEST_F(LiveTest, ABookingByTheCommandShowsWithinTwoSecondsMarksAndCurrentRowKept)
{
    TfrmKalmetMain& f = Fenster();
    TKettenInventur offen;
    for (const TKettenInventur& i : Kette::OffeneInventuren())
        if (!i.Lagerfiliale && i.Zeile.WGN != "*") {
            offen = i;
            break;
        }
    const TIASchluessel s{offen.Zeile.ZaehlDatum, offen.Zeile.WGN, offen.Zeile.Filiale};
    ASSERT_GE(Zeile(s), 0);
    const int stelle = Zeile(s);
    MarkenSetzen({0, stelle}, 1);
    const auto markiert = Markiert();
    const TIASchluessel aktuell = Aktuell();

    Ausfuehren(KALMET_PROGRAMM, {"book", "--db", FDb->Url().ToString(), "--user", ProgrammBenutzer(*FDb), "--fiscal-year",
                                 "2026-02-01", "--inventory",
                                 QString("%1:%2:%3").arg(TDateTime_ToQDate(s.ZaehlDatum).toString("yyyy-MM-dd"), s.WGN).arg(s.Filiale),
                                 "--yes"});
    EXPECT_TRUE(Binnen2s([&] { return Text(s, usStatus) == CZEP_IA_KZZaehlung_2_String[iakzGebucht]; }))
        << qPrintable(Text(s, usStatus));
    EXPECT_EQ(Text(s, usStatusKZ), "5");
    EXPECT_EQ(Markiert(), markiert);
    EXPECT_EQ(Aktuell(), aktuell);
    EXPECT_TRUE(f.lblStand->text().startsWith("Stand: ")) << qPrintable(f.lblStand->text());
}

TEST_F(LiveTest, AResetACountImportAndRowsOfAnotherWriterShowKeepingMarksAndPlace)
{
    TfrmKalmetMain& f = Fenster();
    const TIASchluessel gebucht = ErsteMit(iakzGebucht);
    const TIASchluessel freigegeben = ErsteMit(iakzFreigegeben);
    const size_t anzahl = Zeilen().size();
    // a new inventory that sorts before every row: the rows move down by one
    const TIASchluessel neu{f.Modell().Inventur(Zeilen().front()).Schluessel.ZaehlDatum - 1, "ZZ", 77};
    MarkenSetzen({1, 3}, 4);
    // a short list: it scrolls
    f.vrInvList->setFixedHeight(f.vrInvList->header()->height() + 5 * f.vrInvList->sizeHintForRow(0));
    QTest::qWait(50);
    f.vrInvList->scrollTo(f.vrInvList->VRList()->index(2, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(f.vrInvList->indexAt(QPoint(0, 0)).row(), 2) << Zeilen().size() << " rows, list " << f.vrInvList->viewport()->height() << " high, window " << f.height();
    const auto markiert = Markiert();
    const TIASchluessel aktuell = Aktuell();
    const TIASchluessel oben = f.Modell().Inventur(Zeilen().at(2)).Schluessel;

    Schreiben({QString("UPDATE ia SET kzzaehlung = '3' WHERE %1").arg(Wo(gebucht)),
               QString("UPDATE ia SET istek = 4321.5 WHERE %1").arg(Wo(freigegeben)),
               QString("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, sollek, istek, kzzaehlung) "
                       "VALUES ('2026-02-01 00:00:00.000', '%1', 'ZZ', 77, 10, 12, '2')")
                   .arg(Sql(neu.ZaehlDatum))});
    EXPECT_TRUE(Binnen2s([&] {
        return Text(gebucht, usStatus) == CZEP_IA_KZZaehlung_2_String[iakzFreigegeben] && Text(freigegeben, usIstEK) == "4.321,50"
               && Zeile(neu) >= 0;
    })) << qPrintable(Text(gebucht, usStatus) + " / " + Text(freigegeben, usIstEK));
    EXPECT_EQ(Text(freigegeben, usDifferenz), QLocale(QLocale::German).toString(InventurDifferenz(4321.5, f.Modell().Inventur(Zeile(freigegeben)).Stand.SollEK), 'f', 2));
    EXPECT_EQ(Zeilen().size(), anzahl + 1);
    ASSERT_GE(Zeile(neu), 0);
    EXPECT_EQ(Zeile(neu), 0);
    EXPECT_EQ(Text(neu, usZaehlDatum), TDateTime_FormatDatum(neu.ZaehlDatum));
    EXPECT_EQ(Markiert(), markiert);
    EXPECT_EQ(Aktuell(), aktuell);
    EXPECT_EQ(f.Modell().Inventur(Zeilen().at(static_cast<size_t>(f.vrInvList->indexAt(QPoint(0, 0)).row()))).Schluessel, oben)
        << "the row at the top stays there";

    Schreiben({QString("DELETE FROM ia WHERE %1").arg(Wo(neu))});
    EXPECT_TRUE(Binnen2s([&] { return Zeile(neu) < 0; }));
    EXPECT_EQ(Zeilen().size(), anzahl);
    EXPECT_EQ(Markiert(), markiert);
    EXPECT_EQ(Aktuell(), aktuell);
    // the rows as the database has them, field by field
    const std::vector<TIAInventur> db = IA_Liste(f.WiJahr());
    ASSERT_EQ(db.size(), Zeilen().size());
    for (size_t i = 0; i < db.size(); ++i) {
        const TIAInventur& z = f.Modell().Inventur(Zeilen()[i]);
        EXPECT_TRUE(z.Schluessel == db[i].Schluessel && z.Stand.Status == db[i].Stand.Status && z.Stand.IstEK == db[i].Stand.IstEK
                    && z.Stand.SollEK == db[i].Stand.SollEK)
            << i;
    }
}

TEST_F(LiveTest, UpdatesWaitWhileAnActionRuns)
{
    TfrmKalmetMain& f = Fenster();
    const TIASchluessel s = ErsteMit(iakzFreigegeben);
    f.AktionenEnabled(false);
    Schreiben({QString("UPDATE ia SET kzzaehlung = '4' WHERE %1").arg(Wo(s))});
    QTest::qWait(1500);
    EXPECT_EQ(Text(s, usStatusKZ), "3") << "no row changes under a running action";
    f.AktionenEnabled(true);
    EXPECT_TRUE(Binnen2s([&] { return Text(s, usStatusKZ) == "4"; }));
}

TEST_F(LiveTest, AfterAServerRestartTheWindowReconnectsReloadsAndWorks)
{
    if (FDb->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "only the server has a notice channel";
    TfrmKalmetMain& f = Fenster();
    EXPECT_TRUE(f.lblStand->text().contains("Live-Aktualisierung an")) << qPrintable(f.lblStand->text());
    const TIASchluessel s = ErsteMit(iakzFreigegeben);
    // the server ends every session of the window as a restart does, and the row changes meanwhile
    Schreiben({"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()",
               QString("UPDATE ia SET istek = 99.99 WHERE %1").arg(Wo(s))});
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.lblStand->text().contains("wiederhergestellt"); }, 3000))
        << qPrintable(f.lblStand->text());
    EXPECT_TRUE(Binnen2s([&] { return Text(s, usIstEK) == "99,99"; })) << "reloaded once";
    Schreiben({QString("UPDATE ia SET kzzaehlung = '4' WHERE %1").arg(Wo(s))});
    EXPECT_TRUE(Binnen2s([&] { return Text(s, usStatusKZ) == "4"; })) << "and listening again";
    EXPECT_TRUE(f.lblStand->text().contains("Live-Aktualisierung an"));
    // the window's actions work on the new connection
    f.vrInvList->SetCheckState(Zeile(s), Qt::Checked);
    f.actKZReset->trigger();
    EXPECT_EQ(Kette::Wert(QString("SELECT kzzaehlung FROM ia WHERE %1").arg(Wo(s))).toString(), "3");
    EXPECT_EQ(Text(s, usStatusKZ), "3");
}

TEST_F(LiveTest, AConnectionLostUnderAnActionIsToldOnceAndTheWindowGoesOn)
{
    if (FDb->Typ() != TConnectorTyp::PostgreSQL)
        GTEST_SKIP() << "a SQLite file has no server to lose";
    TfrmKalmetMain& f = Fenster();
    const TIASchluessel s = ErsteMit(iakzGezaehlt);
    f.vrInvList->SetCheckState(Zeile(s), Qt::Checked);
    const auto verloren = [&] {
        return std::count_if(FInteraktion.Gezeigt.begin(), FInteraktion.Gezeigt.end(),
                             [](const auto& g) { return g.Text.contains("Verbindung zur Datenbank verloren"); });
    };
    // the sessions end while the window is busy, so that the action meets the loss first
    f.AktionenEnabled(false);
    Schreiben({"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()"});
    f.AktionenEnabled(true);
    f.actKZReset->trigger();
    EXPECT_TRUE(Binnen2s([&] { return verloren() == 1; })) << "told once";
    QTest::qWait(1500);   // the window opens its connections anew once it is idle
    EXPECT_EQ(verloren(), 1) << "and once only";
    EXPECT_EQ(Kette::Wert(QString("SELECT kzzaehlung FROM ia WHERE %1").arg(Wo(s))).toString(), "2") << "nothing done";
    f.actKZReset->trigger();
    EXPECT_EQ(Kette::Wert(QString("SELECT kzzaehlung FROM ia WHERE %1").arg(Wo(s))).toString(), "3") << "the next action works";
    EXPECT_EQ(Text(s, usStatusKZ), "3");
}
