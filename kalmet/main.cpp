#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/migrations.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
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
        TZEP_Connection::Configure(url);
        MigrationenAusfuehren(TZEP_Connection::Database());
        std::printf("kalmet: Datenbank %s bereit (Schema-Version %d).\n", qPrintable(url.ToString()), SchemaVersionAktuell());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalmet: %s\n", e.what());
        return 3;
    }
    return 0;
}
