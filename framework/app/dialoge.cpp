#include "framework/app/dialoge.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/geheimnis.h"
#include "framework/db/connection.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace {

struct TRechtStand {
    bool Bekannt = false;   // the user is in the user table
    bool Hat = false;
};

TRechtStand RechtLesen(const QString& recht)
{
    // a user missing from the user table holds no right, whatever rights rows name him
    QSqlQuery q = TZEP_Connection::Ausfuehren(QStringLiteral("UserRechtePruefen"),
                                              QStringLiteral("SELECT (SELECT COUNT(*) FROM benutzer WHERE name = ?), "
                                                             "(SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = ? AND recht = ?)"),
                                              {ORVProgramm().Benutzer(), ORVProgramm().Benutzer(), recht});
    const bool zeile = q.next();
    TRechtStand r;
    r.Bekannt = zeile && q.value(0).toInt() > 0;
    r.Hat = r.Bekannt && q.value(1).toInt() > 0;
    TZEP_Connection::Beenden(q, QStringLiteral("UserRechtePruefen"));
    return r;
}

}

bool UserRechtePruefen(const QString& recht, int, const QString&, int, bool, int)
{
    const TRechtStand r = RechtLesen(recht);
    if (!r.Bekannt)
        ORVInteraktion().Meldung(maInfo, QStringLiteral("Berechtigung"),
                                 QStringLiteral("Der Benutzer \"%1\" ist in der Benutzerverwaltung nicht eingetragen "
                                                "und hat keine Rechte.")
                                     .arg(ORVProgramm().Benutzer()),
                                 nullptr);
    else if (!r.Hat)
        ORVInteraktion().Meldung(maInfo, QStringLiteral("Berechtigung"),
                                 QStringLiteral("Dem Benutzer \"%1\" fehlt das Recht \"%2\" für diese Funktion.")
                                     .arg(ORVProgramm().Benutzer(), recht),
                                 nullptr);
    return r.Hat;
}

bool UserHatRecht(const QString& recht)
{
    return RechtLesen(recht).Hat;
}

bool FrageDlgExecute(const TInfoKoord& koord, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt, QObject* owner)
{
    return ORVInteraktion().Frage(QStringLiteral("%1 %2").arg(koord.Modul).arg(koord.Nr),
                                  TORVInfo::MeldungsText(koord.Modul, koord.Nr), antworten, gewaehlt, owner);
}

void VersionsInfoZeigen(const QString& titel, QObject* owner, const QString& text2)
{
    QString text = QStringLiteral("%1 %2\nModul %3").arg(QCoreApplication::applicationName(),
                                                          QCoreApplication::applicationVersion(), ORVProgramm().Modul());
    if (!text2.isEmpty())
        text += QLatin1Char('\n') + text2;
    ORVInteraktion().Versionsinfo(titel, text, owner);
}

TDbUrl PasswortErfragen(TDbUrl url)
{
    if (!PasswortFehlt(url))
        return url;
    url.Password = ORVInteraktion().Passwort(QStringLiteral("Anmeldung"),
                                             QStringLiteral("Der Datenbankserver verlangt ein Passwort für\n%1").arg(url.ToString()), nullptr);
    GeheimnisMerken(url.Password);
    return url;
}
