#include "inventurliste/aufrechnen.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A line of article 1.1.1 for a branch, block and count day, with differences per column.
TinvlSatz Zeile(int filiale, int block, std::map<int, int> diffs, TDateTime tag = EncodeDate(2026, 5, 15), int grVon = 3,
                int grBis = 30)
{
    TinvlSatz r;
    r.Produkt_ID = {1, 1, 1};
    r.Filiale = filiale;
    r.BlockNr = block;
    r.ZaehlDatum = tag;
    r.GrVon = grVon;
    r.GrBis = grBis;
    for (auto [j, d] : diffs) {
        r.Mengen[j].Diff = d;
        r.Mengen[j].Soll = 10;
        r.Mengen[j].Ist = 10 + d;
        r.Sum_Diff += d;
        r.Sum_AbsDiff += std::abs(d);
        r.Sum_AbsMengen += 20 + std::abs(d) + std::abs(10 + d) - 10;
    }
    r.Sum_Soll = 100;
    r.Soll_EKWert = 1000;
    r.Diff_VKWert = -7.5;
    r.AnzRegal = 1;
    return r;
}

std::vector<int> Filialen(const TinvlListe& l)
{
    std::vector<int> r;
    for (const TinvlSatz& s : l)
        r.push_back(s.Filiale);
    return r;
}

}

TEST(Aufrechnen, SelectedBranchKeepsWhatTheEnterpriseConfirms)
{
    // branch 5 has -3 in column 4, branch 2 +2: the enterprise has -1 there
    TinvlListe l{Zeile(2, 0, {{4, 2}, {6, 1}}), Zeile(5, 0, {{4, -3}, {6, 4}}), Zeile(7, 0, {{6, -9}})};
    FilialenAufrechnen_INVL(5, l, 0);
    ASSERT_EQ(Filialen(l), std::vector<int>{5});
    EXPECT_EQ(l.First().Mengen[4].Diff, -1);
    EXPECT_EQ(l.First().Mengen[6].Diff, 0) << "branch +4 against enterprise -4: opposite signs give 0";
    EXPECT_EQ(l.First().Sum_Diff, -1);

    // with the enterprise at +2 the branch's -3 is not confirmed
    TinvlListe m{Zeile(2, 0, {{4, 5}}), Zeile(5, 0, {{4, -3}})};
    FilialenAufrechnen_INVL(5, m, 0);
    ASSERT_EQ(m.Count(), 0) << "nothing is left to show: the article is dropped";

    TinvlListe n{Zeile(2, 0, {{4, 5}, {5, 1}}), Zeile(5, 0, {{4, -3}, {5, 3}})};
    FilialenAufrechnen_INVL(5, n, 0);
    ASSERT_EQ(n.Count(), 1);
    EXPECT_EQ(n.First().Mengen[4].Diff, 0);
    EXPECT_EQ(n.First().Mengen[5].Diff, 3);
}

TEST(Aufrechnen, WithoutSelectedBranchOnlyTheMinimumDecides)
{
    TinvlListe l{Zeile(2, 0, {{4, 2}}), Zeile(5, 0, {{4, -1}})};
    FilialenAufrechnen_INVL(0, l, 0);
    EXPECT_EQ(Filialen(l), (std::vector<int>{2, 5})) << "MinDiff 0 keeps an article with any net difference";
    EXPECT_EQ(l.First().Mengen[4].Diff, 2) << "nothing is updated";
    FilialenAufrechnen_INVL(0, l, 1);
    EXPECT_EQ(l.Count(), 2);
    FilialenAufrechnen_INVL(0, l, 2);
    EXPECT_EQ(l.Count(), 0) << "every slot of the enterprise total below MinDiff";
    TinvlListe leer;
    FilialenAufrechnen_INVL(3, leer, 0);
    EXPECT_TRUE(leer.IsEmpty());
}

TEST(Aufrechnen, SlotsBeyondTheHundredthAreLeftOut)
{
    TinvlListe l{Zeile(2, 5, {{16, 4}}, EncodeDate(2026, 5, 15), 90, 100)};   // 89 + 85 + 16 > 99
    FilialenAufrechnen_INVL(2, l, 0);
    EXPECT_TRUE(l.IsEmpty());
}

