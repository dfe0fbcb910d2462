#pragma once

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A PostgreSQL server of the test's own, for what the shared test server (trust, no TLS) cannot
// show: passwords (scram over TCP), TLS with a certificate for "localhost" that a root made by
// the test signed (openssl), peer authentication on its own socket folder. It has the role
// Benutzer with Passwort and its database Datenbank, and a role named after the operating-system
// user. As root the server runs as postgres. It lives as long as the object.
class TEigenerServer {
public:
    static constexpr const char* Benutzer = "kalmet_pw";
    static constexpr const char* Passwort = "Tr0ub4dor-Geheim";
    static constexpr const char* Datenbank = "kalmet_probe";

    TEigenerServer();
    ~TEigenerServer();
    TEigenerServer(const TEigenerServer&) = delete;
    TEigenerServer& operator=(const TEigenerServer&) = delete;

    // Whether the machine has the server's programs; without them the test skips.
    static bool Vorhanden();
    // Empty when the server runs, else why not.
    const QString& Fehler() const { return FFehler; }

    int Port() const { return FPort; }
    QString Socket() const { return FOrdner.path(); }
    // the root that signed the server's certificate, and one that did not
    QString Wurzel() const { return FOrdner.filePath(QStringLiteral("wurzel.crt")); }
    QString FremdeWurzel() const { return FOrdner.filePath(QStringLiteral("fremd.crt")); }
    // "postgresql://kalmet_pw@host:port/kalmet_probe" followed by zusatz ("?sslmode=...")
    QString Url(const QString& host, const QString& zusatz = {}) const;
    // A password file (mode 0600) that gives Benutzer's password for this server.
    QString Passwortdatei() const;

    // Runs sql as the superuser; false (and a test failure) when it fails.
    bool Sql(const QString& sql) const;

private:
    bool Ausfuehren(const QString& programm, const QStringList& argumente, bool alsServer = false);
    bool Zertifikate();
    bool Starten();

    QTemporaryDir FOrdner;
    QString FBin;
    int FPort = 0;
    QString FFehler;
};

// Starts a server of the test's own as s; skips the test on a machine without the server's
// programs, fails it when the server does not start.
#define EIGENER_SERVER(s)                                                        \
    if (!TEigenerServer::Vorhanden())                                            \
        GTEST_SKIP() << "keine PostgreSQL-Serverprogramme auf diesem Rechner";   \
    const TEigenerServer s;                                                      \
    ASSERT_TRUE(s.Fehler().isEmpty()) << qPrintable(s.Fehler())
