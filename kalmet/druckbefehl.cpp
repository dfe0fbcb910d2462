#include "kalmet/druckbefehl.h"

#include "framework/core/uhr.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "kalmet/befehl.h"
#include "kalmet/listeausgabe.h"

namespace {

int Ausfuehren(const QCommandLineParser& p)
{
    const TDateTime wiJahr = WiJahr(p);
    if (!p.isSet(QStringLiteral("layout")))
        Falsch(QStringLiteral("--layout"), QStringLiteral("fehlt"));
    const std::vector<TAusgabe> ausgaben = Ausgaben(p, true);
    if (!Anmelden(p))
        return 3;

    const TZeileAnzeige_Arr zeilen = Zeilen(Inventuren(p, wiJahr));
    const auto [wgn, filiale] = Auswahl(p);

    TInventurliste liste(TInventurlisteOptionen::AusParametern());
    liste.SelectedLayouts().push_back(std::make_unique<TZEP_SelectedLayout>(Layout(p.value(QStringLiteral("layout")))));
    TLayOutParams params;
    liste.ReadLayOutParams(params);
    TDruckConfig c = TInventurlisteBau::Anfrage(liste, zeilen, wgn, filiale, params, wiJahr);
    if (GetWGNs(c.Zeilen, c.FilGegAufrechnen, wgn, filiale).empty())
        Falsch(QStringLiteral("--group"), QStringLiteral("keine der Inventuren liegt in der Auswahl (Warengruppe \"%1\", Filiale %2)").arg(wgn).arg(filiale));

    // the evaluation date as the print-options dialog would take it: the end of the fiscal
    // year only when the count date lies after it, another date not after the count date
    TDateTime auswertung = 0;
    if (p.isSet(QStringLiteral("evaluation-date"))) {
        const QString wert = p.value(QStringLiteral("evaluation-date"));
        const TDateTime zaehl = zeilen.front().ZaehlDatum;
        auswertung = wert == QLatin1String("year-end") ? WiJahrEnde(wiJahr) : Datum(QStringLiteral("--evaluation-date"), wert);
        if (wert == QLatin1String("year-end") && auswertung >= zaehl)
            Falsch(QStringLiteral("--evaluation-date"), QStringLiteral("das Zähldatum %1 liegt nicht nach dem Ende des Wirtschaftsjahres %2")
                                                            .arg(TDateTime_FormatDatum(zaehl), TDateTime_FormatDatum(auswertung)));
        if (auswertung > zaehl)
            Falsch(QStringLiteral("--evaluation-date"), QStringLiteral("%1 liegt nach dem Zähldatum %2")
                                                            .arg(TDateTime_FormatDatum(auswertung), TDateTime_FormatDatum(zaehl)));
        c.Rechnen = true;
    }
    return ListeAusgeben(liste, c, auswertung, filiale, ausgaben);
}

}

int DruckBefehl(const QStringList& args)
{
    return BefehlAusfuehren(
        QStringLiteral("kalmet print"), QStringLiteral("Inventurliste ohne Fenster: Report als PDF, CSV oder XLSX und die Drucktabellen"), args,
        [](QCommandLineParser& p) {
            AuswahlOptionen(p);
            WertOption(p, "layout", "Drucklayout: Titel oder Reportdatei", "name");
            WertOption(p, "evaluation-date", "Rückrechnung: year-end oder ein Datum vor dem Zähldatum", "datum");
            WertOption(p, "tables", "Ordner für invl.dbf, invr.dbf und invue.dbf", "ordner");
            WertOption(p, "pdf", "PDF-Datei des Reports", "pfad");
            WertOption(p, "csv", "CSV-Datei der Liste", "pfad");
            WertOption(p, "xlsx", "XLSX-Datei der Liste", "pfad");
        },
        Ausfuehren);
}
