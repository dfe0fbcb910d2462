#include "framework/core/fehler.h"
#include "framework/dbf/dbf.h"

#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* h)
{
    return QByteArray::fromHex(QByteArray(h).replace(' ', ""));
}

QByteArray Dateiinhalt(const QString& pfad)
{
    QFile f(pfad);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

std::vector<TDbfSpalte> KleineSpalten()
{
    return {DbfInteger("NR"), DbfDouble("WERT"), DbfDatum("DATUM"), DbfText("TEXT", 3)};
}

QByteArray Deskriptor(const char* name, char typ, int laenge)
{
    QByteArray d(48, '\0');
    memcpy(d.data(), name, strlen(name));
    d[32] = typ;
    d[33] = static_cast<char>(laenge);
    return d;
}

}

TEST(Dbf, GoldenBytesOfTheLevel7Layout)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("klein.dbf");
    {
        TDbf t(pfad, KleineSpalten(), QDate(2026, 12, 8));
        t.Anfuegen({1, 2.5, QDate(2024, 1, 31), "ab"});
        t.Anfuegen({-2, -1.0, QVariant(0.0), "xyz"});
    }
    QByteArray erwartet;
    // header: version 4, date 2026-12-08, 2 records, header 261 bytes, record 24 bytes
    erwartet += Hex("04 7E 0C 08  02 00 00 00  05 01  18 00  00 00  00 00");
    erwartet += QByteArray(16, '\0');
    erwartet += QByteArray("DBWINWE0") + QByteArray(24, '\0');
    erwartet += QByteArray(4, '\0');
    erwartet += Deskriptor("NR", 'I', 4) + Deskriptor("WERT", 'O', 8) + Deskriptor("DATUM", 'D', 8)
        + Deskriptor("TEXT", 'C', 3);
    erwartet += Hex("0D");
    // integers big-endian with the sign bit inverted; doubles big-endian, positive with the
    // sign bit set, negative inverted; dates as text; texts blank-padded
    erwartet += Hex("20 80000001 C004000000000000") + QByteArray("20240131ab ");
    erwartet += Hex("20 7FFFFFFE 400FFFFFFFFFFFFF") + QByteArray("        xyz");
    erwartet += Hex("1A");
    EXPECT_EQ(Dateiinhalt(pfad).toHex(' '), erwartet.toHex(' '));

    TDbfLeser l(pfad);
    ASSERT_EQ(l.Anzahl(), 2u);
    EXPECT_EQ(l.Spalten(), KleineSpalten());
    EXPECT_EQ(l.Wert(0, "NR").toInt(), 1);
    EXPECT_EQ(l.Wert(1, "NR").toInt(), -2);
    EXPECT_EQ(l.Wert(0, "WERT").toDouble(), 2.5);
    EXPECT_EQ(l.Wert(1, "WERT").toDouble(), -1.0);
    EXPECT_EQ(l.Wert(0, "DATUM").toDate(), QDate(2024, 1, 31));
    EXPECT_FALSE(l.Wert(1, "DATUM").toDate().isValid());
    EXPECT_EQ(l.Wert(0, "TEXT").toString(), "ab");
}

TEST(Dbf, ATableCutShortDoesNotReadAsComplete)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("absturz.dbf");
    TDbf t(pfad, KleineSpalten(), QDate(2026, 12, 8));
    EXPECT_EQ(TDbfLeser(pfad).Anzahl(), 0u) << "an empty table just created is complete";
    for (int i = 0; i < 50; ++i)
        t.Anfuegen({i, i * 1.5, QDate(2024, 1, 1), "x"});
    // the program dies here: what is on disk must not read as a table of any length
    EXPECT_THROW(TDbfLeser{pfad}, EORVFehler);
    t.Schliessen();
    EXPECT_EQ(TDbfLeser(pfad).Anzahl(), 50u);

    // a complete header over a file that lost its tail is refused too
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 30);
    f.close();
    EXPECT_THROW(TDbfLeser{pfad}, EORVFehler);
}

TEST(Dbf, RefusesTextsTooLongAndBadLayouts)
{
    QTemporaryDir dir;
    TDbf t(dir.filePath("t.dbf"), KleineSpalten());
    EXPECT_THROW(t.Anfuegen({1, 1.0, QDate(), "abcd"}), EORVFehler);
    EXPECT_THROW(t.Anfuegen({1, 1.0}), EORVFehler);
    EXPECT_THROW(TDbf(dir.filePath("u.dbf"), {DbfInteger(QString(32, 'N'))}), EORVFehler);
    std::vector<TDbfSpalte> viele(1025, DbfInteger("X"));
    EXPECT_THROW(TDbf(dir.filePath("v.dbf"), viele), EORVFehler);
}

