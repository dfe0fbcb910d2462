// What the report component is given: parameters, margins, title and export file name.
#include "framework/core/fehler.h"
#include "inventurliste/reportstart.h"
#include "tests/inventurliste/liste.h"

#include <QTemporaryDir>

namespace {

class ReportStartTest : public ListeTest {
protected:
    // exported lists go to a folder of the test, not to the user's
    void SetUp() override
    {
        ListeTest::SetUp();
        if (!IsSkipped())
            Sql(QString("INSERT INTO parameter (name, wert) VALUES ('ORDNER_LISTEN', '%1')").arg(FListen.path()));
    }
    TReportStart Start(QStringList optionen, QStringList parameter, int filiale = 5, bool rr = false)
    {
        auto l = std::make_unique<TZEP_SelectedLayout>();
        l->ReportDatei = "kalme003.rpt";
        l->Titel = "Inventurliste";
        l->Liste1 = optionen;
        l->Liste2 = parameter;
        Liste().SelectedLayouts().clear();
        Liste().SelectedLayouts().push_back(std::move(l));
        return ReportStartBilden(Liste(), filiale, rr, EncodeDate(2026, 1, 31));
    }
    static QString Parameter(const TReportStart& r, const QString& name)
    {
        for (const auto& [n, w] : r.Parameter)
            if (n == name)
                return w;
        return "fehlt";
    }
    QTemporaryDir FListen;
};

}

TEST_F(ReportStartTest, MarginsInTwipsFromMillimetres)
{
    EXPECT_EQ(RandInTwips("10"), 567);
    EXPECT_EQ(RandInTwips(" 2,5 "), 141);
    EXPECT_EQ(RandInTwips("2.5"), 141);
    EXPECT_THROW(RandInTwips("zehn"), EORVFehler);

    const TReportStart ohne = Start({"KVK=J"}, {});
    EXPECT_EQ(ohne.RechterRand, 10);
    EXPECT_EQ(ohne.UntererRand, 500);
    EXPECT_FALSE(ohne.ObererRand || ohne.LinkerRand);

    const TReportStart r = Start({"ObererRand=10", "XPosition=5", "LinkerRand=2,5", "UntererRand=20"}, {});
    EXPECT_EQ(r.ObererRand, 567);
    EXPECT_EQ(r.LinkerRand, 141) << "the later of XPosition and LinkerRand decides";
    EXPECT_EQ(r.UntererRand, 1134);
    EXPECT_EQ(Start({"LinkerRand=2,5", "XPosition=5"}, {}).LinkerRand, 283);
    EXPECT_EQ(Start({"ObererRand=10", "ObererRand=20"}, {}).ObererRand, 567) << "a name's first line holds its value";
    EXPECT_THROW(Start({"ObererRand=viel"}, {}), EORVFehler);
}

TEST_F(ReportStartTest, ParametersTitleAndExportFile)
{
    const TReportStart r = Start({}, {"MinDiff=3", "FilNull=J"});
    EXPECT_EQ(Parameter(r, "Param_MinDiff"), "3");
    EXPECT_EQ(Parameter(r, "Param_FilNull"), "J");
    EXPECT_EQ(Parameter(r, "Param_FilNr"), "5");
    EXPECT_EQ(Parameter(r, "Param_RRDatum"), "") << "no back-calculation";
    EXPECT_EQ(r.Parameter.front().first, "Param_TextMandant");
    EXPECT_EQ(r.Parameter.back().first, "Param_FilNull") << "the layout's parameters in their order, last";
    EXPECT_EQ(Parameter(Start({}, {}, 0, true), "Param_RRDatum"), "31.01.2026");
    EXPECT_EQ(Parameter(Start({}, {}, 0), "Param_FilNr"), "0");
    EXPECT_EQ(r.Titel, "Inventuren - Inventurliste");
    EXPECT_EQ(r.Caption, "Inventurauswertung");
    EXPECT_TRUE(r.ReportPfad.endsWith("/reports/kalme003.rpt")) << qPrintable(r.ReportPfad);
    EXPECT_EQ(r.ExportDatei, FListen.filePath("Inventurauswertung20261208.pdf"));
    EXPECT_EQ(r.BildSpalte, "INVLFile.Produkt_ID");
}
