// The batch commands' way to a PostgreSQL server of the test's own: a password on the command
// line is warned of and shown nowhere, TLS checks the server's root and host name; and each
// command's help names the command.
#include "tests/support/eigenerserver.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct TLauf {
    int Rc = -1;
    QString Aus, Fehler;
};

// kalmet with args, libpq's texts in English; umgebung adds variables.
TLauf Kalmet(const QStringList& args, const QStringList& umgebung = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("PGPASSFILE", "/gibt/es/nicht");
    for (const QString& v : umgebung)
        env.insert(v.section('=', 0, 0), v.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(KALMET_PROGRAMM, args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// kalmet reset on db: on a database without rights a connected run ends with 2
TLauf Zuruecksetzen(const QString& db, const QStringList& umgebung = {})
{
    return Kalmet({"reset", "--db", db, "--fiscal-year", "2026-02-01", "--status", "3"}, umgebung);
}

TEST(KalmetAnmeldung, APasswordOnTheCommandLineIsWarnedOfOnceAndShownNowhere)
{
    EIGENER_SERVER(s);
    const QString url = s.Url("127.0.0.1");
    const auto mit = [&](const QString& passwort) { return QString(url).replace("kalmet_pw@", "kalmet_pw:" + passwort + "@"); };
    const QString nichtGeoeffnet = "die Datenbank kann nicht geöffnet werden";

    TLauf r = Zuruecksetzen(mit("Falsch-Geheim-42"));
    EXPECT_EQ(r.Rc, 3) << qPrintable(r.Fehler);
    EXPECT_EQ(r.Fehler.count("Prozessliste sichtbar"), 1) << qPrintable(r.Fehler);
    EXPECT_TRUE(r.Fehler.contains("password authentication failed")) << qPrintable(r.Fehler);
    EXPECT_FALSE((r.Aus + r.Fehler).contains("Falsch-Geheim-42")) << qPrintable(r.Fehler);

    r = Zuruecksetzen(mit(TEigenerServer::Passwort));
    EXPECT_EQ(r.Rc, 2) << qPrintable(r.Fehler);
    EXPECT_FALSE(r.Fehler.contains(nichtGeoeffnet)) << qPrintable(r.Fehler);
    EXPECT_FALSE((r.Aus + r.Fehler).contains(TEigenerServer::Passwort)) << qPrintable(r.Fehler);

    // a password file lets in without a warning
    r = Zuruecksetzen(url, {"PGPASSFILE=" + s.Passwortdatei()});
    EXPECT_EQ(r.Rc, 2) << qPrintable(r.Fehler);
    EXPECT_FALSE(r.Fehler.contains(nichtGeoeffnet) || r.Fehler.contains("Prozessliste")) << qPrintable(r.Fehler);
}

TEST(KalmetAnmeldung, VerifyFullChecksTheServersRootAndHostName)
{
    EIGENER_SERVER(s);
    const QStringList passwortdatei{"PGPASSFILE=" + s.Passwortdatei()};
    const QString verifiziert = "?sslmode=verify-full&sslrootcert=";

    TLauf r = Zuruecksetzen(s.Url("localhost", verifiziert + s.Wurzel()), passwortdatei);
    EXPECT_EQ(r.Rc, 2) << "connected: " << qPrintable(r.Fehler);
    EXPECT_FALSE(r.Fehler.contains("kann nicht geöffnet")) << qPrintable(r.Fehler);

    // the certificate names localhost, not the address
    r = Zuruecksetzen(s.Url("127.0.0.1", verifiziert + s.Wurzel()), passwortdatei);
    EXPECT_EQ(r.Rc, 3);
    EXPECT_TRUE(r.Fehler.contains("die Datenbank kann nicht geöffnet werden")) << qPrintable(r.Fehler);
    EXPECT_TRUE(r.Fehler.contains("does not match host name \"127.0.0.1\"")) << qPrintable(r.Fehler);

    r = Zuruecksetzen(s.Url("localhost", verifiziert + s.FremdeWurzel()), passwortdatei);
    EXPECT_EQ(r.Rc, 3);
    EXPECT_TRUE(r.Fehler.contains("certificate verify failed")) << qPrintable(r.Fehler);

    r = Zuruecksetzen(s.Url("localhost", "?sslmod=verify-full"), passwortdatei);
    EXPECT_EQ(r.Rc, 2) << "a misspelt parameter is a wrong --db, not a connection without TLS";
    EXPECT_TRUE(r.Fehler.contains("Unbekannter Parameter \"sslmod\"")) << qPrintable(r.Fehler);
}

TEST(KalmetBefehle, EachCommandsHelpNamesTheCommand)
{
    for (const QString befehl : {"print", "book", "import", "takeover", "reset"}) {
        const TLauf r = Kalmet({befehl, "--help"});
        EXPECT_EQ(r.Rc, 0);
        EXPECT_TRUE(r.Aus.startsWith("Usage: kalmet " + befehl + " [options]")) << qPrintable(r.Aus);
    }
}

}
