#include "kalmet/druckbefehl.h"

#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/app/layoutspeicher.h"
#include "framework/app/programm.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/iastatus.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/migrations.h"
#include "framework/dbf/crystalsets.h"
#include "framework/report/crystalrdcn.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/reportstart.h"
#include "kalmetmain/reportvorbereiten.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

// A wrong argument: the option and what is wrong with it.
struct TArgumentFehler {
    QString Option;
    QString Text;
};

[[noreturn]] void Falsch(const QString& option, const QString& text)
{
    throw TArgumentFehler{option, text};
}

void Melden(const QString& text)
{
    std::fprintf(stderr, "kalmet print: %s\n", qPrintable(text));
    std::fflush(stderr);
}

TDateTime Datum(const QString& option, const QString& text)
{
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        Falsch(option, QStringLiteral("\"%1\" ist kein Datum der Form JJJJ-MM-TT").arg(text));
    return TDateTime_FromQDate(d);
}

struct TInventur {
    TZeileAnzeige Zeile;
    TZEP_IA_KZZaehlung Status;
};

// The inventories of the fiscal year in the order of the overview.
std::vector<TInventur> Inventuren(TDateTime wiJahr)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        QStringLiteral("kalmet print"),
        QStringLiteral("SELECT zaehldatum, wgn, filiale, kzzaehlung FROM ia WHERE wijahr = ? ORDER BY zaehldatum, wgn, filiale"),
        {TDatumTraits::ToSql(wiJahr).first()});
    std::vector<TInventur> r;
    while (q.next()) {
        const QVariant d = q.value(0);
        const QString wgn = q.value(1).toString();
        const QString kz = q.value(3).toString();
        r.push_back({{DateOf(TDatumTraits::FromSql(&d)), wgn.isEmpty() ? QStringLiteral("*") : wgn, q.value(2).toInt()},
                     Char_2_IA_KZZaehlung(kz.isEmpty() ? QChar() : kz.at(0))});
    }
    return r;
}

// The rows to print: the inventories named by --inventory, or those of status --status.
TZeileAnzeige_Arr Zeilen(const QCommandLineParser& p, TDateTime wiJahr)
{
    const std::vector<TInventur> alle = Inventuren(wiJahr);
    if (alle.empty())
        Falsch(QStringLiteral("--fiscal-year"), QStringLiteral("keine Inventuren im Wirtschaftsjahr ab %1").arg(TDateTime_FormatDatum(wiJahr)));
    TZeileAnzeige_Arr r;
    if (p.isSet(QStringLiteral("status"))) {
        bool zahl;
        const int status = p.value(QStringLiteral("status")).toInt(&zahl);
        if (!zahl || status < 0 || status > 5)
            Falsch(QStringLiteral("--status"), QStringLiteral("\"%1\": ein Status von 0 bis 5").arg(p.value(QStringLiteral("status"))));
        for (const TInventur& i : alle)
            if (i.Status == status)
                r.push_back(i.Zeile);
        if (r.empty())
            Falsch(QStringLiteral("--status"), QStringLiteral("keine Inventur mit Status %1").arg(status));
        return r;
    }
    for (const QString& angabe : p.values(QStringLiteral("inventory"))) {
        const QStringList teile = angabe.split(QLatin1Char(':'));
        if (teile.size() != 3)
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": erwartet JJJJ-MM-TT:WARENGRUPPE:FILIALE").arg(angabe));
        const TDateTime tag = Datum(QStringLiteral("--inventory"), teile[0]);
        const QString wgn = teile[1].isEmpty() ? QStringLiteral("*") : teile[1];
        const int filiale = teile[2].toInt();
        const auto it = std::find_if(alle.begin(), alle.end(), [&](const TInventur& i) {
            return i.Zeile.ZaehlDatum == tag && i.Zeile.WGN == wgn && i.Zeile.Filiale == filiale;
        });
        if (it == alle.end())
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": keine solche Inventur im Wirtschaftsjahr").arg(angabe));
        if (it->Status == iakzStorniert)
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": die Inventur ist storniert").arg(angabe));
        r.push_back(it->Zeile);
    }
    if (r.empty())
        Falsch(QStringLiteral("--inventory"), QStringLiteral("--inventory oder --status angeben"));
    return r;
}

