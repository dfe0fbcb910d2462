#include "demo/demodatenbank.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalmet-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Erzeugt die Demo- oder Benchmark-Datenbank von Kalmet."));
    parser.addHelpOption();
    const QCommandLineOption db("db", "Ziel: sqlite:/pfad oder postgresql://... (Standard: Demo-Datenbank)", "url");
    const QCommandLineOption seed("seed", "Startwert des Zufallsgenerators (Standard 1)", "n", "1");
    const QCommandLineOption artikel("articles", "Anzahl Artikel (Standard 2000)", "n", "2000");
    const QCommandLineOption filialen("branches", "Anzahl Filialen (Standard 5)", "n", "5");
    const QCommandLineOption heute("today", "Stichtag yyyy-mm-dd (Standard: heute)", "datum");
    const QCommandLineOption force("force", "Vorhandene Daten überschreiben");
    parser.addOptions({db, seed, artikel, filialen, heute, force});
    parser.process(app);

    TDemoParameter p;
    bool ok1, ok2, ok3;
    p.Seed = parser.value(seed).toULongLong(&ok1);
    p.Artikel = parser.value(artikel).toInt(&ok2);
    p.Filialen = parser.value(filialen).toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || p.Artikel < 1 || p.Filialen < 1 || p.Filialen > 999) {
        std::fprintf(stderr, "kalmet-demo: --seed, --articles und --branches brauchen positive Zahlen\n");
        return 2;
    }
    if (parser.isSet(heute)) {
        p.Heute = QDate::fromString(parser.value(heute), Qt::ISODate);
        if (!p.Heute.isValid()) {
            std::fprintf(stderr, "kalmet-demo: --today erwartet yyyy-mm-dd\n");
            return 2;
        }
    }
    try {
        const TDbUrl url = DbUrlChoose(parser.value(db));
        if (const QString warnung = PasswortWarnung(url); !warnung.isEmpty())
            std::fprintf(stderr, "kalmet-demo: %s\n", qPrintable(warnung));
        DemoDatenbankErzeugen(url, p, parser.isSet(force));
        std::printf("Demo-Datenbank erzeugt: %s\n", qPrintable(url.ToString()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalmet-demo: %s\n", e.what());
        return 3;
    }
    return 0;
}