TEST(Dbf, ReadsATableLongerThanItsWindowInAnyOrder)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("lang.dbf");
    {
        TDbf t(pfad, {DbfInteger("Nr"), DbfDatum("Tag"), DbfText("Name", 200)});
        for (int i = 0; i < 5000; ++i)   // about a megabyte, several windows
            t.Anfuegen({i, i % 7 == 0 ? QVariant(QDate()) : QVariant(QDate(2026, 1, 1).addDays(i)), QString("Zeile %1").arg(i)});
        t.Schliessen();
    }
    const TDbfLeser l(pfad);
    ASSERT_EQ(l.Anzahl(), 5000u);
    for (uint32_t i : {0u, 4999u, 1u, 2600u, 2599u, 1300u, 4998u, 0u}) {
        EXPECT_EQ(l.Wert(i, 0).toInt(), static_cast<int>(i));
        EXPECT_EQ(l.Wert(i, 1).toDate(), i % 7 == 0 ? QDate() : QDate(2026, 1, 1).addDays(i)) << i;
        EXPECT_EQ(l.Wert(i, "Name").toString(), QString("Zeile %1").arg(i));
    }
    // reading on after a jump goes past the small window the jump read
    for (uint32_t i = 1000; i < 3000; ++i)
        ASSERT_EQ(l.Wert(i, 0).toInt(), static_cast<int>(i));
    EXPECT_THROW(l.Wert(5000, 0), EORVFehler);
}

TEST(Dbf, TypedRecordsWriteTheBytesOfTheirValues)
{
    QTemporaryDir dir;
    const std::vector<QVariantList> werte = {{7, -0.5, QDate(812, 3, 4), QString::fromUtf8("äb")},
                                             {0, 0.0, QVariant(0.0), ""},
                                             {INT32_MIN, 1e300, QVariant(45000.75), "xyz"},
                                             {-1, -0.0, QVariant(QDate()), "a"}};
    {
        TDbf varianten(dir.filePath("v.dbf"), KleineSpalten(), QDate(2026, 12, 8));
        for (const QVariantList& w : werte)
            varianten.Anfuegen(w);
        TDbf typisiert(dir.filePath("t.dbf"), KleineSpalten(), QDate(2026, 12, 8));
        for (const QVariantList& w : werte)
            typisiert.Anfuegen([&](TDbfSatz& s) {
                s.Integer(w[0].toInt());
                s.Double(w[1].toDouble());
                w[2].metaType().id() == QMetaType::QDate ? s.Datum(w[2].toDate()) : s.Datum(w[2].toDouble());
                s.Text(w[3].toString());
            });
    }
    EXPECT_EQ(Dateiinhalt(dir.filePath("t.dbf")).toHex(' '), Dateiinhalt(dir.filePath("v.dbf")).toHex(' '));
    const TDbfLeser l(dir.filePath("t.dbf"));
    EXPECT_EQ(l.Wert(0, "DATUM").toDate(), QDate(812, 3, 4));
    EXPECT_EQ(l.Wert(2, "DATUM").toDate(), QDate(2023, 3, 15));
    EXPECT_EQ(l.Wert(0, "TEXT").toString(), QString::fromUtf8("äb"));
}

TEST(Dbf, ATypedRecordOfWrongShapeIsRefusedAndNotAppended)
{
    QTemporaryDir dir;
    TDbf t(dir.filePath("t.dbf"), KleineSpalten());
    const auto bis = [](int n) {
        return [n](TDbfSatz& s) {
            const std::function<void()> schritte[] = {[&] { s.Integer(1); }, [&] { s.Double(1); }, [&] { s.Datum(0.0); },
                                                      [&] { s.Text("a"); }, [&] { s.Text("b"); }};
            for (int i = 0; i < n; ++i)
                schritte[i]();
        };
    };
    EXPECT_THROW(t.Anfuegen(bis(3)), EORVFehler) << "a column left out";
    EXPECT_THROW(t.Anfuegen(bis(5)), EORVFehler) << "a value too many";
    EXPECT_THROW(t.Anfuegen([](TDbfSatz& s) { s.Text("1"); }), EORVFehler) << "a text for an integer column";
    EXPECT_THROW(t.Anfuegen([](TDbfSatz& s) {
        s.Integer(1);
        s.Double(1);
        s.Datum(0.0);
        s.Text("abcd");
    }),
                 EORVFehler) << "a text too long";
    t.Anfuegen(bis(4));
    t.Schliessen();
    const TDbfLeser l(dir.filePath("t.dbf"));
    ASSERT_EQ(l.Anzahl(), 1u);
    EXPECT_EQ(l.Wert(0, "TEXT").toString(), "a");
}
