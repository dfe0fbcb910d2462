#include "kalmet/buchbefehl.h"

#include "buchung/freigabe.h"
#include "buchung/inventurbuchung.h"
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
    const TDateTime wiJahr = WiJahr(p);
    const std::vector<TAusgabe> ausgaben = Ausgaben(p, false);
    if (p.isSet(QStringLiteral("layout")) != !ausgaben.empty())
        Falsch(QStringLiteral("--layout"), QStringLiteral("--layout und --pdf gehören zusammen"));
    // the program itself (pz{) and the booking (pz|)
    if (!Anmelden(p))
        return 3;
    RechtVerlangen(QStringLiteral("pz|"), QStringLiteral("Inventuren nicht buchen"));
    const std::vector<TInventur> inventuren = Inventuren(p, wiJahr);
    const TZEP_SelectedLayout layout = p.isSet(QStringLiteral("layout")) ? Layout(p.value(QStringLiteral("layout"))) : TZEP_SelectedLayout{};

    std::vector<TBuchungsZeile> geprueft;
    for (const TInventur& i : inventuren)
        geprueft.push_back({i.Zeile, i.SollEK, i.IstEK, i.Status});
    // a difference that needs approval is the user's to book, as a right is
    if (const QStringList fehlt = FreigabeFehlt(geprueft); !fehlt.isEmpty())
        Falsch(QStringLiteral("--user"), FreigabeText(fehlt));
    TBefehlInteraktion interaktion(p);
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
    // --yes does not answer this: writing off what nobody counted is asked for by name
    const bool ungezaehltAlsNull = p.isSet(QStringLiteral("uncounted-as-zero"));
    u.Ungezaehlt = [ungezaehltAlsNull](const TUngezaehlte& ungezaehlt) {
        for (const QString& zeile : UngezaehltZeilen(ungezaehlt))
            Melden(zeile);
        Melden(ungezaehltAlsNull ? QStringLiteral("--uncounted-as-zero: ihr Bestand wird auf 0 gebucht")
                                 : QStringLiteral("Die Buchung wird nicht ausgeführt; mit --uncounted-as-zero wird ihr Bestand auf 0 gebucht."));
        return ungezaehltAlsNull;
    };
    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    std::vector<TZEP_clMeldung> gesperrt;
    const bool gebucht = TInventurBuchung(liste, wiJahr, u).InvBuchen(geprueft, Zeilen(inventuren), gesperrt);
    if (interaktion.OffeneFrageMelden())
        return 4;
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
            JaOption(p);
            p.addOption(QCommandLineOption(QStringLiteral("uncounted-as-zero"),
                                           QStringLiteral("Artikel mit Sollbestand, die nicht gezählt wurden, mit Bestand 0 buchen")));
        },
        Ausfuehren);
}
