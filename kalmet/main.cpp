#include "demo/demodatenbank.h"
#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/migrations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalmet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KALMET_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Inventurauswertung"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dbOption(QStringLiteral("db"),
                                      QStringLiteral("Datenbank: sqlite:/pfad/datei.db oder postgresql://user@host/db"),
                                      QStringLiteral("url"));
    parser.addOption(dbOption);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "kalmet: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    try {
        const TDbUrl url = DbUrlChoose(parser.value(dbOption));
        const bool demo = parser.value(dbOption).isEmpty() && qEnvironmentVariable("KALMET_DB").isEmpty();
        if (demo && !QFileInfo::exists(url.Path)) {
            std::printf("kalmet: erzeuge die Demo-Datenbank %s ...\n", qPrintable(url.Path));
            std::fflush(stdout);
            // built under a temporary name, so that an interrupted run leaves no half database
            TDbUrl neu = url;
            neu.Path += QStringLiteral(".neu");
            DemoDatenbankErzeugen(neu, TDemoParameter(), true);
            TZEP_Connection::CloseThreadConnection();
            if (!QFile::rename(neu.Path, url.Path))
                FehlerRaise(QStringLiteral("kalmet"), {QStringLiteral("Kann %1 nicht anlegen").arg(url.Path)});
        }
        TZEP_Connection::Configure(url);
        MigrationenAusfuehren(TZEP_Connection::Database());
        std::printf("kalmet: Datenbank %s bereit (Schema-Version %d).\n", qPrintable(url.ToString()), SchemaVersionAktuell());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalmet: %s\n", e.what());
        return 3;
    }
    return 0;
}
