// The print tables of several inventories of the demo chain, compared byte for byte with the
// tables the list computation wrote when their hashes were recorded. Any change of a value,
// a line, its order or the table layout shows here. KALMET_GOLDEN_SCHREIBEN=1 records the
// hashes anew (only after a change of the results that was meant).
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/dbf/crystalsets.h"
#include "inventurliste/bau.h"
#include "tests/inventurliste/liste.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const QString CHashDatei = QStringLiteral(KALMET_SOURCE_DIR "/tests/inventurliste/liste_golden.txt");

// One build: the inventories (a condition on ia), the selection and the list options.
struct TFall {
    const char* Name;
    bool Vorjahr;        // fiscal year 2025 instead of 2026
    QString Inventuren;  // condition on ia
    QString SelWGN;
    int32_t SelFil = 0;
    bool Gegenrechnen = false;
    bool KVK = false;
    bool Regalmengen = false;
    bool Rechnen = false;
    TLayOutParams Params = {};
    QString MinDiff = {};
};

std::vector<TFall> Faelle()
{
    // d1 holds the product-group inventories of every branch, counted on one day
    const QString d1 = "zaehldatum = (SELECT MIN(zaehldatum) FROM ia WHERE wijahr = '2026-02-01 00:00:00.000')";
    const QString gruppe8 = d1 + " AND wgn = (SELECT MIN(wgn) FROM ia WHERE " + d1 + ")";
    const QString gruppe12 = d1 + " AND wgn = (SELECT MAX(wgn) FROM ia WHERE " + d1 + ")";
    TLayOutParams gegen;
    gegen.Filueber = true;
    gegen.MinDiff = 1;
    TLayOutParams summe;
    summe.MitSummieren = true;
    summe.NurMitMengen = true;
    TLayOutParams uebersicht;
    uebersicht.IsUebersicht = true;
    return {
        {"Warengruppe", false, gruppe8, "", 0, false, true},
        {"Lagerplatz", false, "filiale IN (SELECT filiale FROM filiale WHERE lv_benutzen = 1) AND wgn <> ''", "", 0, false, false,
         true},
        {"Filialweit", false, "wgn = ''", "", 0},
        {"Gegenrechnen", false, gruppe8, "", 2, true, false, false, false, gegen, "1"},
        {"Rueckrechnung", true, "wgn = '' AND filiale <= 2", "", 0, false, false, true, true},
        {"Summieren", false, gruppe8, "", 0, false, false, false, false, summe},
        {"Uebersicht", false, gruppe12, "", 0, false, false, false, false, uebersicht},
    };
}

class ListeGoldenTest : public ListeTest {
protected:
    QTemporaryDir FAusgabe;

    // Writes the tables of one case into ordner.
    void Bauen(const TFall& fall, const QString& ordner)
    {
        TInventurliste& f = Liste();
        TDruckConfig c;
        c.WiJahr = EncodeDate(fall.Vorjahr ? 2025 : 2026, 2, 1);
        c.SelWGN = fall.SelWGN;
        c.SelFil = fall.SelFil;
        c.FilGegAufrechnen = fall.Gegenrechnen;
        c.KVK = fall.KVK;
        c.MitRegalmengen = fall.Regalmengen;
        c.Rechnen = fall.Rechnen;
        c.LayoutParams = fall.Params;
        auto layout = std::make_unique<TZEP_SelectedLayout>();
        layout->Liste2 << "MinDiff=" + fall.MinDiff;
        f.SelectedLayouts().clear();
        f.SelectedLayouts().push_back(std::move(layout));

        QSqlQuery q(TZEP_Connection::Database());
        ASSERT_TRUE(q.exec(QString("SELECT zaehldatum, wgn, filiale FROM ia WHERE wijahr = '%1' AND %2 ORDER BY filiale, zaehldatum")
                               .arg(TDatumTraits::ToSql(c.WiJahr).first().toString(), fall.Inventuren)));
        while (q.next()) {
            const QVariant d = q.value(0);
            c.Zeilen.push_back({TDatumTraits::FromSql(&d), q.value(1).toString().isEmpty() ? "*" : q.value(1).toString(),
                                q.value(2).toInt()});
        }
        ASSERT_FALSE(GetWGNs(c.Zeilen, c.FilGegAufrechnen, c.SelWGN, c.SelFil).empty()) << fall.Name;
        EXPECT_TRUE(TInventurlisteBau(f, c, WiJahrEnde(c.WiJahr)).Ausfuehren(ordner, {})) << fall.Name;
    }

    static QString Hash(const QString& pfad)
    {
        QFile d(pfad);
        EXPECT_TRUE(d.open(QIODevice::ReadOnly)) << qPrintable(pfad);
        return QCryptographicHash::hash(d.readAll(), QCryptographicHash::Sha256).toHex();
    }
};

}

TEST_F(ListeGoldenTest, TablesStayByteIdentical)
{
    QStringList ist;
    for (const TFall& fall : Faelle()) {
        const QString ordner = FAusgabe.filePath(fall.Name);
        Bauen(fall, ordner);
        const auto pfad = [&](const char* klasse) { return Liste().CrystalSets().Tabelle(klasse)->Pfad(); };
        for (const auto& [klasse, datei] : {std::pair{"INVL", "invl.dbf"}, {"INVR", "invr.dbf"}, {"INVU", "invue.dbf"}})
            ist << QString("%1 %2 %3").arg(fall.Name, datei, Hash(pfad(klasse)));
        // each case writes what it stands for
        EXPECT_GT(TDbfLeser(pfad(fall.Params.IsUebersicht ? "INVU" : "INVL")).Anzahl(), 0u) << fall.Name;
        if (fall.Regalmengen && !fall.Rechnen) {
            EXPECT_GT(TDbfLeser(pfad("INVR")).Anzahl(), 0u) << fall.Name;
        }
    }
    QFile datei(CHashDatei);
    if (qEnvironmentVariableIntValue("KALMET_GOLDEN_SCHREIBEN") == 1) {
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QTextStream(&datei) << ist.join('\n') << '\n';
        GTEST_SKIP() << "hashes recorded in " << qPrintable(CHashDatei);
    }
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly)) << qPrintable(CHashDatei);
    const QStringList soll = QString::fromUtf8(datei.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(ist, soll);
}
