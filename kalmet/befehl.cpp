#include "kalmet/befehl.h"

#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/app/layoutspeicher.h"
#include "framework/app/programm.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/core/geheimnis.h"
#include "framework/db/connection.h"
#include "framework/db/migrations.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

QString GBefehl = QStringLiteral("kalmet");

}

[[noreturn]] void Falsch(const QString& option, const QString& text)
{
    throw TArgumentFehler{option, text};
}

void Melden(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(GBefehl), qPrintable(OhneGeheimnisse(text)));
    std::fflush(stderr);
}

TDateTime Datum(const QString& option, const QString& text)
{
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        Falsch(option, QStringLiteral("\"%1\" ist kein Datum der Form JJJJ-MM-TT").arg(text));
    return TDateTime_FromQDate(d);
}

std::vector<TInventur> Inventuren(const QCommandLineParser& p, TDateTime wiJahr)
{
    if (p.isSet(QStringLiteral("inventory")) == p.isSet(QStringLiteral("status")))
        Falsch(QStringLiteral("--inventory"), QStringLiteral("entweder --inventory oder --status angeben"));
    std::vector<TInventur> alle;
    for (const TIAInventur& i : IA_Liste(wiJahr))
        alle.push_back({{DateOf(i.Schluessel.ZaehlDatum), i.Schluessel.WGN, i.Schluessel.Filiale}, i.Stand.Status, i.Stand.SollEK,
                        i.Stand.IstEK});
    if (alle.empty())
        Falsch(QStringLiteral("--fiscal-year"), QStringLiteral("keine Inventuren im Wirtschaftsjahr ab %1").arg(TDateTime_FormatDatum(wiJahr)));
    std::vector<TInventur> r;
    if (p.isSet(QStringLiteral("status"))) {
        bool zahl;
        const int status = p.value(QStringLiteral("status")).toInt(&zahl);
        if (!zahl || status < 0 || status > 6)
            Falsch(QStringLiteral("--status"), QStringLiteral("\"%1\": ein Status von 0 bis 6").arg(p.value(QStringLiteral("status"))));
        for (const TInventur& i : alle)
            if (i.Status == status)
                r.push_back(i);
        if (r.empty())
            Falsch(QStringLiteral("--status"), QStringLiteral("keine Inventur mit Status %1").arg(status));
        return r;
    }
    for (const QString& angabe : p.values(QStringLiteral("inventory"))) {
        const QStringList teile = angabe.split(QLatin1Char(':'));
        if (teile.size() != 3)
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": erwartet JJJJ-MM-TT:WARENGRUPPE:FILIALE").arg(angabe));
        const TDateTime tag = Datum(QStringLiteral("--inventory"), teile[0]);
        const QString wgn = IA_WGNAngezeigt(teile[1]);
        const int filiale = teile[2].toInt();
        const TIASchluessel gesucht{tag, wgn, filiale};
        const auto it = std::find_if(alle.begin(), alle.end(), [&](const TInventur& i) {
            return TIASchluessel{i.Zeile.ZaehlDatum, i.Zeile.WGN, i.Zeile.Filiale} == gesucht;
        });
        if (it == alle.end())
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": keine solche Inventur im Wirtschaftsjahr").arg(angabe));
        if (it->Status == iakzStorniert)
            Falsch(QStringLiteral("--inventory"), QStringLiteral("\"%1\": die Inventur ist storniert").arg(angabe));
        r.push_back(*it);
    }
    return r;
}

TZeileAnzeige_Arr Zeilen(const std::vector<TInventur>& inventuren)
{
    TZeileAnzeige_Arr r;
    for (const TInventur& i : inventuren)
        if (i.Status != iakzStorniert)
            r.push_back(i.Zeile);
    return r;
}

void AuswahlOptionen(QCommandLineParser& p)
{
    WertOption(p, "group", "Warengruppe der Auswahl (Anfang des Textes)", "text");
    WertOption(p, "branch", "Filiale der Auswahl", "N");
}

TAuswahl Auswahl(const QCommandLineParser& p)
{
    TAuswahl a{p.value(QStringLiteral("group")), 0};
    if (p.isSet(QStringLiteral("branch"))) {
        bool zahl;
        a.Filiale = p.value(QStringLiteral("branch")).toInt(&zahl);
        if (!zahl || !GlobFilialTabelle_GetInstance()->Filialen().count(a.Filiale))
            Falsch(QStringLiteral("--branch"), QStringLiteral("\"%1\": keine solche Filiale").arg(p.value(QStringLiteral("branch"))));
    }
    return a;
}

void JaOption(QCommandLineParser& p)
{
    p.addOption(QCommandLineOption(QStringLiteral("yes"), QStringLiteral("alle Fragen mit Ja beantworten")));
}

TBefehlInteraktion::TBefehlInteraktion(const QCommandLineParser& p) : FJa(p.isSet(QStringLiteral("yes")))
{
    ORVInteraktionSetzen(this);
}

TBefehlInteraktion::~TBefehlInteraktion()
{
    ORVInteraktionSetzen(nullptr);
}

int TBefehlInteraktion::Meldung(int art, const QString&, const QString& text, QObject*)
{
    if (art != maFrageJaNein) {
        Melden(text);
        return maOK;
    }
    return Beantwortet(text, QStringLiteral("Ja")) ? maJa : maNein;
}

