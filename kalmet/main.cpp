#include "SelDruck/frmseldruck.h"
#include "SelMask/frmselmask.h"
#include "demo/demodatenbank.h"
#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/migrations.h"
#include "framework/db/sqlwarnung.h"
#include "framework/gui/qtinteraktion.h"
#include "kalmet/buchbefehl.h"
#include "kalmet/druckbefehl.h"
#include "kalmet/importbefehl.h"
#include "kalmet/soll2istbefehl.h"
#include "kalmetmain/frmkalmetmain.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include <unistd.h>

namespace {

// The batch commands: the first argument names one.
struct TBefehl {
    const char* Name;
    int (*Ausfuehren)(const QStringList& args);
};
constexpr TBefehl CBefehle[] = {{"print", DruckBefehl},         {"book", BuchBefehl},          {"import", ImportBefehl},
                                {"takeover", UebernahmeBefehl}, {"reset", ZuruecksetzBefehl}};

const TBefehl* Befehl(int argc, char* argv[])
{
    if (argc < 2)
        return nullptr;
    const auto it = std::find_if(std::begin(CBefehle), std::end(CBefehle), [&](const TBefehl& b) { return qstrcmp(argv[1], b.Name) == 0; });
    return it == std::end(CBefehle) ? nullptr : it;
}

// Opens the database chosen on the command line, by KALMET_DB or the demo database, which
// is created on the first start (under a temporary name, so that an interrupted run leaves
// no half database).
void DatenbankOeffnen(const QString& dbWert)
{
    const TDbUrl url = DbUrlChoose(dbWert);
    const bool demo = dbWert.isEmpty() && qEnvironmentVariable("KALMET_DB").isEmpty();
    if (!demo && SQLiteDateiFehlt(url))
        FehlerRaise(QStringLiteral("kalmet"), {QStringLiteral("Die Datenbank %1 gibt es nicht.").arg(url.Path)});
    if (demo && !QFileInfo::exists(url.Path)) {
        std::printf("kalmet: erzeuge die Demo-Datenbank %s ...\n", qPrintable(url.Path));
        std::fflush(stdout);
        TDbUrl neu = url;
        neu.Path += QStringLiteral(".neu");
        DemoDatenbankErzeugen(neu, TDemoParameter(), true);
        TZEP_Connection::CloseThreadConnection();
        if (!QFile::rename(neu.Path, url.Path))
            FehlerRaise(QStringLiteral("kalmet"), {QStringLiteral("Kann %1 nicht anlegen").arg(url.Path)});
    }
    if (const QString warnung = PasswortWarnung(url); !warnung.isEmpty())
        std::fprintf(stderr, "kalmet: %s\n", qPrintable(warnung));
    TZEP_Connection::Configure(PasswortErfragen(url));
    MigrationenAusfuehren(TZEP_Connection::Database());
}

}

int main(int argc, char* argv[])
{
    SqlWarnungenZaehlen();
    // the batch commands need no display
    if (const TBefehl* befehl = Befehl(argc, argv)) {
        // fonts and PDF need a GUI application, but no screen
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // without a session (cron) the platform asks for a runtime folder: a private one
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
            const QByteArray ordner = QDir::tempPath().toLocal8Bit() + "/kalmet-runtime-" + QByteArray::number(getuid());
            QDir().mkpath(QString::fromLocal8Bit(ordner));
            QFile::setPermissions(QString::fromLocal8Bit(ordner), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", ordner);
        }
        QGuiApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("kalmet"));
        QStringList args = QCoreApplication::arguments();
        args.removeAt(1);
        return befehl->Ausfuehren(args);
    }
    // help and version are text on the terminal: no display needed
    for (int i = 1; i < argc; ++i)
        for (const char* text : {"-h", "--help", "--help-all", "-v", "--version"})
            if (qstrcmp(argv[i], text) == 0 && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // window places and zoom per user in ~/.config/kalmet/kalmet.conf
    QCoreApplication::setOrganizationName(QStringLiteral("kalmet"));
    QCoreApplication::setApplicationName(QStringLiteral("kalmet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KALMET_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Inventurauswertung\n\nOhne Fenster: kalmet print, book, import, takeover und reset (je mit --help)"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), DbOptionText(), QStringLiteral("url"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("Benutzer auf einer SQLite-Datei (Standard: Betriebssystem-Benutzer; auf PostgreSQL der angemeldete)"),
                                        QStringLiteral("name"));
    parser.addOptions({dbOption, userOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "kalmet: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    if (!QtUebersetzungLaden())
        std::fprintf(stderr, "kalmet: Qts deutsche Texte (qtbase_de.qm) fehlen\n");
    TQtInteraktion interaktion(QStringLiteral("Inventurauswertung"));
    ORVInteraktionSetzen(&interaktion);
    // a failure before the window: told on standard error and in a message box
    const auto abbrechen = [](const std::exception& e, const QString& einleitung, int rc) {
        std::fprintf(stderr, "kalmet: %s\n", e.what());
        QMessageBox::critical(nullptr, QStringLiteral("Inventurauswertung"), einleitung + QString::fromUtf8(e.what()));
        return rc;
    };
    try {
        DatenbankOeffnen(parser.value(dbOption));
    } catch (const std::exception& e) {
        return abbrechen(e, QStringLiteral("Die Datenbank kann nicht geöffnet werden:\n"), 3);
    }
    try {
        ORVProgramm().SetBenutzer(ProgrammBenutzerBestimmen(parser.value(userOption)));
    } catch (const std::exception& e) {
        return abbrechen(e, QString(), 2);
    }

    std::unique_ptr<TfrmKalmetMain> hauptfenster;
    std::unique_ptr<TfrmSelDruck> selDruck;
    std::unique_ptr<TfrmSelMask> selMask;
    try {
        ORVProgramm().Init(QStringLiteral("KALMET"), 3, 0, 0, true);
        hauptfenster = std::make_unique<TfrmKalmetMain>();
        QObject::connect(hauptfenster.get(), &TfrmKalmetMain::ProgrammBeenden, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        selDruck = std::make_unique<TfrmSelDruck>(hauptfenster.get());
        frmSelDruck = selDruck.get();
        ORVInfo().FehlerCheckpoint(QStringLiteral("kalmet"), 0);
        selMask = std::make_unique<TfrmSelMask>(hauptfenster.get());
        frmSelMask = selMask.get();
        ORVInfo().FehlerCheckpoint(QStringLiteral("kalmet"), 0);
    } catch (const std::exception& e) {
        ORVProgramm().ShowException(e, false);
    }
    if (!hauptfenster)
        return 1;
    hauptfenster->show();
    const int rc = app.exec();
    frmSelMask = nullptr;
    frmSelDruck = nullptr;
    selMask.reset();
    selDruck.reset();
    hauptfenster.reset();
    ORVInteraktionSetzen(nullptr);
    TZEP_Connection::PasswortVergessen();
    return rc;
}
