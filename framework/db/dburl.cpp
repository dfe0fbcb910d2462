#include "framework/db/dburl.h"

#include "framework/core/fehler.h"
#include "framework/core/geheimnis.h"

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <libpq-fe.h>

#include <algorithm>

namespace {

const QString COrt = QStringLiteral("TDbUrl.Parse");
// the query parameters that go to the client library
const QStringList CParameter = {QStringLiteral("service"), QStringLiteral("sslmode"), QStringLiteral("sslrootcert"),
                                QStringLiteral("sslcert"), QStringLiteral("sslkey")};

// The URL as an error quotes it: what stands between the user's ":" and the last "@" hidden,
// so that a password holding "/" or "@" is hidden whole (rather more than less).
QString Verdeckt(const QString& url)
{
    const qsizetype anfang = url.indexOf(QStringLiteral("://"));
    const qsizetype at = url.lastIndexOf(QLatin1Char('@'));
    if (anfang < 0 || at < anfang)
        return url;
    const qsizetype doppelpunkt = url.indexOf(QLatin1Char(':'), anfang + 3);
    if (doppelpunkt < 0 || doppelpunkt > at)
        return url;
    return url.left(doppelpunkt + 1) + QStringLiteral("***") + url.mid(at);
}

[[noreturn]] void Falsch(const QString& text, const QString& url)
{
    FehlerRaise(COrt, {text + QStringLiteral(": ") + Verdeckt(url)});
}

TDbUrl PostgresParse(const QString& url)
{
    const QUrl u(url);
    if (!u.isValid())
        Falsch(QStringLiteral("Ungültige PostgreSQL-URL"), url);
    TDbUrl r;
    r.Typ = TConnectorTyp::PostgreSQL;
    r.Host = u.host(QUrl::FullyDecoded);
    r.Port = u.port(-1);
    r.User = u.userName(QUrl::FullyDecoded);
    r.Password = u.password(QUrl::FullyDecoded);
    GeheimnisMerken(r.Password);
    r.Database = u.path(QUrl::FullyDecoded).mid(1);
    for (const auto& [name, wert] : QUrlQuery(u).queryItems(QUrl::FullyDecoded)) {
        if (!CParameter.contains(name))
            Falsch(QStringLiteral("Unbekannter Parameter \"%1\" (erlaubt: %2)").arg(name, CParameter.join(QStringLiteral(", "))), url);
        // the driver separates its options by semicolons
        if (wert.isEmpty() || wert.contains(QLatin1Char(';')))
            Falsch(QStringLiteral("Parameter \"%1\" leer oder mit Semikolon").arg(name), url);
        r.Parameter.emplace_back(name, wert);
    }
    const bool dienst = std::any_of(r.Parameter.begin(), r.Parameter.end(), [](const auto& p) { return p.first == QLatin1String("service"); });
    if (r.Database.isEmpty() && !dienst)
        Falsch(QStringLiteral("PostgreSQL-URL ohne Datenbank (oder ?service=NAME)"), url);
    return r;
}

// A value in the client library's quoting: 'text' with \ and ' escaped.
QString Zitiert(QString wert)
{
    wert.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + wert + QLatin1Char('\'');
}

}

TDbUrl TDbUrl::Parse(const QString& url)
{
    if (url.startsWith(QStringLiteral("sqlite:"))) {
        TDbUrl r;
        r.Path = url.mid(7);
        if (r.Path.startsWith(QStringLiteral("//")))
            r.Path = r.Path.mid(2);
        if (r.Path.isEmpty())
            Falsch(QStringLiteral("SQLite-URL ohne Dateipfad"), url);
        return r;
    }
    if (url.startsWith(QStringLiteral("service:")))
        return PostgresParse(QStringLiteral("postgresql:///?service=") + QString::fromLatin1(QUrl::toPercentEncoding(url.mid(8))));
    if (url.startsWith(QStringLiteral("postgresql://")) || url.startsWith(QStringLiteral("postgres://")))
        return PostgresParse(url);
    Falsch(QStringLiteral("Unbekannte Datenbank-URL (erwartet sqlite:/pfad, postgresql://... oder service:NAME)"), url);
}

QString TDbUrl::ToString() const
{
    if (Typ == TConnectorTyp::SQLite)
        return QStringLiteral("sqlite:") + Path;
    QString r = QStringLiteral("postgresql://");
    if (!User.isEmpty())
        r += QString::fromLatin1(QUrl::toPercentEncoding(User)) + QLatin1Char('@');
    r += Host.contains(QLatin1Char(':')) ? QLatin1Char('[') + Host + QLatin1Char(']') : Host;
    if (Port >= 0)
        r += QLatin1Char(':') + QString::number(Port);
    r += QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(Database));
    QStringList abfrage;
    for (const auto& [name, wert] : Parameter)
        abfrage << name + QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(wert, "/"));
    if (!abfrage.isEmpty())
        r += QLatin1Char('?') + abfrage.join(QLatin1Char('&'));
    return r;
}

QString Verbindungsoptionen(const TDbUrl& url, const QString& extra)
{
    QStringList optionen;
    for (const auto& [name, wert] : url.Parameter)
        optionen << name + QLatin1Char('=') + Zitiert(wert);
    if (!extra.isEmpty())
        optionen << extra;
    return optionen.join(QLatin1Char(';'));
}

bool PasswortFehlt(const TDbUrl& url)
{
    if (url.Typ != TConnectorTyp::PostgreSQL || !url.Password.isEmpty())
        return false;
    std::vector<std::pair<QByteArray, QByteArray>> angaben;
    const auto angabe = [&](const char* name, const QString& wert) {
        if (!wert.isEmpty())
            angaben.emplace_back(name, wert.toLocal8Bit());
    };
    angabe("host", url.Host);
    angabe("port", url.Port >= 0 ? QString::number(url.Port) : QString());
    angabe("user", url.User);
    angabe("dbname", url.Database);
    for (const auto& [name, wert] : url.Parameter)
        angabe(name.toLatin1().constData(), wert);
    angabe("connect_timeout", QStringLiteral("10"));
    std::vector<const char*> namen, werte;
    for (const auto& [name, wert] : angaben) {
        namen.push_back(name.constData());
        werte.push_back(wert.constData());
    }
    namen.push_back(nullptr);
    werte.push_back(nullptr);
    PGconn* verbindung = PQconnectdbParams(namen.data(), werte.data(), 0);
    const bool fehlt = PQstatus(verbindung) == CONNECTION_BAD && PQconnectionNeedsPassword(verbindung);
    PQfinish(verbindung);
    return fehlt;
}

QString PasswortWarnung(const TDbUrl& url)
{
    if (!url.PasswortAufBefehlszeile)
        return {};
    return QStringLiteral("Warnung: das Passwort in --db ist für alle Benutzer dieses Rechners in der Prozessliste sichtbar; "
                          "besser die Passwortdatei ~/.pgpass, PGPASSFILE oder eine Dienstdatei (service:NAME) verwenden.");
}

QString DbOptionText()
{
    return QStringLiteral("Datenbank: sqlite:/pfad/datei.db, postgresql://user@host:port/db[?sslmode=verify-full&sslrootcert=datei], "
                          "postgresql:///db (lokaler Socket) oder service:NAME; das Passwort aus ~/.pgpass, nicht aus der URL");
}
