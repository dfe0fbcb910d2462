// Target=actual takeover and the status reset of marked inventories.
#include "SelMask/frmselmask.h"
#include "framework/article/artikeltools.h"
#include "framework/article/iastatus.h"
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/gui/qtinteraktion.h"
#include "framework/stock/invmani.h"
#include "inventurliste/bau.h"
#include "kalmetmain/uebersicht_logik.h"
#include "tests/kalmetmain/dialogskript.h"
#include "tests/kalmetmain/fenster.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

class Soll2IstTest : public FensterTest {
protected:
    void TearDown() override
    {
        frmSelMask = nullptr;
        FSelMask.reset();
        FensterTest::TearDown();
    }
    TfrmKalmetMain& Bereit()
    {
        TfrmKalmetMain& f = Fenster();
        FSelMask = std::make_unique<TfrmSelMask>(&f);
        frmSelMask = FSelMask.get();
        return f;
    }
    QString Status(int n) { return FFenster->vrInvList->VRList()->Wert(n, usStatusKZ).toString(); }
    // Checks the first row whose status character is one of kz; the row.
    int Markieren(const QString& wgn, int filiale)
    {
        for (int n : Zeilen()) {
            TZeileAnzeige z;
            FFenster->Zeile_2_Record(n, z);
            if (z.WGN == wgn && z.Filiale == filiale) {
                FFenster->vrInvList->SetCheckState(n, Qt::Checked);
                return n;
            }
        }
        ADD_FAILURE() << "no row " << qPrintable(wgn) << " " << filiale;
        return -1;
    }
    // Sum of absolute differences per article of a build of one inventory.
    std::map<QString, int64_t> Differenzen(const TZeileAnzeige& z)
    {
        TInventurliste& l = *FFenster->Inventurliste();
        l.SelectedLayouts().clear();
        l.SelectedLayouts().push_back(std::make_unique<TZEP_SelectedLayout>());
        const TDruckConfig c = TInventurlisteBau::Anfrage(l, {z}, "", 0, {}, FFenster->WiJahr());
        QTemporaryDir dir;
        EXPECT_TRUE(TInventurlisteBau(l, c, 0).Ausfuehren(dir.path(), {}));
        std::map<QString, int64_t> r;
        const TDbfLeser invl(l.CrystalSets().Tabelle("INVL")->Pfad());
        Tinvlfile f;
        for (uint32_t i = 0; i < invl.Anzahl(); ++i) {
            const TinvlSatz s = f.SatzLesen(invl, i);
            TAASatz artikel;
            EXPECT_TRUE(TArtikelTools::AASatz_4_ProduktID(s.Produkt_ID, artikel));
            for (const TinvlMengen& m : s.Mengen)
                r[artikel.WGN + " " + s.Produkt_ID.ToText()] += std::abs(m.Diff);
        }
        return r;
    }
    double IstEK(const TZeileAnzeige& z)
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare("SELECT istek FROM ia WHERE zaehldatum = ? AND wgn = ? AND filiale = ?");
        q.addBindValue(TDatumTraits::ToSql(z.ZaehlDatum).first());
        q.addBindValue(z.WGN == "*" ? "" : z.WGN);
        q.addBindValue(z.Filiale);
        EXPECT_TRUE(q.exec() && q.next());
        return q.value(0).toDouble();
    }
    // The count records in short, to see that nothing changed.
    static QString Zaehlungen()
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.exec("SELECT COUNT(*), SUM(gr_mesu_1 + gr_mesu_2 + gr_mesu_3 + gr_mesu_4 + gr_mesu_5) FROM izns");
        q.next();
        return q.value(0).toString() + "/" + q.value(1).toString();
    }
    std::unique_ptr<TfrmSelMask> FSelMask;
};

auto OK(const QString& wgn)
{
    return Im<TfrmSelMask>([wgn](TfrmSelMask& d) {
        d.edtWGN->setText(wgn);
        d.cmbFilialen->setCurrentIndex(0);
        d.btnOK->click();
    });
}

}

