#include "framework/core/fehler.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/query.h"
#include "tests/support/testdb.h"

#include <gtest/gtest.h>

using namespace TZEP_DB_Query_Helper;

TEST(QueryHelper, JoinsWithEmptyOperandsYieldTheOther)
{
    EXPECT_EQ(Command_Add_With_And("", "b"), "b");
    EXPECT_EQ(Command_Add_With_And("a", ""), "a");
    EXPECT_EQ(Command_Add_With_And("a", "b"), "a and b");
    EXPECT_EQ(Command_Add_With_Or("", ""), "");
    EXPECT_EQ(Command_Add_With_Or("a", "b"), "a or b");
    EXPECT_EQ(Command_Add_With_Union("", "SELECT 1"), "SELECT 1");
    EXPECT_EQ(Command_Add_With_Union("SELECT 1", "SELECT 2"), "SELECT 1 UNION SELECT 2");
    EXPECT_EQ(Command_Add_Klammern("x = 1"), "(x = 1)");
}

TEST(QueryHelper, InBedingungTakesIntegersOfOneColumnFields)
{
    TIntegerDatenFeld fil("Filiale", "filiale");
    EXPECT_EQ(Get_InBedingung("bne", fil, {3, 1, -2}), "bne.filiale IN (3, 1, -2)");
    EXPECT_EQ(Get_InBedingung("bne", fil, {}), "(1 = 0)");
    TInt32TrioDatenFeld id("Produkt_ID", "produkt_id");
    EXPECT_THROW(Get_InBedingung("bne", id, {1}), EORVFehler);
    EXPECT_EQ(SQL_TableName_4_FilePath("WWS/IV.DAT"), "iv");
}

namespace {

// Product ids of target records of one branch between two dates, by bound parameters.
class TTestQuery : public TZEP_DB_Query {
public:
    TInt32TrioDatenFeld FProdID{"ProduktID", "produkt_id"};
    std::vector<int> Filialen;
    TDateTime Von = 0, Bis = 0;
    QString BestTyp;
    QString LetzterText;

protected:
    void CreateDatenfelder() override { DatenfeldAdd(FProdID); }
    QString SQL_Query_Get(TConnectorTyp typ) override
    {
        ParameterFelderClear();
        QString where;
        for (int f : Filialen) {
            where = Command_Add_With_Or(where, "iv.filiale = ?");
            ParameterFeldAdd_Integer(f);
        }
        where = Command_Add_With_And(Command_Add_Klammern(where), "iv.zaehldatum >= ? and iv.zaehldatum <= ?");
        ParameterFeldAdd_DateTime(Von);
        ParameterFeldAdd_DateTime(Bis);
        where = Command_Add_With_And(where, "iv.besttyp = ?");
        ParameterFeldAdd_String(BestTyp, false, false, typ, 1);
        LetzterText = "SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE " + where
            + " ORDER BY produkt_id_1";
        return LetzterText;
    }
};

}

TEST(Query, BindsParametersInPlaceholderOrder)
{
    TTestDb db;
    KALMET_REQUIRE_DB(db);
    Tivfile iv;
    const TDateTime wj = EncodeDate(2023, 2, 1);
    int p = 0;
    for (int fil : {1, 2, 3})
        for (TDateTime d : {EncodeDate(2024, 1, 10), EncodeDate(2024, 1, 31) + 0.5, EncodeDate(2024, 2, 2)}) {
            iv.AllesClear();
            TivSatz s;
            s.WiJahr = wj;
            s.ZaehlDatum = d;
            s.Filiale = fil;
            s.Produkt_ID = {++p, 1, 1};
            s.BestTyp = p % 3 ? QChar('1') : QChar('2');
            iv.SetSatz(s);
            iv.Buchen(wrdonInsert);
        }
    TTestQuery q;
    q.Filialen = {3, 1};
    q.Von = EncodeDate(2024, 1, 10);
    q.Bis = EncodeDate(2024, 1, 31) + 0.5;
    q.BestTyp = "1";
    std::vector<int> ids;
    for (bool ok = q.Get_first(); ok; ok = q.Get_next())
        ids.push_back(q.FProdID.GetWert().Int1);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 7, 8}));   // the upper bound with its time of day is inclusive
    EXPECT_EQ(q.ParameterWerte().size(), 5);
    EXPECT_EQ(q.ParameterWerte().at(0).toInt(), 3);
    EXPECT_EQ(q.ParameterWerte().at(4).toString(), "1");

    q.BestTyp = "12";
    EXPECT_THROW(q.Get_first(), EORVFehler);
}
