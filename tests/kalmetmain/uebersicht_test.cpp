#include "tests/kalmetmain/fenster.h"

#include "framework/app/info.h"
#include "framework/core/uhr.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"
#include "tests/support/buchungskette.h"
#include "tests/support/umgebung.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>

#include <set>

using UebersichtTest = FensterTest;

TEST_F(UebersichtTest, ListsTheInventoriesOfThePreselectedYear)
{
    TfrmKalmetMain& f = Fenster();
    ASSERT_EQ(f.cmbDatum->count(), 3);
    EXPECT_EQ(f.cmbDatum->currentText(), "01.02.2026 - 31.01.2027") << "the latest year that started before today";
    EXPECT_EQ(f.WiJahr(), EncodeDate(2026, 2, 1));
    TVRModell* l = f.vrInvList->VRList();
    ASSERT_TRUE(l);
    ASSERT_EQ(l->columnCount(), 11);
    EXPECT_TRUE(f.vrInvList->isColumnHidden(2));
    EXPECT_TRUE(f.vrInvList->isColumnHidden(9));
    EXPECT_FALSE(f.vrInvList->isColumnHidden(usUngezaehlt));
    const auto zeilen = Zeilen();
    ASSERT_FALSE(zeilen.empty());
    // the articles nobody counted, per inventory as the raw tables have them
    int ungezaehlt = 0;
    for (int n : zeilen) {
        TZeileAnzeige z;
        f.Zeile_2_Record(n, z);
        EXPECT_EQ(l->Wert(n, usUngezaehlt).toInt(), static_cast<int>(Kette::Ungezaehlt(z).size())) << qPrintable(l->Text(n, 3));
        ungezaehlt += l->Wert(n, usUngezaehlt).toInt();
    }
    EXPECT_GT(ungezaehlt, 0);
    // the date shows on the first row of a run only
    EXPECT_FALSE(l->Text(zeilen[0], 1).isEmpty());
    EXPECT_TRUE(l->Text(zeilen[1], 1).isEmpty());
    bool stern = false, farbe = false;
    for (int n : zeilen) {
        stern |= l->Text(n, 3) == "*";
        if (l->Wert(n, usStatusKZ).toString() == "6") {
            farbe = true;
            EXPECT_EQ(l->data(l->index(n, 5), Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
        }
        EXPECT_TRUE(l->flags(l->index(n, 0)) & Qt::ItemIsUserCheckable);
    }
    EXPECT_TRUE(stern);
    EXPECT_TRUE(farbe);
    const QFontMetrics fm(f.vrInvList->font());
    for (int spalte : {3, 5, 6, 7}) {
        int breitester = 0;
        for (int n : zeilen)
            breitester = std::max(breitester, fm.horizontalAdvance(l->Text(n, spalte)));
        EXPECT_GT(f.vrInvList->columnWidth(spalte), breitester) << "column " << spalte << " fits its texts";
    }
    EXPECT_TRUE(f.actDrucken->isEnabled());
    EXPECT_TRUE(f.actBuchen->isEnabled());

    f.cmbDatum->setCurrentIndex(0);
    EXPECT_EQ(f.WiJahr(), EncodeDate(2025, 2, 1));
    EXPECT_EQ(l, f.vrInvList->VRList()) << "the model is made once";
}

TEST_F(UebersichtTest, ValuesAreFormattedWithGermanSeparators)
{
    Sql("DELETE FROM ia");
    Sql("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, sollek, istek, kzzaehlung) VALUES "
        "('2026-02-01 00:00:00.000', '2026-05-01 00:00:00.000', '', 7, 1234567.5, 10, '3')");
    TfrmKalmetMain& f = Fenster();
    TVRModell* l = f.vrInvList->VRList();
    ASSERT_EQ(l->Anzahl(), 1);
    EXPECT_EQ(l->Text(0, 5), "1.234.567,50");
    EXPECT_EQ(l->Text(0, 7), "-1.234.557,50");
    EXPECT_EQ(l->Text(0, 8), "Zur Buchung frei");
    TZeileAnzeige z;
    f.Zeile_2_Record(0, z);
    EXPECT_EQ(z.WGN, "*");
    EXPECT_EQ(z.Filiale, 7);
    EXPECT_EQ(z.ZaehlDatum, EncodeDate(2026, 5, 1));
    EXPECT_EQ(f.Modell().Zeile(z.ZeilenNode), 0) << "the record names the row it was read from";
}

// More inventories than the first batch of a scan, with the client in another time zone than
// the database: each inventory is listed exactly once.
TEST_F(UebersichtTest, ManyInventoriesOfOneYearAreListedOnce)
{
    Sql("DELETE FROM ia");
    QStringList zeilen;
    const QDate start(2026, 3, 1);
    for (int i = 0; i < 150; ++i)
        zeilen << QStringLiteral("('2026-02-01 00:00:00.000', '%1 %2:00:00.000', 'W%3', %4, '3')")
                      .arg(start.addDays(i / 2).toString(Qt::ISODate))
                      .arg(i % 2 ? QStringLiteral("22") : QStringLiteral("08"))
                      .arg(i % 7)
                      .arg(i);
    Sql("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, kzzaehlung) VALUES " + zeilen.join(','));
    const TUmgebung client("TZ", "Asia/Tokyo");
    TfrmKalmetMain& f = Fenster();
    TVRModell* l = f.vrInvList->VRList();
    ASSERT_TRUE(l);
    std::set<int> filialen;
    for (int i = 0; i < l->Anzahl(); ++i) {
        TZeileAnzeige z;
        f.Zeile_2_Record(i, z);
        filialen.insert(z.Filiale);
    }
    EXPECT_EQ(l->Anzahl(), 150);
    EXPECT_EQ(filialen.size(), 150u);
}

TEST_F(UebersichtTest, EmptyInventoryFileGivesNoYearNoColumnsAndEnabledActions)
{
    Sql("DELETE FROM ia");
    TfrmKalmetMain& f = Fenster();
    EXPECT_EQ(f.cmbDatum->count(), 0);
    EXPECT_EQ(f.cmbDatum->currentIndex(), -1);
    EXPECT_FALSE(f.vrInvList->VRList());
    EXPECT_TRUE(f.actDrucken->isEnabled());
    EXPECT_TRUE(f.actBeenden->isEnabled());
}

TEST_F(UebersichtTest, InterleavedYearsInOrderOfFirstAppearance)
{
    Sql("DELETE FROM ia");
    // in key order (count date) the years alternate: 2024, 2023, 2024, 2023
    Sql("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, kzzaehlung) VALUES "
        "('2024-02-01 00:00:00.000', '2024-03-01 00:00:00.000', 'A', 1, '2'),"
        "('2023-02-01 00:00:00.000', '2024-03-02 00:00:00.000', 'A', 1, '2'),"
        "('2024-02-01 00:00:00.000', '2024-03-03 00:00:00.000', 'A', 1, '2'),"
        "('2023-02-01 00:00:00.000', '2024-03-04 00:00:00.000', 'A', 1, '2')");
    TfrmKalmetMain& f = Fenster();
    ASSERT_EQ(f.cmbDatum->count(), 2);
    EXPECT_EQ(f.DatumList().GetItem(0), EncodeDate(2024, 2, 1));
    EXPECT_EQ(f.DatumList().GetItem(1), EncodeDate(2023, 2, 1));
    EXPECT_EQ(f.cmbDatum->currentIndex(), 1) << "the later entry in list order wins, not the later date";
    EXPECT_EQ(f.vrInvList->VRList()->Anzahl(), 2);
}

TEST_F(UebersichtTest, OnlyFutureYearsPreselectNothing)
{
    ORVUhrSetzen(EncodeDate(2020, 1, 1));
    TfrmKalmetMain& f = Fenster();
    EXPECT_EQ(f.cmbDatum->count(), 3);
    EXPECT_EQ(f.cmbDatum->currentIndex(), -1);
    EXPECT_FALSE(f.vrInvList->VRList());
    f.cmbDatum->setCurrentIndex(2);
    EXPECT_TRUE(f.vrInvList->VRList());
}
