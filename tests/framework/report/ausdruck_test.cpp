#include "framework/core/fehler.h"
#include "framework/report/ausdruck.h"
#include "framework/report/vorlage.h"

#include <gtest/gtest.h>

namespace {

// Columns 0 and 1 of table 0 hold 7 and "Nord"; Param_A is "3".
class TKontext : public TAuswertungsKontext {
public:
    TWert SpaltenWert(int, int spalte) const override { return spalte == 0 ? TWert::AusZahl(7, true) : TWert::AusText("Nord"); }
    QString ParameterWert(const QString& name) const override { return name == "Param_A" ? "3" : ""; }
    TWert AggregatWert(int) const override { return {}; }
    int SeitenNr() const override { return 2; }
    int SeitenAnzahl() const override { return 5; }
    QDate DruckDatum() const override { return {2026, 12, 9}; }
    QString TitelText() const override { return "Liste"; }
};

QString Text(const QString& ausdruck)
{
    TAusdruckPtr a = AusdruckLesen(ausdruck);
    a->Besuchen([](TAusdruck& k) {
        if (k.art == TAusdruck::Spalte) {
            k.tabelle = 0;
            k.spalte = k.name.endsWith("Zahl") ? 0 : 1;
        }
    });
    return AlsText(Auswerten(*a, TKontext()));
}

}

TEST(AusdruckTest, ArithmeticTextAndConditions)
{
    EXPECT_EQ(Text("1 + 2 * 3"), "7");
    EXPECT_EQ(Text("(1 + 2) * 3 - -1"), "10");
    EXPECT_EQ(Text("7 / 2"), "3,50");
    EXPECT_EQ(Text("1 / 0"), "");   // nothing shown rather than infinity
    EXPECT_EQ(Text("T.Zahl * 2 + 1"), "15");
    EXPECT_EQ(Text("\"Filiale \" + T.Zahl"), "Filiale 7");
    EXPECT_EQ(Text("T.Name & \"-\" & T.Zahl"), "Nord-7");
    EXPECT_EQ(Text("wenn(T.Zahl > 5, \"groß\", \"klein\")"), "groß");
    EXPECT_EQ(Text("wenn(T.Zahl <= 5 oder T.Name = \"Nord\", 1, 0)"), "1");
    EXPECT_EQ(Text("wenn(T.Zahl >= 7 und T.Name <> \"Nord\", 1, 0)"), "0");
    EXPECT_EQ(Text("Param_A * 2"), "6");   // a parameter is text; it counts as a number in arithmetic
    EXPECT_EQ(Text("Param_Unbekannt"), "");
    EXPECT_EQ(Text("\"Seite \" + seite() + \" von \" + seiten()"), "Seite 2 von 5");
    EXPECT_EQ(Text("druckdatum()"), "09.12.2026");
    EXPECT_EQ(Text("titel()"), "Liste");
    // a word operator needs a word boundary: "oderX" is no operator
    EXPECT_THROW(Text("1 oderX 2"), EORVFehler);
}

TEST(AusdruckTest, FaultsNameThePosition)
{
    const auto meldung = [](const QString& a) {
        try {
            AusdruckLesen(a);
        } catch (const EORVFehler& e) {
            return e.Texts().join(" ");
        }
        return QString();
    };
    EXPECT_TRUE(meldung("1 + ").contains("endet zu früh"));
    EXPECT_TRUE(meldung("(1 + 2").contains("„)“ fehlt"));
    EXPECT_TRUE(meldung("\"offen").contains("schließendes"));
    EXPECT_TRUE(meldung("foo(1)").contains("unbekannte Funktion „foo“"));
    EXPECT_TRUE(meldung("wenn(1, 2)").contains("wenn verlangt 3 Argumente"));
    EXPECT_TRUE(meldung("Spalte").contains("weder Spalte noch Parameter"));
    EXPECT_TRUE(meldung("1 ? 2").contains("Stelle 3"));
}

TEST(AusdruckTest, GermanFormatsRoundAmountsAsMoney)
{
    TFormat betrag{TFormat::Betrag};
    EXPECT_EQ(Formatieren(TWert::AusZahl(1234.5), betrag), "1.234,50");
    // half to even, as the money helper: a half cent goes to the even cent
    EXPECT_EQ(Formatieren(TWert::AusZahl(0.005), betrag), "0,00");
    EXPECT_EQ(Formatieren(TWert::AusZahl(0.015), betrag), "0,02");
    EXPECT_EQ(Formatieren(TWert::AusZahl(-2.675), betrag), "-2,68");
    EXPECT_EQ(Formatieren(TWert::AusZahl(0.0125), {TFormat::Zahl, 3}), "0,013") << "other decimals half away from zero";
    EXPECT_EQ(Formatieren(TWert::AusZahl(-1234567.891), betrag), "-1.234.567,89");
    EXPECT_EQ(Formatieren(TWert::AusZahl(12345, true), {TFormat::Ganz}), "12.345");
    EXPECT_EQ(Formatieren(TWert::AusZahl(2.5), {TFormat::Zahl, 3}), "2,500");
    EXPECT_EQ(Formatieren(TWert::AusDatum({2026, 3, 5}), {}), "05.03.2026");
    TFormat ohneNull{TFormat::Ganz, 2, true};
    EXPECT_EQ(Formatieren(TWert::AusZahl(0, true), ohneNull), "");
    EXPECT_EQ(Formatieren(TWert::AusText("  "), ohneNull), "");
    EXPECT_EQ(Formatieren(TWert::AusZahl(-3, true), ohneNull), "-3");
}
