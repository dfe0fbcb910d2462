// A second writer for the live tests, as another terminal or program: runs each statement
// after the database URL on that database, each committed on its own.
#include "framework/db/connection.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "kalmet_schreiber URL SQL...\n");
        return 2;
    }
    try {
        TZEP_Connection::Configure(TDbUrl::Parse(args[1]));
        for (qsizetype i = 2; i < args.size(); ++i)
            TZEP_Connection::Ausfuehren(QStringLiteral("kalmet_schreiber"), args[i]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalmet_schreiber: %s\n", e.what());
        return 1;
    }
    return 0;
}