// The layout named by title or report file; of several for one file the default one.
TZEP_SelectedLayout Layout(const QString& name)
{
    const std::vector<TLayoutSatz> alle = TLayoutSpeicher::Lesen(ORVProgramm().Modul(), {QStringLiteral("kalme")});
    const TLayoutSatz* gefunden = nullptr;
    for (const TLayoutSatz& l : alle)
        if (l.Titel == name || (l.Report.compare(name, Qt::CaseInsensitive) == 0 && (!gefunden || l.Standard)))
            gefunden = &l;
    if (!gefunden)
        Falsch(QStringLiteral("--layout"), QStringLiteral("\"%1\": kein solches Layout").arg(name));
    return {gefunden->Report, gefunden->Titel, gefunden->Optionen, gefunden->Parameter};
}

// Moves the finished tables to their names in ziel; a table there before is replaced.
void TabellenAblegen(TDBFFiles_4_Crystal& tabellen, const QString& ziel)
{
    for (const auto& [klasse, name] : {std::pair{"INVL", "invl.dbf"}, {"INVR", "invr.dbf"}, {"INVU", "invue.dbf"}}) {
        const QString von = tabellen.Tabelle(QLatin1String(klasse))->Pfad();
        const QString nach = QDir(ziel).filePath(QLatin1String(name));
        QFile::remove(nach);
        if (!QFile::rename(von, nach))
            FehlerRaise(QStringLiteral("kalmet print"), {QStringLiteral("%1 kann nicht geschrieben werden").arg(nach)});
    }
}

// One file or folder asked for: a report export, or the tables when there is no format.
struct TAusgabe {
    QString Pfad;
    std::optional<TExportFormat> Format;
};

// The outputs asked for, each checked before anything is computed: its folder exists or can
// be made, and it can be written there. The tables come last, after the exports that read them.
std::vector<TAusgabe> Ausgaben(const QCommandLineParser& p)
{
    std::vector<TAusgabe> r;
    for (const auto& [option, format] : {std::pair{"pdf", TExportFormat::Pdf}, {"csv", TExportFormat::Csv}, {"xlsx", TExportFormat::Xlsx}}) {
        if (!p.isSet(QLatin1String(option)))
            continue;
        const QString pfad = p.value(QLatin1String(option));
        const QString name = QStringLiteral("--") + QLatin1String(option);
        const QFileInfo info(pfad);
        if (pfad.isEmpty() || info.isDir())
            Falsch(name, QStringLiteral("\"%1\" ist kein Dateiname").arg(pfad));
        if (!QDir().mkpath(info.absolutePath()) || !QFileInfo(info.absolutePath()).isWritable())
            Falsch(name, QStringLiteral("in %1 kann nicht geschrieben werden").arg(info.absolutePath()));
        r.push_back({pfad, format});
    }
    if (p.isSet(QStringLiteral("tables"))) {
        const QString ziel = p.value(QStringLiteral("tables"));
        if (!QDir().mkpath(ziel) || !QFileInfo(ziel).isWritable())
            Falsch(QStringLiteral("--tables"), QStringLiteral("in %1 kann nicht geschrieben werden").arg(ziel));
        r.push_back({ziel, std::nullopt});
    }
    if (r.empty())
        Falsch(QStringLiteral("--pdf"), QStringLiteral("es ist keine Ausgabe verlangt (--pdf, --csv, --xlsx oder --tables)"));
    return r;
}

