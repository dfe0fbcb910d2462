#include "kalmet/soll2istbefehl.h"

#include "framework/app/dialoge.h"
#include "framework/article/iazugriff.h"
#include "framework/stock/invmani.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/soll2ist.h"
#include "kalmet/befehl.h"

namespace {

QString Name(const TZeileAnzeige& z)
{
    return IA_Name(z.ZaehlDatum, z.WGN, z.Filiale);
}

int Uebernehmen(const QCommandLineParser& p)
{
    const TDateTime wiJahr = WiJahr(p);
    if (!Anmelden(p))
        return 3;
    TBefehlInteraktion interaktion(p);
    // the window's checks and questions, in its order; the selection dialog's answers are options
    if (!UserRechtePruefen(QStringLiteral("psv"), 2, QString(), 1, false, 0))
        return 1;
    const TZeileAnzeige_Arr zeilen = Zeilen(Inventuren(p, wiJahr));
    const TAuswahl auswahl = Auswahl(p);
    if (!Soll2IstZaehlungenVerwerfen(nullptr) || !Soll2IstDurchfuehren(nullptr))
        return interaktion.OffeneFrageMelden() ? 4 : 1;

    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    TInvMani& mani = liste.InvMani();
    int artikel = 0;
    mani.OnSoll2Ist4ArtikelNr = [&artikel](const TInt32Trio& id) {
        if (++artikel % 100 == 0)
            Melden(QStringLiteral("%1 Artikel übernommen (zuletzt %2)").arg(artikel).arg(id.ToText()));
    };
    const int uebernommen = Soll2IstUebernehmen(mani, zeilen, auswahl.WGN, static_cast<int16_t>(auswahl.Filiale),
                                                [](const TZeileAnzeige& z, int n) {
                                                    Melden(QStringLiteral("Inventur %1: %2 Artikel übernommen").arg(Name(z)).arg(n));
                                                });
    if (uebernommen == 0) {
        Melden(Soll2IstNichtsUebernommen(auswahl.WGN, auswahl.Filiale));
        return 1;
    }
    return 0;
}

int Zuruecksetzen(const QCommandLineParser& p)
{
    const TDateTime wiJahr = WiJahr(p);
    if (!Anmelden(p))
        return 3;
    int rc = 0;
    for (const TZeileAnzeige& z : Zeilen(Inventuren(p, wiJahr))) {
        if (KennzeichenZuruecksetzen(z)) {
            Melden(QStringLiteral("Inventur %1: %2").arg(Name(z), CZEP_IA_KZZaehlung_2_String[iakzFreigegeben]));
            continue;
        }
        // left as it is: its status now, or that another terminal removed it
        const TIAStand jetzt = IA_Lesen(z.ZaehlDatum, z.WGN, z.Filiale);
        if (jetzt.Gefunden) {
            Melden(QStringLiteral("Inventur %1: bleibt %2").arg(Name(z), CZEP_IA_KZZaehlung_2_String[jetzt.Status]));
            continue;
        }
        Melden(QStringLiteral("Inventur %1: gibt es nicht mehr").arg(Name(z)));
        rc = 1;
    }
    return rc;
}

}

int UebernahmeBefehl(const QStringList& args)
{
    return BefehlAusfuehren(
        QStringLiteral("kalmet takeover"), QStringLiteral("Soll=Ist: den Sollbestand als Zählung der Inventuren übernehmen"), args,
        [](QCommandLineParser& p) {
            AuswahlOptionen(p);
            JaOption(p);
        },
        Uebernehmen);
}

int ZuruecksetzBefehl(const QStringList& args)
{
    return BefehlAusfuehren(
        QStringLiteral("kalmet reset"), QStringLiteral("den Status der Inventuren auf \"Zur Buchung frei\" zurücksetzen"), args,
        [](QCommandLineParser&) {}, Zuruecksetzen);
}
