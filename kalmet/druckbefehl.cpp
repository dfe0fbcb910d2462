#include "kalmet/druckbefehl.h"

#include "framework/article/filialtabelle.h"
#include "framework/core/uhr.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "kalmet/befehl.h"
#include "kalmet/listeausgabe.h"

namespace {

int Ausfuehren(const QCommandLineParser& p)
{
    for (const char* o : {"fiscal-year", "layout"})
        if (!p.isSet(QLatin1String(o)))
            Falsch(QStringLiteral("--") + QLatin1String(o), QStringLiteral("fehlt"));
    const std::vector<TAusgabe> ausgaben = Ausgaben(p, true);
    const TDateTime wiJahr = Datum(QStringLiteral("--fiscal-year"), p.value(QStringLiteral("fiscal-year")));
    if (!Anmelden(p, QStringLiteral("pz{"), QStringLiteral("die Inventurauswertung nicht benutzen")))
        return 3;

    const TZeileAnzeige_Arr zeilen = Zeilen(Inventuren(p, wiJahr));
    const QString wgn = p.value(QStringLiteral("group"));
    int32_t filiale = 0;
    if (p.isSet(QStringLiteral("branch"))) {
        bool zahl;
        filiale = p.value(QStringLiteral("branch")).toInt(&zahl);
        if (!zahl || !GlobFilialTabelle_GetInstance()->Filialen().count(filiale))
            Falsch(QStringLiteral("--branch"), QStringLiteral("\"%1\": keine solche Filiale").arg(p.value(QStringLiteral("branch"))));
    }

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
            WertOption(p, "group", "Warengruppe der Auswahl (Anfang des Textes)", "text");
            WertOption(p, "branch", "Filiale der Auswahl", "N");
            WertOption(p, "layout", "Drucklayout: Titel oder Reportdatei", "name");
            WertOption(p, "evaluation-date", "Rückrechnung: year-end oder ein Datum vor dem Zähldatum", "datum");
            WertOption(p, "tables", "Ordner für invl.dbf, invr.dbf und invue.dbf", "ordner");
            WertOption(p, "pdf", "PDF-Datei des Reports", "pfad");
            WertOption(p, "csv", "CSV-Datei der Liste", "pfad");
            WertOption(p, "xlsx", "XLSX-Datei der Liste", "pfad");
        },
        Ausfuehren);
}