int Ausfuehren(const QCommandLineParser& p)
{
    for (const char* o : {"fiscal-year", "layout"})
        if (!p.isSet(QLatin1String(o)))
            Falsch(QStringLiteral("--") + QLatin1String(o), QStringLiteral("fehlt"));
    const std::vector<TAusgabe> ausgaben = Ausgaben(p);
    if (p.isSet(QStringLiteral("inventory")) == p.isSet(QStringLiteral("status")))
        Falsch(QStringLiteral("--inventory"), QStringLiteral("entweder --inventory oder --status angeben"));
    const TDateTime wiJahr = Datum(QStringLiteral("--fiscal-year"), p.value(QStringLiteral("fiscal-year")));

    try {
        TZEP_Connection::Configure(DbUrlChoose(p.value(QStringLiteral("db"))));
        MigrationenAusfuehren(TZEP_Connection::Database());
    } catch (const std::exception& e) {
        Melden(QStringLiteral("die Datenbank kann nicht geöffnet werden: %1").arg(QString::fromUtf8(e.what())));
        return 3;
    }
    try {
        ORVProgramm().SetBenutzer(ProgrammBenutzerBestimmen(p.value(QStringLiteral("user"))));
    } catch (const std::exception& e) {
        Falsch(QStringLiteral("--user"), QString::fromUtf8(e.what()));
    }
    ORVProgramm().Init(QStringLiteral("KALMET"), 3, 0, 0, true);
    if (!UserRechtePruefen(QStringLiteral("pz{"), 2, QString(), 1, false, 0))
        Falsch(QStringLiteral("--user"), QStringLiteral("\"%1\" darf die Inventurauswertung nicht benutzen").arg(ORVProgramm().Benutzer()));

    const TZeileAnzeige_Arr zeilen = Zeilen(p, wiJahr);
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

    const QString ziel = p.value(QStringLiteral("tables"));
    // the tables are written beside their place and take their names only when complete
    QTemporaryDir arbeit(ziel.isEmpty() ? QDir::tempPath() + QStringLiteral("/kalmet-XXXXXX") : QDir(ziel).filePath(QStringLiteral(".kalmet-XXXXXX")));
    if (!arbeit.isValid())
        Falsch(QStringLiteral("--tables"), QStringLiteral("in %1 kann nicht geschrieben werden").arg(ziel.isEmpty() ? QDir::tempPath() : ziel));
    int artikel = 0;
    const bool fertig = TInventurlisteBau(liste, c, auswertung).Ausfuehren(arbeit.path(), [&](const QString& artNr) {
        if (++artikel % 1000 == 0)
            Melden(QStringLiteral("%1 Artikel berechnet (zuletzt %2)").arg(artikel).arg(artNr));
    });
    if (!fertig) {
        Melden(QStringLiteral("die Liste konnte nicht vollständig erstellt werden; es wurde nichts abgelegt"));
        return 1;
    }
    Melden(QStringLiteral("%1 Artikel berechnet").arg(artikel));
    // the report as F10 starts it, written to files instead of shown
    TCrystalRDCn crystal;
    ReportVorbereiten(crystal, ReportStartBilden(liste, filiale, liste.RR(), auswertung), liste.CrystalSets(), -1);
    for (const TAusgabe& a : ausgaben) {
        if (a.Format)
            crystal.Export(a.Pfad, *a.Format, [&](qint64 erledigt, qint64 gesamt) {
                if (erledigt % 100 == 0)
                    Melden(QStringLiteral("%1: %2 von %3").arg(QFileInfo(a.Pfad).fileName()).arg(erledigt).arg(gesamt));
                return true;
            });
        else
            TabellenAblegen(liste.CrystalSets(), ziel);
        Melden(QStringLiteral("geschrieben: %1").arg(QFileInfo(a.Pfad).absoluteFilePath()));
    }
    return 0;
}

}

int DruckBefehl(const QStringList& args)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Inventurliste ohne Fenster: Report als PDF, CSV oder XLSX und die Drucktabellen"));
    p.addHelpOption();
    const auto wert = [&](const char* name, const char* text, const char* platz) {
        p.addOption(QCommandLineOption(QLatin1String(name), QString::fromUtf8(text), QLatin1String(platz)));
    };
    wert("db", "Datenbank: sqlite:/pfad/datei.db oder postgresql://user@host/db", "url");
    wert("user", "Benutzer (auf einer SQLite-Datei)", "name");
    wert("fiscal-year", "Beginn des Wirtschaftsjahres", "JJJJ-MM-TT");
    wert("inventory", "eine Inventur: Zähldatum, Warengruppe (* für alle) und Filiale; mehrfach", "JJJJ-MM-TT:WG:FIL");
    wert("status", "alle Inventuren dieses Status (0 bis 5)", "N");
    wert("group", "Warengruppe der Auswahl (Anfang des Textes)", "text");
    wert("branch", "Filiale der Auswahl", "N");
    wert("layout", "Drucklayout: Titel oder Reportdatei", "name");
    wert("evaluation-date", "Rückrechnung: year-end oder ein Datum vor dem Zähldatum", "datum");
    wert("tables", "Ordner für invl.dbf, invr.dbf und invue.dbf", "ordner");
    wert("pdf", "PDF-Datei des Reports", "pfad");
    wert("csv", "CSV-Datei der Liste", "pfad");
    wert("xlsx", "XLSX-Datei der Liste", "pfad");
    if (!p.parse(args)) {
        Melden(p.errorText());
        return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(p.helpText()));
        return 0;
    }
    if (!p.positionalArguments().isEmpty()) {
        Melden(QStringLiteral("unbekanntes Argument \"%1\"").arg(p.positionalArguments().first()));
        return 2;
    }
    try {
        return Ausfuehren(p);
    } catch (const TArgumentFehler& f) {
        Melden(QStringLiteral("%1: %2").arg(f.Option, f.Text));
        return 2;
    } catch (const std::exception& e) {
        Melden(QString::fromUtf8(e.what()));
        return 1;
    }
}
