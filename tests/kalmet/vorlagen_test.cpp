// Every list template on the test chain: its PDF read back, the report totals against sums
// computed here from the print tables.
#include "framework/dbf/crystalsets.h"
#include "framework/report/vorlage.h"
#include "tests/kalmet/bericht.h"
#include "tests/support/demokette.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VorlagenTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
    }
    void TearDown() override
    {
        TestKetteBeenden();
        FDb.reset();
    }

    // The storage-location branch's inventory when there is one: it has shelves and RENR.
    static TZeileAnzeige Inventur()
    {
        QSqlQuery q(TZEP_Connection::Database());
        q.exec("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '2026-02-01 00:00:00.000' AND kzzaehlung <> '6' "
               "ORDER BY (SELECT lv_benutzen FROM filiale WHERE nr = ia.filiale) DESC, zaehldatum, filiale");
        EXPECT_TRUE(q.next());
        const QVariant d = q.value(0);
        return {DateOf(TDatumTraits::FromSql(&d)), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(), q.value(2).toInt()};
    }

    // A sum over a column of a print table, as the list shows it.
    static QString Summe(const QString& pfad, const QString& spalte, bool betrag, bool ohneSummenzeilen)
    {
        const TDbfLeser t(pfad);
        const int fil = t.SpaltenIndex("Filiale");
        long double s = 0;
        for (uint32_t i = 0; i < t.Anzahl(); ++i)
            if (!ohneSummenzeilen || t.Wert(i, fil).toInt() != 999999)
                s += t.Wert(i, spalte).toDouble();
        return Formatieren(TWert::AusZahl(static_cast<double>(s), !betrag), {betrag ? TFormat::Betrag : TFormat::Ganz});
    }

    std::unique_ptr<TTestDb> FDb;
};

}

TEST_P(VorlagenTest, ReportTotalsAreTheSumsOfTheTables)
{
    const QString report = GetParam();
    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    QTemporaryDir ordner;
    ListeBauen(liste, Inventur(), report, ordner.path());
    TCrystalRDCn crystal;
    ReportSetzen(liste, crystal);
    const QString pdf = ordner.filePath("liste.pdf");
    crystal.Export(pdf, TExportFormat::Pdf);
    const QString text = PdfText(pdf);
    const QStringList zeilen = text.split('\n');
    const auto summenzeile = std::find_if(zeilen.begin(), zeilen.end(), [](const QString& z) { return z.contains("Summe Bericht"); });
    ASSERT_NE(summenzeile, zeilen.end()) << qPrintable(text.right(3000));
    const bool uebersicht = liste.CrystalSets().Tabelle("INVU")->Anzahl() > 0;
    const QString tabelle = liste.CrystalSets().Tabelle(uebersicht ? "INVU" : "INVL")->Pfad();
    ASSERT_GT(TDbfLeser(tabelle).Anzahl(), 0u);
    const bool summiert = report == "kalme002.rpt";
    // the totals of the report footer: quantities and the values of the layout's price
    QStringList spalten{"Sum_Soll", "Sum_Ist", "Sum_Diff"};
    if (uebersicht) {
        for (const QString& s : spalten)
            EXPECT_TRUE(summenzeile->contains(Summe(tabelle, s, false, false))) << qPrintable(s + ": " + *summenzeile);
        const QString preis = report == "kalme006.rpt" ? "_EKWert_Abgew" : report == "kalme007.rpt" || report == "kalme008.rpt" ? "_VKWert" : "_EKWert";
        for (const QString s : {"Soll", "Ist", "Diff"})
            EXPECT_TRUE(summenzeile->contains(Summe(tabelle, s + preis, true, false))) << qPrintable(s + preis + ": " + *summenzeile);
    } else {
        // three lines: target, count, difference, each with quantity and the three values
        const auto zeile = [&](int i) { return *(summenzeile + i); };
        EXPECT_TRUE(zeile(0).contains(Summe(tabelle, "Sum_Soll", false, summiert))) << qPrintable(zeile(0));
        EXPECT_TRUE(zeile(1).contains(Summe(tabelle, "Sum_Ist", false, summiert))) << qPrintable(zeile(1));
        EXPECT_TRUE(zeile(2).contains(Summe(tabelle, "Sum_Diff", false, summiert))) << qPrintable(zeile(2));
        EXPECT_TRUE(zeile(0).contains(Summe(tabelle, "Soll_EKWert", true, summiert))) << qPrintable(zeile(0));
        EXPECT_TRUE(zeile(1).contains(Summe(tabelle, "Ist_VKWert", true, summiert))) << qPrintable(zeile(1));
        EXPECT_TRUE(zeile(2).contains(Summe(tabelle, "Diff_EKWert_Abgew", true, summiert))) << qPrintable(zeile(2));
    }
    EXPECT_TRUE(text.contains("Inventuren - " + liste.SelectedLayouts().front()->Titel)) << "the title in the header";
    EXPECT_FALSE(text.contains("Rückrechnung")) << "no back-calculation, no date";
    if (report == "kalme004.rpt") {
        EXPECT_TRUE(text.contains("Regal ")) << "shelf lines under their article";
    }
}

INSTANTIATE_TEST_SUITE_P(Alle, VorlagenTest,
                         ::testing::Values("kalme001.rpt", "kalme002.rpt", "kalme003.rpt", "kalme004.rpt", "kalme005.rpt", "kalme006.rpt",
                                           "kalme007.rpt", "kalme008.rpt", "kalme009.rpt", "kalme010.rpt"),
                         [](const auto& i) { return std::string(i.param).substr(0, 8); });
