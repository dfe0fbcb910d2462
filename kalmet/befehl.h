#pragma once

#include "framework/article/iastatus.h"
#include "framework/app/interaktion.h"
#include "framework/app/layouts.h"
#include "inventurliste/zeileanzeige.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// What the batch commands share: their arguments, the database and user, and the
// inventories they name.

// A wrong argument: the option and what is wrong with it (exit code 2).
struct TArgumentFehler {
    QString Option;
    QString Text;
};
[[noreturn]] void Falsch(const QString& option, const QString& text);

// A line on standard error, after the command's name.
void Melden(const QString& text);

// A date "YYYY-MM-DD" of an option.
TDateTime Datum(const QString& option, const QString& text);

// An inventory of the fiscal year as the overview shows it.
struct TInventur {
    TZeileAnzeige Zeile;
    TZEP_IA_KZZaehlung Status = iakzAngelegt;
    double SollEK = 0, IstEK = 0;
};

// The inventories named by --inventory, or those of status --status, in overview order.
std::vector<TInventur> Inventuren(const QCommandLineParser& p, TDateTime wiJahr);
TZeileAnzeige_Arr Zeilen(const std::vector<TInventur>& inventuren);

// The selection of --group (start of the product group's text) and --branch (0 for all), as
// the selection dialog takes them.
struct TAuswahl {
    QString WGN;
    int32_t Filiale = 0;
};
void AuswahlOptionen(QCommandLineParser& p);
// A branch that does not exist is a wrong --branch.
TAuswahl Auswahl(const QCommandLineParser& p);

// --yes, which answers the questions of a command.
void JaOption(QCommandLineParser& p);

// The questions of a command answered by --yes (Yes; of several answers the first, the one
// that goes on); without it the first question is answered No and remembered, which ends the
// run. Messages go to standard error.
class TBefehlInteraktion : public IORVInteraktion {
public:
    explicit TBefehlInteraktion(const QCommandLineParser& p);
    ~TBefehlInteraktion() override;

    int Meldung(int art, const QString&, const QString& text, QObject*) override;
    bool Frage(const QString&, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt, QObject*) override;
    void Versionsinfo(const QString&, const QString&, QObject*) override {}

    // Tells the question left without answer on standard error; false when there was none.
    bool OffeneFrageMelden() const;

private:
    // whether --yes answers; else the question is remembered
    bool Beantwortet(const QString& frage, const QString& antwort);

    bool FJa;
    QString FOffeneFrage;
};

// The stored layout named by title or report file; of several for one file the default one.
TZEP_SelectedLayout Layout(const QString& name);

// The start of the fiscal year of --fiscal-year, which every command on inventories needs.
TDateTime WiJahr(const QCommandLineParser& p);

// Opens the database of --db and signs the user of --user in with the program's rights;
// false when the database cannot be reached (exit code 3). A user without the program's
// right is a wrong --user.
bool Anmelden(const QCommandLineParser& p);
// Ends the command (wrong --user) when the user lacks the right; a failing rights query ends
// it too.
void RechtVerlangen(const QString& recht, const QString& wasDarfErNicht);

// Adds an option with a value.
void WertOption(QCommandLineParser& p, const char* name, const char* text, const char* platz);

// Runs a command: parses args with the options every command has (--db, --user; with
// inventuren also --fiscal-year, --inventory, --status) and those that optionen adds, answers
// --help, and maps what the body throws to the exit codes (wrong argument 2, a lost
// connection 3, any other failure 1). A connection lost anywhere in the run ends it with 3.
int BefehlAusfuehren(const QString& name, const QString& beschreibung, const QStringList& args,
                     const std::function<void(QCommandLineParser&)>& optionen, const std::function<int(const QCommandLineParser&)>& body,
                     bool inventuren = true);