TEST_F(Soll2IstTest, WaysToStopAndRowsWithoutWork)
{
    TfrmKalmetMain& f = Bereit();
    f.vrInvList->selectionModel()->clear();
    {
        TDialogSkript keine({});
        f.btnSoll2IstSelClick();
    }
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.startsWith("Es ist keine Inventur markiert"));
    EXPECT_EQ(QApplication::focusWidget(), f.cmbDatum);

    const QString vorher = Zaehlungen();
    Markieren("*", Zeilen().empty() ? 0 : 2);
    // "Die Soll-Ist-Übernahme abbrechen", then the question closed without an answer
    FInteraktion.FrageAntworten = {1, -1, 0, 0, 0};
    for (int i = 0; i < 2; ++i) {
        TDialogSkript keine({});
        f.btnSoll2IstSelClick();
    }
    {
        TDialogSkript skript({Im<TfrmSelMask>([](TfrmSelMask& d) { d.btnAbbruch->click(); })});
        f.btnSoll2IstSelClick();
    }
    EXPECT_TRUE(f.actDrucken->isEnabled());
    FInteraktion.Antworten = {maNein};
    {
        TDialogSkript skript({OK("")});
        f.btnSoll2IstSelClick();
    }
    EXPECT_TRUE(f.actDrucken->isEnabled());
    EXPECT_EQ(Zaehlungen(), vorher);

    // only cancelled rows: all questions, nothing taken over, the list refilled
    Sql("UPDATE ia SET kzzaehlung = '6'");
    for (int n : Zeilen())
        f.vrInvList->SetCheckState(n, Qt::Checked);
    {
        TDialogSkript skript({OK("")});
        f.btnSoll2IstSelClick();
    }
    EXPECT_EQ(Zaehlungen(), vorher);
    const auto zeilen = Zeilen();
    EXPECT_TRUE(std::none_of(zeilen.begin(), zeilen.end(), [&](int n) { return Marke(n) == Qt::Checked; }));
    EXPECT_TRUE(f.actDrucken->isEnabled());
}

TEST_F(Soll2IstTest, CancelAndEscOnTheRealQuestionChangeNothing)
{
    TfrmKalmetMain& f = Bereit();
    Markieren("*", 2);
    const QString vorher = Zaehlungen();
    TQtInteraktion qt(QStringLiteral("Inventurauswertung"));
    ORVInteraktionSetzen(&qt);
    const auto zurueck = qScopeGuard([this] { ORVInteraktionSetzen(&FInteraktion); });
    // the selection would show next if the takeover went on; the script fails on it
    const auto frage = [](std::function<void(QMessageBox&)> antwort) {
        return Im<QMessageBox>([antwort](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Inventurauswertung");
            EXPECT_EQ(box.informativeText(), "ZOLMIK 1002");
            ASSERT_TRUE(box.button(QMessageBox::Cancel));
            EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Abbrechen");
            antwort(box);
        });
    };
    {
        TDialogSkript skript({frage([](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); })});
        f.btnSoll2IstSelClick();
    }
    {
        TDialogSkript skript({frage([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); })});
        f.btnSoll2IstSelClick();
    }
    EXPECT_EQ(Zaehlungen(), vorher);
    EXPECT_TRUE(f.actDrucken->isEnabled());
}

TEST_F(Soll2IstTest, SelectedArticlesShowNoDifferenceOthersKeepTheirs)
{
    TfrmKalmetMain& f = Bereit();
    int n = Markieren("*", 2);
    TZeileAnzeige z;
    f.Zeile_2_Record(n, z);
    const std::map<QString, int64_t> vorher = Differenzen(z);
    const QString gruppe = "KI";
    ASSERT_TRUE(std::any_of(vorher.begin(), vorher.end(), [&](const auto& d) { return d.first.startsWith(gruppe) && d.second; }));
    const double istVorher = IstEK(z);
    FInteraktion.FrageAntworten = {0, 0};
    {
        TDialogSkript skript({OK(gruppe)});
        f.btnSoll2IstSelClick();
    }
    const std::map<QString, int64_t> nachher = Differenzen(z);
    for (const auto& [artikel, diff] : nachher)
        if (artikel.startsWith(gruppe))
            EXPECT_EQ(diff, 0) << qPrintable(artikel);
        else
            EXPECT_EQ(diff, vorher.at(artikel)) << qPrintable(artikel);
    EXPECT_NE(IstEK(z), istVorher) << "the counted value follows";

    // taking over again changes nothing, not even the value
    const double istNachher = IstEK(z);
    TInvMani& mani = f.Inventurliste()->InvMani();
    EXPECT_GT(mani.Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), gruppe, 0), 0);
    EXPECT_NEAR(IstEK(z), istNachher, 0.001);
    // a group nobody has: nothing, and the user is told
    EXPECT_EQ(mani.Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), "QQ", 0), 0);
    Markieren("*", 2);
    {
        TDialogSkript skript({OK("QQ")});
        f.btnSoll2IstSelClick();
    }
    EXPECT_TRUE(FInteraktion.Gezeigt.back().Text.contains("nichts übernommen"));
}

