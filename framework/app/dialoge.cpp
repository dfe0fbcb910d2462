#include "framework/app/dialoge.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/db/connection.h"

#include <QCoreApplication>
#include <QSqlQuery>

bool UserRechtePruefen(const QString& recht, int, const QString&, int, bool, int)
{
    QSqlQuery q(TZEP_Connection::Database());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM benutzerrecht WHERE benutzer = ? AND recht = ?"));
    q.addBindValue(ORVProgramm().Benutzer());
    q.addBindValue(recht);
    const bool hat = q.exec() && q.next() && q.value(0).toInt() > 0;
    if (!hat)
        ORVInteraktion().Meldung(maInfo, QStringLiteral("Berechtigung"),
                                 QStringLiteral("Dem Benutzer \"%1\" fehlt das Recht \"%2\" für diese Funktion.")
                                     .arg(ORVProgramm().Benutzer(), recht),
                                 nullptr);
    return hat;
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
