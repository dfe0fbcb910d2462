#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "framework/dbf/invufile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TinvlSatz Beispiel(int n)
{
    TinvlSatz s;
    s.LfdNr = n;
    s.BlockNr = n % 3;
    s.WiJahr = EncodeDate(2023, 2, 1);
    s.ZaehlDatum = EncodeDate(2024, 1, 20 + n % 5);
    s.Produkt_ID = {n, n * 7, -n};
    s.Filiale = n % 2 ? 999999 : n % 9;
    s.FilKZ = n % 2 ? QChar('W') : QChar('F');
    s.WGN = "WG" + QString::number(n % 50);
    s.ArtNr = QString("A-%1").arg(n);
    s.LiefNr = 100 + n;
    s.LiefArtNr = QString("Lieferant äöü %1").arg(n);
    s.ArtKZ = QChar('K');
    for (int i = 0; i < 6; ++i)
        s.Merkmal[i] = QString("M%1-%2").arg(i).arg(n);
    s.Bezeichnung = QString("Schuh Größe %1").arg(n);
    s.LetztesVorgangsDatum = n % 4 ? EncodeDate(2023, 5, n % 28 + 1) : 0;
    s.ReNr = n * 3;
    s.ReNr2 = -n;
    s.EK = 12.34 + n;
    s.AbwProzent = n % 101;
    s.EK_Abgewertet = (1 - s.AbwProzent / 100) * s.EK;
    s.GrVon = 1 + n % 10;
    s.GrBis = s.GrVon + n % 40;
    for (int j = 0; j < CINVL_Slots; ++j)
        for (int k = 0; k < TinvlMengen::Anzahl; ++k)
            s.Mengen[j][k] = (j * 14 + k) * (n % 2 ? -1 : 1) + n;
    s.Sum_Typ01 = n;
    s.Sum_Typ15 = -n;
    s.Sum_Soll = 2 * n;
    s.Sum_Diff = -3 * n;
    s.Sum_Ist = -n;
    s.Sum_AbsMengen = 6 * n;
    s.Sum_AbsDiff = 3 * n;
    s.Sum_FVK = 1;
    s.VK = 49.95;
    s.Soll_EKWert = 1234.5678 * n;
    s.Diff_VKWert = -0.01 * n;
    s.AnzRegal = n % 4;
    return s;
}

}

TEST(PrintFiles, InvlColumnsInRecordOrder)
{
    const std::vector<TDbfSpalte> spalten = Tinvlfile().Spalten();
    EXPECT_EQ(spalten.size(), 24u + 6 + 17 * 14 + 27);
    EXPECT_EQ(spalten[4].Name, "Produkt_ID");
    EXPECT_EQ(spalten[15].Name, "Merkmal1");
    EXPECT_EQ(spalten[30].Name, "Typ01_00");
    EXPECT_EQ(spalten[30 + 10].Name, "Soll_00");
    EXPECT_EQ(spalten[30 + 14 * 16 + 13].Name, "FVK_16");
    EXPECT_EQ(spalten.back().Name, "AnzRegal");
    for (size_t i = 0; i < spalten.size(); ++i)
        for (size_t k = i + 1; k < spalten.size(); ++k)
            ASSERT_NE(spalten[i].Name, spalten[k].Name);
}

TEST(PrintFiles, InvlTableRoundTripsEveryColumn)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("invl.dbf");
    Tinvlfile f;
    std::vector<TinvlSatz> geschrieben;
    {
        auto t = f.DBF_Create_Table_Empty(pfad, 0);
        for (int n = 1; n <= 400; ++n) {
            f.SetSatz(Beispiel(n));
            f.GetMengen(16).FVK = n;
            f.GetBeschreibungsdaten(6) = "sechs";
            f.DBF_InsertSatz(*t);
            geschrieben.push_back(f.GetSatz());
        }
    }
    TDbfLeser l(pfad);
    ASSERT_EQ(l.Anzahl(), 400u);
    for (uint32_t i = 0; i < l.Anzahl(); ++i)
        ASSERT_EQ(f.SatzLesen(l, i), geschrieben[i]) << "record " << i;
    EXPECT_EQ(l.Wert(0, "Produkt_ID").toString(), "1.7.-1");
    EXPECT_EQ(l.Wert(0, "Merkmal6").toString(), "sechs");
}

// The columns' typed writers put down the bytes of the values their readers give.
TEST(PrintFiles, InvlRecordsWrittenTypedEqualTheirValues)
{
    QTemporaryDir dir;
    Tinvlfile f;
    {
        auto typisiert = f.DBF_Create_Table_Empty(dir.filePath("t.dbf"));
        auto werte = f.DBF_Create_Table_Empty(dir.filePath("w.dbf"));
        for (int n = 0; n <= 40; ++n) {
            f.SetSatz(n ? Beispiel(n) : TinvlSatz{});
            f.DBF_InsertSatz(*typisiert);
            QVariantList w;
            for (const TDbfFeld<TinvlSatz>& feld : f.Layout())
                w << feld.Lesen(f.Satz());
            werte->Anfuegen(w);
        }
    }
    QFile t(dir.filePath("t.dbf")), w(dir.filePath("w.dbf"));
    ASSERT_TRUE(t.open(QIODevice::ReadOnly) && w.open(QIODevice::ReadOnly));
    EXPECT_TRUE(t.readAll() == w.readAll());
}

TEST(PrintFiles, InvrAndInvueRoundTripAndCut)
{
    QTemporaryDir dir;
    Tinvrfile r;
    Tinvufile u;
    TinvrSatz rs;
    rs.LfdNr = 4;
    rs.Regal = 12;
    rs.Produkt_ID = {1, 2, 3};
    rs.Menge[16] = -5;
    rs.EKWert = 99.99;
    TinvuSatz us;
    us.LfdNr = 1;
    us.WGN = u.SetWertCut("WGN", "SEHRLANGEWGN");
    us.MwSt = "19%";
    us.Diff_VKWert = -12.5;
    {
        auto tr = r.DBF_Create_Table_Empty(dir.filePath("invr.dbf"));
        auto tu = u.DBF_Create_Table_Empty(dir.filePath("invue.dbf"));
        r.SetSatz(rs);
        r.DBF_InsertSatz(*tr);
        u.SetSatz(us);
        u.DBF_InsertSatz(*tu);
    }
    EXPECT_EQ(us.WGN, "SEHRLANGEW");
    EXPECT_EQ(r.SatzLesen(TDbfLeser(dir.filePath("invr.dbf")), 0), rs);
    EXPECT_EQ(u.SatzLesen(TDbfLeser(dir.filePath("invue.dbf")), 0), us);
}