bool TBefehlInteraktion::Frage(const QString&, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt, QObject*)
{
    if (antworten.empty() || !Beantwortet(text, antworten.front().Caption))
        return false;
    gewaehlt = antworten.front().Wert;
    return true;
}

bool TBefehlInteraktion::Beantwortet(const QString& frage, const QString& antwort)
{
    if (FJa) {
        Melden(QStringLiteral("%1 – %2 (--yes)").arg(frage, antwort));
        return true;
    }
    if (FOffeneFrage.isEmpty())
        FOffeneFrage = frage;
    return false;
}

bool TBefehlInteraktion::OffeneFrageMelden() const
{
    if (FOffeneFrage.isEmpty())
        return false;
    Melden(QStringLiteral("Frage ohne Antwort (mit --yes beantworten): %1").arg(FOffeneFrage));
    return true;
}

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

TDateTime WiJahr(const QCommandLineParser& p)
{
    if (!p.isSet(QStringLiteral("fiscal-year")))
        Falsch(QStringLiteral("--fiscal-year"), QStringLiteral("fehlt"));
    return Datum(QStringLiteral("--fiscal-year"), p.value(QStringLiteral("fiscal-year")));
}

bool Anmelden(const QCommandLineParser& p)
{
    TDbUrl url;
    try {
        url = DbUrlChoose(p.value(QStringLiteral("db")));
    } catch (const std::exception& e) {
        Falsch(QStringLiteral("--db"), QString::fromUtf8(e.what()));
    }
    if (SQLiteDateiFehlt(url))
        Falsch(QStringLiteral("--db"), QStringLiteral("die Datenbank %1 gibt es nicht").arg(url.Path));
    if (const QString warnung = PasswortWarnung(url); !warnung.isEmpty())
        Melden(warnung);
    try {
        TZEP_Connection::Configure(url);
        MigrationenAusfuehren(TZEP_Connection::Database());
    } catch (const std::exception& e) {
        Melden(QStringLiteral("die Datenbank kann nicht geöffnet werden: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    try {
        ORVProgramm().SetBenutzer(ProgrammBenutzerBestimmen(p.value(QStringLiteral("user"))));
    } catch (const EVerbindungVerloren&) {
        throw;   // no wrong user: the server went
    } catch (const std::exception& e) {
        Falsch(QStringLiteral("--user"), QString::fromUtf8(e.what()));
    }
    ORVProgramm().Init(QStringLiteral("KALMET"), 3, 0, 0, true);
    RechtVerlangen(QStringLiteral("pz{"), QStringLiteral("die Inventurauswertung nicht benutzen"));
    return true;
}

void RechtVerlangen(const QString& recht, const QString& wasDarfErNicht)
{
    if (!UserRechtePruefen(recht, 2, QString(), 1, false, 0))
        Falsch(QStringLiteral("--user"), QStringLiteral("\"%1\" darf %2").arg(ORVProgramm().Benutzer(), wasDarfErNicht));
}

void WertOption(QCommandLineParser& p, const char* name, const char* text, const char* platz)
{
    p.addOption(QCommandLineOption(QLatin1String(name), QString::fromUtf8(text), QLatin1String(platz)));
}

int BefehlAusfuehren(const QString& name, const QString& beschreibung, const QStringList& args,
                     const std::function<void(QCommandLineParser&)>& optionen, const std::function<int(const QCommandLineParser&)>& body,
                     bool inventuren)
{
    GBefehl = name;
    QCommandLineParser p;
    p.setApplicationDescription(beschreibung);
    p.addHelpOption();
    p.addOption(QCommandLineOption(QStringLiteral("db"), DbOptionText(), QStringLiteral("url")));
    WertOption(p, "user", "Benutzer (auf einer SQLite-Datei)", "name");
    if (inventuren) {
        WertOption(p, "fiscal-year", "Beginn des Wirtschaftsjahres", "JJJJ-MM-TT");
        WertOption(p, "inventory", "eine Inventur: Zähldatum, Warengruppe (* für alle) und Filiale; mehrfach", "JJJJ-MM-TT:WG:FIL");
        WertOption(p, "status", "alle Inventuren dieses Status (0 bis 6)", "N");
    }
    optionen(p);
    if (!p.parse(args)) {
        Melden(p.errorText());
        return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
        // the usage line names the command where the parser names the program
        QString hilfe = p.helpText();
        const QString programm = QCoreApplication::arguments().value(0);
        if (const qsizetype stelle = hilfe.indexOf(programm); stelle >= 0)
            hilfe.replace(stelle, programm.size(), name);
        std::printf("%s", qPrintable(hilfe));
        return 0;
    }
    if (!p.positionalArguments().isEmpty()) {
        Melden(QStringLiteral("unbekanntes Argument \"%1\"").arg(p.positionalArguments().first()));
        return 2;
    }
    try {
        const TVerlustKante kante;
        const int rc = body(p);
        // also what the work passed over: a loss met while cleaning up, data Qt dropped; a
        // body that ends with 3 has told the lost or unreachable database already
        if (rc != 3)
            TZEP_Connection::Pruefen(QStringLiteral("BefehlAusfuehren"));
        return rc;
    } catch (const TArgumentFehler& f) {
        Melden(QStringLiteral("%1: %2").arg(f.Option, f.Text));
        return 2;
    } catch (const EVerbindungVerloren& e) {
        Melden(QString::fromUtf8(e.what()));
        return 3;
    } catch (const std::exception& e) {
        Melden(QString::fromUtf8(e.what()));
        return 1;
    }
}