TEST(Aufrechnen, MinimumDifferenceFilters)
{
    TinvlListe l{Zeile(2, 0, {{1, 1}}), Zeile(3, 0, {{1, -3}}), Zeile(4, 0, {})};
    LoescheINVLohneDifferenz(l, false, 0);
    EXPECT_EQ(l.Count(), 3) << "MinDiff 0 changes nothing";
    // across branches the article's net difference is |1 - 3| = 2
    TinvlListe f = TinvlListe::Clone(l);
    LoescheINVLohneDifferenz(f, true, 2);
    EXPECT_EQ(f.Count(), 3);
    LoescheINVLohneDifferenz(f, true, 3);
    EXPECT_EQ(f.Count(), 0);
    LoescheINVLohneDifferenz(l, false, 2);
    EXPECT_EQ(Filialen(l), std::vector<int>{3});
    EXPECT_EQ(FilialDifferenz_Exists(TinvlListe{Zeile(2, 0, {{1, 1}}), Zeile(3, 0, {{1, -3}}), Zeile(3, 1, {{0, 5}})}), 7);

    TinvlListe m{Zeile(2, 0, {{1, 1}}), Zeile(3, 0, {})};
    m.Items_Ptr(1)->Sum_AbsMengen = 0;
    LoescheINVLohneMengen(m);
    EXPECT_EQ(Filialen(m), std::vector<int>{2});
}

TEST(Aufrechnen, SummaryLinesForDaysCountedInSeveralBranches)
{
    TinvlListe eine{Zeile(2, 0, {{1, 1}}), Zeile(2, 1, {{1, 1}})};
    TinvlListe summen;
    SummiereINVL(eine, summen);
    EXPECT_TRUE(summen.IsEmpty()) << "one branch: no summary";

    TinvlSatz a = Zeile(2, 0, {{1, 1}}, EncodeDate(2026, 5, 15), 3, 30);
    TinvlSatz b = Zeile(4, 0, {{1, -3}, {2, 2}}, EncodeDate(2026, 5, 15) + 0.5, 2, 33);
    TinvlSatz c = Zeile(4, 1, {{0, 6}}, EncodeDate(2026, 5, 15), 2, 33);
    TinvlListe zwei{a, b, c};
    SummiereINVL(zwei, summen);
    ASSERT_EQ(summen.Count(), 1) << "block 1 was counted by one branch only";
    const TinvlSatz& s = summen.First();
    EXPECT_EQ(s.Filiale, CINVL_SummenFiliale);
    EXPECT_EQ(s.Mengen[1].Diff, -2);
    EXPECT_EQ(s.Mengen[2].Diff, 2);
    EXPECT_EQ(s.Mengen[1].Soll, 20);
    EXPECT_EQ(s.GrVon, 2);
    EXPECT_EQ(s.GrBis, 33);
    EXPECT_EQ(s.Sum_Soll, 200);
    EXPECT_DOUBLE_EQ(s.Soll_EKWert, 2000);
    EXPECT_EQ(s.AnzRegal, 2);

    TinvlListe getrennt{Zeile(2, 0, {{1, 1}}, EncodeDate(2026, 5, 15)), Zeile(4, 0, {{1, 1}}, EncodeDate(2026, 5, 16))};
    TinvlListe keine;
    SummiereINVL(getrennt, keine);
    EXPECT_TRUE(keine.IsEmpty()) << "different days: no summary";
}

TEST(Aufrechnen, WrittenLinesReadBackWithZeroTotalsOnFurtherLinesOfABranch)
{
    QTemporaryDir dir;
    Tinvlfile datei;
    const QString pfad = dir.filePath("invl.dbf");
    auto tabelle = datei.DBF_Create_Table_Empty(pfad);
    TinvlSatz erste = Zeile(2, 0, {{1, 1}});
    erste.LfdNr = 1;
    TinvlSatz zweite = Zeile(2, 1, {{0, 4}});
    zweite.LfdNr = 2;
    TinvlSatz andere = Zeile(3, 0, {{2, -2}});
    andere.LfdNr = 3;
    int32_t lfdNr = 4;
    INVLSaetzeWegschreiben(TinvlListe{erste, zweite, andere}, false, datei, *tabelle, lfdNr);
    TinvlSatz summe = Zeile(CINVL_SummenFiliale, 0, {{1, 1}});
    INVLSaetzeWegschreiben(TinvlListe{summe, summe}, true, datei, *tabelle, lfdNr);
    EXPECT_EQ(lfdNr, 6);
    tabelle->Schliessen();

    TDbfLeser l(pfad);
    ASSERT_EQ(l.Anzahl(), 5u);
    EXPECT_EQ(datei.SatzLesen(l, 0), erste);
    TinvlSatz erwartet = zweite;
    erwartet.Sum_Soll = 0;
    erwartet.Sum_Diff = 0;
    erwartet.Soll_EKWert = 0;
    erwartet.Diff_VKWert = 0;
    EXPECT_EQ(datei.SatzLesen(l, 1), erwartet) << "totals and values only on the first line of the branch";
    EXPECT_EQ(datei.SatzLesen(l, 1).Sum_AbsMengen, zweite.Sum_AbsMengen);
    EXPECT_EQ(datei.SatzLesen(l, 2), andere);
    EXPECT_EQ(datei.SatzLesen(l, 3).LfdNr, 4);
    EXPECT_EQ(datei.SatzLesen(l, 4).LfdNr, 5);
    EXPECT_EQ(datei.SatzLesen(l, 4).Sum_Soll, 100) << "summary lines keep their totals";

    // the first block filtered away: the next printed line carries the article's totals
    QTemporaryDir dir2;
    auto gefiltert = datei.DBF_Create_Table_Empty(dir2.filePath("invl.dbf"));
    INVLSaetzeWegschreiben(TinvlListe{zweite}, false, datei, *gefiltert, lfdNr);
    gefiltert->Schliessen();
    EXPECT_EQ(datei.SatzLesen(TDbfLeser(dir2.filePath("invl.dbf")), 0), zweite);
}

