#include "framework/app/programm.h"

#include "framework/app/interaktion.h"
#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QCoreApplication>
#include <QSqlQuery>

TORVProgramm& ORVProgramm()
{
    static TORVProgramm programm;
    return programm;
}

void TORVProgramm::Init(const QString& modul, int, int, int, bool)
{
    FModul = modul;
    // Without TZ the C library reads the zone file again for every local time it converts,
    // which the database driver does for each date it reads; naming the same zone file
    // lets it read the file once.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
}

void TORVProgramm::ShowException(const std::exception& e, bool)
{
    ORVInteraktion().Meldung(maFehler, FModul, QString::fromUtf8(e.what()), nullptr);
}

namespace {
// A failed read raises: a parameter the database could not give is no empty parameter.
QSqlQuery Abfrage(const QString& sql, const QVariantList& werte = {})
{
    return TZEP_Connection::Ausfuehren(QStringLiteral("TORVProgramm"), sql, werte);
}
}

QString TORVProgramm::GetTextMandant() const
{
    QSqlQuery q = Abfrage(QStringLiteral("SELECT text FROM mandant ORDER BY erster DESC, id"));
    return q.next() ? q.value(0).toString() : QString();
}

TIntPair TORVProgramm::MandantErster() const
{
    QSqlQuery q = Abfrage(QStringLiteral("SELECT nr_1, nr_2 FROM mandant ORDER BY erster DESC, id"));
    return q.next() ? TIntPair{q.value(0).toInt(), q.value(1).toInt()} : TIntPair{};
}

QString TORVProgramm::ProzessIdFormated() const
{
    return QStringLiteral("%1").arg(QCoreApplication::applicationPid(), 8, 10, QLatin1Char('0'));
}

int TORVProgramm::GetRTyp() const
{
    return ORVParameter().GetStringValueByName(QStringLiteral("RTYP")).trimmed().toInt();
}

void TORVProgramm::ZusatzinfoAddOrUpdate(const void* objekt, const QString& text)
{
    QMutexLocker lock(&FMutex);
    FZusatzinfo[objekt] = text;
}

QString TORVProgramm::Zusatzinfo(const void* objekt) const
{
    QMutexLocker lock(&FMutex);
    const auto it = FZusatzinfo.find(objekt);
    return it == FZusatzinfo.end() ? QString() : it->second;
}

TORVParameter& ORVParameter()
{
    static TORVParameter parameter;
    return parameter;
}

QString TORVParameter::GetStringValueByName(const QString& name) const
{
    QSqlQuery q = Abfrage(QStringLiteral("SELECT wert FROM parameter WHERE name = ?"), {name});
    return q.next() ? q.value(0).toString() : QString();
}

QString BetriebssystemBenutzer()
{
    for (const char* v : {"USER", "LOGNAME", "USERNAME"}) {
        const QString u = qEnvironmentVariable(v);
        if (!u.isEmpty())
            return u;
    }
    return QStringLiteral("demo");
}

QString ProgrammBenutzerBestimmen(const QString& gewuenscht)
{
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL)
        return gewuenscht.isEmpty() ? BetriebssystemBenutzer() : gewuenscht;
    QSqlQuery q = TZEP_Connection::Ausfuehren(QStringLiteral("ProgrammBenutzerBestimmen"), QStringLiteral("SELECT session_user"));
    if (!q.next())
        FehlerRaise(QStringLiteral("ProgrammBenutzerBestimmen"), {QStringLiteral("Der Datenbankbenutzer ist nicht zu ermitteln.")});
    const QString rolle = q.value(0).toString();
    if (!gewuenscht.isEmpty() && gewuenscht != rolle)
        FehlerRaise(QStringLiteral("ProgrammBenutzerBestimmen"),
                    {QStringLiteral("Auf dem Datenbankserver arbeitet das Programm für den angemeldeten Benutzer \"%1\"; "
                                    "--user \"%2\" ist nur mit dessen Anmeldung möglich.")
                         .arg(rolle, gewuenscht)});
    return rolle;
}
