// The booking's checks of articles nobody counted and of the approval of large differences, on
// the test chain: the figures asked about against the raw tables, a refusal that changes
// nothing, and the booking once answered.
#include "buchung/freigabe.h"
#include "buchung/inventurbuchung.h"
#include "framework/app/programm.h"
#include "framework/article/iazugriff.h"
#include "framework/core/uhr.h"
#include "inventurliste/inventurliste.h"
#include "tests/buchung/kettenliste.h"
#include "tests/support/buchungskette.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

using namespace Kette;

namespace {

class PruefungenTest : public KettenListeTest {
protected:
    // An open inventory with articles nobody counted.
    TKettenInventur MitUngezaehlten()
    {
        for (const TKettenInventur& i : OffeneInventuren())
            if (!i.Lagerfiliale && !Ungezaehlt(i.Zeile).empty())
                return i;
        ADD_FAILURE() << "the chain has no inventory with articles nobody counted";
        return {};
    }

    // Books as the window does: the question about articles nobody counted asked by script.
    bool Buchen(const TKettenInventur& i)
    {
        TBuchungsUmgebung u;
        u.Ungezaehlt = [](const TUngezaehlte& x) { return UngezaehltFragen(x, nullptr); };
        std::vector<TZEP_clMeldung> meldungen;
        const QString kz = Status(i.Zeile);
        return TInventurBuchung(*FListe, EncodeDate(2026, 2, 1), u)
            .InvBuchen({{i.Zeile, i.SollEK, i.IstEK, Char_2_IA_KZZaehlung(kz.isEmpty() ? QChar() : kz.at(0))}}, {i.Zeile}, meldungen);
    }

    static inline const QStringList CGebucht{"bne", "bestand", "lsn", "fvk", "iv", "ia", "artsperre"};
    TSkriptInteraktion FInteraktion;
};

}

TEST_F(PruefungenTest, ArticlesNobodyCountedAreAskedAboutWithTheirFiguresAndBookedToZeroOnlyOnYes)
{
    const TKettenInventur inv = MitUngezaehlten();
    const std::map<QString, qint64> roh = Ungezaehlt(inv.Zeile);
    const TUngezaehlte u = UngezaehlteLesen(*FListe, EncodeDate(2026, 2, 1), {inv.Zeile});
    ASSERT_EQ(u.size(), 1u);
    std::map<QString, qint64> gelesen;
    for (const TUngezaehlteInventur::TArtikel& a : u[0].Artikel) {
        gelesen[a.Produkt_ID.ToText()] = a.Stueck;
        EXPECT_GT(a.SollEK, 0) << qPrintable(a.ArtNr);
    }
    EXPECT_EQ(gelesen, roh) << "exactly the articles of the raw tables, with their target";

    // the list saved, then No: nothing booked
    const QStringList vorher = Abbild(CGebucht);
    QTemporaryDir ordner;
    FInteraktion.Datei = ordner.filePath("ungezaehlt.csv");
    FInteraktion.FrageAntworten = {100, maNein};
    EXPECT_FALSE(Buchen(inv));
    EXPECT_EQ(Abbild(CGebucht), vorher);
    std::vector<TSkriptInteraktion::TGezeigt> fragen;
    std::copy_if(FInteraktion.Gezeigt.begin(), FInteraktion.Gezeigt.end(), std::back_inserter(fragen),
                 [](const TSkriptInteraktion::TGezeigt& g) { return g.Art == -1; });
    ASSERT_EQ(fragen.size(), 2u) << "asked once, and again after saving";
    const QString text = fragen[0].Text;
    EXPECT_TRUE(text.contains(QString("%1: Artikel mit Sollbestand wurden nicht gezählt; beim Buchen wird ihr Bestand auf 0 gesetzt – %2 Artikel, %3 Stück")
                                  .arg(IA_Name(inv.Zeile.ZaehlDatum, inv.Zeile.WGN, inv.Zeile.Filiale))
                                  .arg(roh.size())
                                  .arg(u[0].Stueck())))
        << qPrintable(text);
    QFile csv(FInteraktion.Datei);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readAll()).trimmed().split("\r\n").size(), static_cast<int>(roh.size()) + 1) << "a header and one line each";

    // Yes: booked to 0, as the count says nothing of them
    FInteraktion.FrageAntworten = {maJa};
    EXPECT_TRUE(Buchen(inv));
    EXPECT_EQ(Status(inv.Zeile), "5");
    EXPECT_TRUE(Ungezaehlt(inv.Zeile).empty());
    EXPECT_EQ(AbweichendVomZaehlbestand(inv.Zeile), QStringList());
    EXPECT_EQ(IA_LesenMitUngezaehlten({inv.Zeile.ZaehlDatum, inv.Zeile.WGN, inv.Zeile.Filiale}).Ungezaehlt, 0);
}

TEST_F(PruefungenTest, ADifferenceBeyondTheLimitIsBookedOnlyWithTheRightToApprove)
{
    TKettenInventur inv;
    for (const TKettenInventur& i : OffeneInventuren())
        if (!i.Lagerfiliale && Ungezaehlt(i.Zeile).empty() && std::abs(i.IstEK - i.SollEK) > 1)
            inv = i;
    ASSERT_FALSE(inv.Zeile.WGN.isEmpty());
    const double differenz = std::abs(inv.IstEK - inv.SollEK);
    // at the difference: no approval needed; just below it: needed
    ORVProgramm().SetBenutzer("filialleitung");
    Sql(QString("UPDATE parameter SET wert = '%1' WHERE name = 'FREIGABE_AB_EK'").arg(QString::number(differenz, 'f', 2)));
    const std::vector<TBuchungsZeile> zeile{{inv.Zeile, inv.SollEK, inv.IstEK, iakzFreigegeben}};
    EXPECT_TRUE(FreigabeFehlt(zeile).isEmpty()) << "a difference at the limit needs no approval";
    Sql(QString("UPDATE parameter SET wert = '%1' WHERE name = 'FREIGABE_AB_EK'").arg(QString::number(differenz - 0.01, 'f', 2).replace('.', ',')));

    EXPECT_FALSE(FreigabeFehlt(zeile).isEmpty());
    const QStringList vorher = Abbild(CGebucht);
    EXPECT_FALSE(Buchen(inv));
    EXPECT_EQ(Abbild(CGebucht), vorher) << "refused before anything is booked";
    ASSERT_FALSE(FInteraktion.Gezeigt.empty());
    const QString text = FInteraktion.Gezeigt.back().Text;
    EXPECT_TRUE(text.contains("\"pzf\"") && text.contains("Freigabe") && text.contains(QLocale(QLocale::German).toString(differenz, 'f', 2)))
        << qPrintable(text);

    ORVProgramm().SetBenutzer("demo");
    EXPECT_TRUE(Buchen(inv));
    EXPECT_EQ(Status(inv.Zeile), "5");
}
