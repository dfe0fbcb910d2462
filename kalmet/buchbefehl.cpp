#include "kalmet/buchbefehl.h"

#include "buchung/inventurbuchung.h"
#include "framework/app/interaktion.h"
#include "framework/app/programm.h"
#include "framework/article/artikeltools.h"
#include "framework/article/iazugriff.h"
#include "framework/article/wgnmani.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "kalmet/befehl.h"
#include "kalmet/listeausgabe.h"


#include <cstdio>

namespace {

// The questions of the booking answered by --yes; without it the first question is answered
// No and remembered, which ends the run. Messages go to standard error.
class TBefehlInteraktion : public IORVInteraktion {
public:
    explicit TBefehlInteraktion(bool ja) : FJa(ja) { ORVInteraktionSetzen(this); }
    ~TBefehlInteraktion() override { ORVInteraktionSetzen(nullptr); }

    int Meldung(int art, const QString&, const QString& text, QObject*) override
    {
        if (art != maFrageJaNein) {
            Melden(text);
            return maOK;
        }
        if (FJa) {
            Melden(text + QStringLiteral(" – Ja (--yes)"));
            return maJa;
        }
        if (FOffeneFrage.isEmpty())
            FOffeneFrage = text;
        return maNein;
    }
    bool Frage(const QString&, const QString&, const std::vector<TFrageDlg_Antwort>&, int&, QObject*) override { return false; }
    void Versionsinfo(const QString&, const QString&, QObject*) override {}

    const QString& OffeneFrage() const { return FOffeneFrage; }

private:
    bool FJa;
    QString FOffeneFrage;
};

// The inventories of the rows that are not booked (closed) now.
QStringList NichtAbgeschlossen(const std::vector<TInventur>& inventuren)
{
    QStringList offen;
    for (const TInventur& i : inventuren) {
        const TIAStand jetzt = IA_Lesen(i.Zeile.ZaehlDatum, i.Zeile.WGN, i.Zeile.Filiale);
        if (!jetzt.Gefunden || jetzt.Status != iakzGebucht)
            offen << QStringLiteral("%1:%2:%3").arg(TDateTime_ToQDate(i.Zeile.ZaehlDatum).toString(QStringLiteral("yyyy-MM-dd")), i.Zeile.WGN)
                         .arg(i.Zeile.Filiale);
    }
    return offen;
}

int Ausfuehren(const QCommandLineParser& p)
{
    if (!p.isSet(QStringLiteral("fiscal-year")))
        Falsch(QStringLiteral("--fiscal-year"), QStringLiteral("fehlt"));
    const std::vector<TAusgabe> ausgaben = Ausgaben(p, false);
    if (p.isSet(QStringLiteral("layout")) != !ausgaben.empty())
        Falsch(QStringLiteral("--layout"), QStringLiteral("--layout und --pdf gehören zusammen"));
    const TDateTime wiJahr = Datum(QStringLiteral("--fiscal-year"), p.value(QStringLiteral("fiscal-year")));
    // the program itself (pz{) and the booking (pz|)
    if (!Anmelden(p, QStringLiteral("pz{"), QStringLiteral("die Inventurauswertung nicht benutzen")))
        return 3;
    RechtVerlangen(QStringLiteral("pz|"), QStringLiteral("Inventuren nicht buchen"));
    const std::vector<TInventur> inventuren = Inventuren(p, wiJahr);
    const TZEP_SelectedLayout layout = p.isSet(QStringLiteral("layout")) ? Layout(p.value(QStringLiteral("layout"))) : TZEP_SelectedLayout{};

    std::vector<TBuchungsZeile> geprueft;
    for (const TInventur& i : inventuren)
        geprueft.push_back({i.Zeile, i.SollEK, i.IstEK, i.Status});
    TBefehlInteraktion interaktion(p.isSet(QStringLiteral("yes")));
    TWGNMani wgn;
    int artikel = 0;
    TBuchungsUmgebung u;
    u.TestWG = [&wgn](const TInt32Trio& id, const QString& muster) {
        return ArtikelImWGNMuster(wgn, id, muster, QStringLiteral("kalmet book"));
    };
    u.Artikel = [&artikel](const QString& artNr, bool) {
        if (++artikel % 100 == 0)
            Melden(QStringLiteral("%1 Artikel gebucht (zuletzt %2)").arg(artikel).arg(artNr));
    };
    u.Status = [](const TZeileAnzeige& z, TZEP_IA_KZZaehlung status) {
        Melden(QStringLiteral("Inventur %1 %2 Filiale %3: %4")
                   .arg(TDateTime_FormatDatum(z.ZaehlDatum), z.WGN)
                   .arg(z.Filiale)
                   .arg(CZEP_IA_KZZaehlung_2_String[status]));
    };
    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    std::vector<TZEP_clMeldung> gesperrt;
    const bool gebucht = TInventurBuchung(liste, wiJahr, u).InvBuchen(geprueft, Zeilen(inventuren), gesperrt);
    if (!interaktion.OffeneFrage().isEmpty()) {
        Melden(QStringLiteral("Frage ohne Antwort (mit --yes beantworten): %1").arg(interaktion.OffeneFrage()));
        return 4;
    }
    if (!gesperrt.empty()) {
        for (const TZEP_clMeldung& m : gesperrt)
            std::printf("%s\tgesperrt seit %s\t%s\t%s\t%s\t%d\n", qPrintable(m.Artikel),
                        qPrintable(TDateTime_ToQDateTime(m.SperrZeit).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))),
                        qPrintable(m.Programm), qPrintable(m.Terminal), qPrintable(m.TerminalNr), m.ProzessId);
        std::fflush(stdout);
        Melden(QStringLiteral("%1 Artikel waren gesperrt; die Inventuren bleiben offen. Nach ihrer Freigabe erneut buchen.").arg(gesperrt.size()));
        return 5;
    }
    const QStringList offen = NichtAbgeschlossen(inventuren);
    if (!gebucht || !offen.isEmpty()) {
        if (!offen.isEmpty())
            Melden(QStringLiteral("nicht abgeschlossen: %1").arg(offen.join(QStringLiteral(", "))));
        return 1;
    }
    Melden(QStringLiteral("%1 Inventuren abgeschlossen").arg(inventuren.size()));
    if (ausgaben.empty())
        return 0;
    // the list as the window prints it after a booking: all groups, all branches
    liste.SelectedLayouts().push_back(std::make_unique<TZEP_SelectedLayout>(layout));
    const TDruckConfig c = TInventurlisteBau::Anfrage(liste, Zeilen(inventuren), QString(), 0, TLayOutParams{}, wiJahr);
    return ListeAusgeben(liste, c, 0, 0, ausgaben);
}

}

int BuchBefehl(const QStringList& args)
{
    return BefehlAusfuehren(
        QStringLiteral("kalmet book"), QStringLiteral("Inventuren ohne Fenster buchen und abschließen"), args,
        [](QCommandLineParser& p) {
            WertOption(p, "layout", "danach die Liste mit diesem Drucklayout (Titel oder Reportdatei)", "name");
            WertOption(p, "pdf", "PDF-Datei der Liste", "pfad");
            p.addOption(QCommandLineOption(QStringLiteral("yes"), QStringLiteral("alle Fragen mit Ja beantworten")));
        },
        Ausfuehren);
}
