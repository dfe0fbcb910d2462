#include "inventurliste/zeileanzeige.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <gtest/gtest.h>

#include <limits>

namespace {


TIAInventur Inventur(TDateTime tag, const QString& wgn, int32_t filiale, TZEP_IA_KZZaehlung status = iakzGezaehlt)
{
    TIAStand s;
    s.Gefunden = true;
    s.Status = status;
    s.WiJahr = EncodeDate(2026, 2, 1);
    return {{tag, wgn, filiale}, s};
}

class UebersichtModellTest : public ::testing::Test {
protected:
    const TDateTime CTag1 = EncodeDate(2026, 5, 15), CTag2 = EncodeDate(2026, 8, 26);

    void SetUp() override
    {
        for (int i = 0; i <= usUngezaehlt; ++i)
            FModell.SpalteAdd({});
        FModell.Fuellen(EncodeDate(2026, 2, 1), {Inventur(CTag1, "A", 1), Inventur(CTag1, "B", 1), Inventur(CTag2, "A", 2)});
    }
    bool Markiert(const TIASchluessel& s) const { return FModell.data(FModell.index(FModell.Zeile(s), usMarke), Qt::CheckStateRole).toInt() == Qt::Checked; }
    void Markieren(const TIASchluessel& s, Qt::CheckState c) { FModell.setData(FModell.index(FModell.Zeile(s), usMarke), c, Qt::CheckStateRole); }

    TUebersichtModell FModell;
};

}

TEST_F(UebersichtModellTest, ReadAgainTheRowsKeepTheirMarksByKeyAndEachDateShowsOnce)
{
    const TIASchluessel b{CTag1, "B", 1};
    Markieren(b, Qt::Checked);
    // a group of all groups comes before the others of its day, one row of that day goes
    FModell.Abgleichen({Inventur(CTag1, "*", 1), Inventur(CTag1, "B", 1), Inventur(CTag2, "A", 2)});
    ASSERT_EQ(FModell.Anzahl(), 3);
    EXPECT_EQ(FModell.Zeile(b), 1);
    EXPECT_EQ(FModell.Zeile({CTag1, "A", 1}), -1);
    EXPECT_TRUE(Markiert(b));
    EXPECT_FALSE(Markiert({CTag1, "*", 1}));
    EXPECT_EQ(FModell.Wert(0, usZaehlDatum).toString(), "15.05.2026");
    EXPECT_EQ(FModell.Wert(1, usZaehlDatum).toString(), "");
    EXPECT_EQ(FModell.Wert(2, usZaehlDatum).toString(), "26.08.2026");

    FModell.Fuellen(FModell.WiJahr(), {Inventur(CTag1, "B", 1)});
    EXPECT_FALSE(Markiert(b)) << "a new fill has no marks";
}

TEST_F(UebersichtModellTest, ChangesFindTheirRowByKey)
{
    // a date read by another path may differ in the last bits
    FModell.StatusSetzen({CTag2 + 1e-12, "A", 2}, iakzGebucht);
    EXPECT_EQ(FModell.Wert(2, usStatusKZ).toString(), "5");
    EXPECT_EQ(FModell.Wert(2, usStatus).toString(), CZEP_IA_KZZaehlung_2_String[iakzGebucht]);
    FModell.StatusSetzen({CTag2, "B", 2}, iakzGebucht);
    EXPECT_EQ(FModell.Anzahl(), 3) << "an unknown key changes nothing";

    TIAStand andererJahr = Inventur(CTag1, "A", 1).Stand;
    andererJahr.WiJahr = EncodeDate(2025, 2, 1);
    FModell.Uebernehmen({CTag1, "A", 1}, andererJahr);
    EXPECT_EQ(FModell.Zeile({CTag1, "A", 1}), -1);
    EXPECT_EQ(FModell.Wert(0, usZaehlDatum).toString(), "15.05.2026") << "the next row of the day shows the date now";
    FModell.Uebernehmen({CTag1, "C", 1}, Inventur(CTag1, "C", 1).Stand);
    EXPECT_EQ(FModell.Zeile({CTag1, "C", 1}), 1);
}

TEST_F(UebersichtModellTest, MarksHaveTwoStates)
{
    const TIASchluessel a{CTag1, "A", 1};
    Markieren(a, Qt::PartiallyChecked);
    EXPECT_FALSE(Markiert(a));
    EXPECT_TRUE(FModell.flags(FModell.index(0, usMarke)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(FModell.flags(FModell.index(0, usWG)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(FModell.setData(FModell.index(0, usWG), Qt::Checked, Qt::CheckStateRole));
}

TEST(ZeileAnzeige, EqualNeedsTheSameRowAndANumberAsDate)
{
    const TDateTime tag = EncodeDate(2026, 5, 15);
    const TZeileAnzeige z{tag, "A", 1, {tag, "A", 1}};
    TZeileAnzeige andereZeile = z;
    andereZeile.ZeilenNode.Filiale = 2;
    EXPECT_TRUE(z.Equal(z));
    EXPECT_FALSE(z.Equal(andereZeile));
    TZeileAnzeige nan = z;
    nan.ZaehlDatum = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(nan.Equal(nan));
}