// An article with more than 17 sizes: the netted vector reaches both block lines of the
// selected branch, and its totals, absolute sum and difference values agree with the slots.
TEST(Aufrechnen, NettingCoversEveryBlockWithTotalsAndValues)
{
    const auto preise = [](TinvlSatz r) {
        for (int j = 0; j < CINVL_Slots; ++j) {
            r.EKPreis[j] = 10.0 + r.BlockNr;   // block 1 holds dearer large sizes
            r.VKPreis[j] = 20.0 + r.BlockNr;
        }
        r.AbwProzent = 50;
        return r;
    };
    // branch 5: -3 at column 4 of block 0, -2 at column 1 of block 1; branch 2: +1 and -4
    TinvlListe l{preise(Zeile(2, 0, {{4, 1}})), preise(Zeile(2, 1, {{1, -4}})), preise(Zeile(5, 0, {{4, -3}})),
                 preise(Zeile(5, 1, {{1, -2}}))};
    FilialenAufrechnen_INVL(5, l, 0);
    ASSERT_EQ(Filialen(l), (std::vector<int>{5, 5}));
    const TinvlSatz& b0 = l.GetItem(0);
    const TinvlSatz& b1 = l.GetItem(1);
    EXPECT_EQ(b0.Mengen[4].Diff, -2) << "enterprise -2 confirms two of the branch's -3";
    EXPECT_EQ(b1.Mengen[1].Diff, -2) << "enterprise -6 confirms all of the branch's -2";
    for (const TinvlSatz* b : {&b0, &b1}) {
        EXPECT_EQ(b->Sum_Diff, -4);
        EXPECT_EQ(b->Sum_AbsDiff, 4);
        EXPECT_DOUBLE_EQ(b->Diff_EKWert, -2 * 10.0 - 2 * 11.0);
        EXPECT_DOUBLE_EQ(b->Diff_VKWert, -2 * 20.0 - 2 * 21.0);
        EXPECT_DOUBLE_EQ(b->Diff_EKWert_Abgew, -21.0);
    }
    // the minimum-difference filter now works on the netted differences
    TinvlListe k = l;
    LoescheINVLohneDifferenz(k, false, 5);
    EXPECT_EQ(k.Count(), 0);
    LoescheINVLohneDifferenz(l, false, 4);
    EXPECT_EQ(l.Count(), 2);
}

// Totals and values stand on the first block line of every inventory, also for two count
// dates of one branch and for summary lines; later block lines carry zeros.
TEST(Aufrechnen, TotalsOnTheFirstBlockOfEveryLine)
{
    QTemporaryDir dir;
    Tinvlfile datei;
    const QString pfad = dir.filePath("invl.dbf");
    auto tabelle = datei.DBF_Create_Table_Empty(pfad);
    const TinvlSatz mai = Zeile(2, 0, {{1, 1}});
    const TinvlSatz juni = Zeile(2, 0, {{1, 2}}, EncodeDate(2026, 6, 15));
    const TinvlSatz summe0 = Zeile(CINVL_SummenFiliale, 0, {{1, 3}});
    const TinvlSatz summe1 = Zeile(CINVL_SummenFiliale, 1, {{1, 3}});
    int32_t lfdNr = 1;
    INVLSaetzeWegschreiben(TinvlListe{mai, juni, summe0, summe1}, true, datei, *tabelle, lfdNr);
    tabelle->Schliessen();
    TDbfLeser l(pfad);
    ASSERT_EQ(l.Anzahl(), 4u);
    EXPECT_EQ(datei.SatzLesen(l, 0).Sum_Soll, 100);
    EXPECT_EQ(datei.SatzLesen(l, 1).Sum_Soll, 100) << "a second inventory of the branch keeps its totals";
    EXPECT_EQ(datei.SatzLesen(l, 1).Soll_EKWert, 1000);
    EXPECT_EQ(datei.SatzLesen(l, 2).Sum_Soll, 100);
    EXPECT_EQ(datei.SatzLesen(l, 3).Sum_Soll, 0) << "a summary line of block 1 does not count the totals twice";
    EXPECT_EQ(datei.SatzLesen(l, 3).Soll_EKWert, 0);
}