TEST_F(Soll2IstTest, BookedInventoriesStayAsTheyAre)
{
    TfrmKalmetMain& f = Bereit();
    int n = Markieren("*", 2);
    TZeileAnzeige z;
    f.Zeile_2_Record(n, z);
    Sql(QString("UPDATE ia SET kzzaehlung = '%1' WHERE wgn = '' AND filiale = 2").arg(IA_KZZaehlung_2_Char(iakzGebucht)));
    EXPECT_EQ(f.Inventurliste()->InvMani().Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), "", 0), 0);
}

TEST_F(Soll2IstTest, ArticlesAlreadyPostedKeepTheirCounts)
{
    TfrmKalmetMain& f = Bereit();
    TZeileAnzeige z;
    f.Zeile_2_Record(Markieren("*", 2), z);
    // a partly booked inventory: one article posted already
    const QString bedingung = QString("zaehldatum = '%1' AND filiale = 2 AND produkt_id_2 = (SELECT min(produkt_id_2) FROM iv WHERE "
                                      "zaehldatum = '%1' AND filiale = 2)")
                                  .arg(TDatumTraits::ToSql(z.ZaehlDatum).first().toString());
    Sql("UPDATE iv SET kzgebucht = 'A' WHERE " + bedingung);
    Sql(QString("UPDATE ia SET kzzaehlung = '%1' WHERE wgn = '' AND filiale = 2").arg(IA_KZZaehlung_2_Char(iakzTeilweiseGebucht)));
    const auto zaehlung = [&] {
        QSqlQuery q(TZEP_Connection::Database());
        EXPECT_TRUE(q.exec("SELECT " + MengenSpalten("gr_mesu", 1).join(", ") + " FROM izns WHERE satzart = 'G' AND " + bedingung));
        QStringList r;
        while (q.next())
            for (int i = 0; i < 100; ++i)
                r << q.value(i).toString();
        return r.join(',');
    };
    const QString vorher = zaehlung();
    ASSERT_FALSE(vorher.isEmpty());
    const QString inventur = QString("zaehldatum = '%1' AND filiale = 2").arg(TDatumTraits::ToSql(z.ZaehlDatum).first().toString());
    QSqlQuery q(TZEP_Connection::Database());
    ASSERT_TRUE(q.exec("SELECT count(*) FROM (SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE " + inventur
                       + " UNION SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM izns WHERE satzart = 'G' AND " + inventur + ") x")
                && q.next());
    EXPECT_EQ(f.Inventurliste()->InvMani().Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), "", 0), q.value(0).toInt() - 1)
        << "every article but the posted one";
    EXPECT_EQ(zaehlung(), vorher);
}

TEST_F(Soll2IstTest, ResetTurnsFourAndFiveIntoThree)
{
    TfrmKalmetMain& f = Fenster();
    const QString drei(IA_KZZaehlung_2_Char(iakzFreigegeben));
    std::map<int, QString> erwartet;
    for (int n : Zeilen()) {
        const TZEP_IA_KZZaehlung s = Char_2_IA_KZZaehlung(Status(n).isEmpty() ? QChar() : Status(n).at(0));
        f.vrInvList->SetCheckState(n, Qt::Checked);
        erwartet[n] = s == iakzInZaehlung || s == iakzFreigegeben || s == iakzStorniert ? Status(n) : drei;
    }
    ASSERT_TRUE(std::any_of(erwartet.begin(), erwartet.end(), [&](const auto& e) { return e.second == drei && Status(e.first) != drei; }));
    // a vanished record is skipped; the branch-wide row is found through its empty group
    int weg = -1;
    for (int n : Zeilen()) {
        TZeileAnzeige z;
        f.Zeile_2_Record(n, z);
        if (z.WGN != "*" && erwartet[n] == drei && Status(n) != drei) {
            Sql(QString("DELETE FROM ia WHERE wgn = '%1' AND filiale = %2 AND zaehldatum = '%3'")
                    .arg(z.WGN).arg(z.Filiale).arg(TDatumTraits::ToSql(z.ZaehlDatum).first().toString()));
            erwartet[n] = Status(n);
            weg = n;
            break;
        }
    }
    ASSERT_GE(weg, 0);
    f.actKZResetExecute();
    for (const auto& [n, s] : erwartet)
        EXPECT_EQ(Status(n), s);
    // the records say the same as the rows
    QSqlQuery q(TZEP_Connection::Database());
    q.prepare("SELECT COUNT(*) FROM ia WHERE wijahr = ? AND kzzaehlung = ?");
    q.addBindValue(TDatumTraits::ToSql(f.WiJahr()).first());
    q.addBindValue(drei);
    ASSERT_TRUE(q.exec() && q.next());
    EXPECT_EQ(q.value(0).toInt(), std::count_if(erwartet.begin(), erwartet.end(), [&](const auto& e) { return e.second == drei; }));
}
