#include "framework/stock/sperre.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

namespace {

const QString COrt = QStringLiteral("TCommonLock");

QString Rechner()
{
    return QSysInfo::machineHostName().left(60);
}

int EigenerProzess()
{
    return static_cast<int>(QCoreApplication::applicationPid());
}

bool ProzessLaeuft(int pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
}

QVariantList Schluessel(const TInt32Trio& id)
{
    return {id.Int1, id.Int2, id.Int3};
}

// The holder of the article's lock, with its row id; 0 when there is none.
qint64 Halter(const TInt32Trio& id, TZEP_clMeldung& m)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt,
        QStringLiteral("SELECT id, terminalnr, terminal, programm, prozessid, sperrzeit FROM artsperre "
                       "WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"),
        Schluessel(id));
    if (!q.next())
        return 0;
    m.TerminalNr = q.value(1).toString();
    m.Terminal = q.value(2).toString();
    m.Programm = q.value(3).toString();
    m.ProzessId = q.value(4).toInt();
    const QVariant zeit = q.value(5);
    m.SperrZeit = TDatumTraits::FromSql(&zeit);
    return q.value(0).toLongLong();
}

bool Eintragen(const TInt32Trio& id, const QString& programm)
{
    const QString terminalNr = ORVParameter().GetStringValueByName(QStringLiteral("TERMINALNR"));
    QSqlQuery q(TZEP_Connection::Database());
    q.prepare(QStringLiteral("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, "
                             "prozessid, sperrzeit) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v : Schluessel(id) + QVariantList{terminalNr.toInt(), Rechner(), programm, EigenerProzess(),
                                                             TDatumTraits::ToSql(orv_Now()).first()})
        q.addBindValue(v);
    return q.exec();   // fails on the unique key when another process holds the article
}

}

bool TCommonLock::LockProdId(const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung, bool)
{
    for (int versuch = 0; versuch < 2; ++versuch) {
        if (Eintragen(AProdId, FProgramm))
            return true;
        TZEP_clMeldung halter;
        const qint64 id = Halter(AProdId, halter);
        if (id == 0)
            continue;   // released between the two statements
        if (!Uebernehmen(id, halter)) {
            AMeldung.SperrZeit = halter.SperrZeit;
            AMeldung.Programm = halter.Programm;
            AMeldung.Terminal = halter.Terminal;
            AMeldung.TerminalNr = halter.TerminalNr;
            AMeldung.ProzessId = halter.ProzessId;
            return false;
        }
        if (halter.Terminal == Rechner() && halter.ProzessId == EigenerProzess())
            return true;
    }
    return false;
}

// Takes over a lock whose holder is gone, or one this process holds already.
bool TCommonLock::Uebernehmen(qint64 id, const TZEP_clMeldung& halter)
{
    const bool hier = halter.Terminal == Rechner();
    if (hier && halter.ProzessId == EigenerProzess())
        return true;
    bool weg = hier && !ProzessLaeuft(halter.ProzessId);
    if (!hier) {
        bool zahl;
        int minuten = ORVParameter().GetStringValueByName(QStringLiteral("SPERRE_MAX_MINUTEN")).toInt(&zahl);
        if (!zahl || minuten <= 0)
            minuten = 720;
        weg = orv_Now() - halter.SperrZeit > minuten / (24.0 * 60.0);
    }
    if (!weg)
        return false;
    // only this very row: when another process took it over meanwhile, nothing is deleted
    QSqlQuery q = TZEP_Connection::Ausfuehren(COrt, QStringLiteral("DELETE FROM artsperre WHERE id = ? AND prozessid = ? AND terminal = ?"),
                                              {id, halter.ProzessId, halter.Terminal});
    if (q.numRowsAffected() == 1)
        ORVInfo().WriteStamp(QStringLiteral("Artikelsperre übernommen von Prozess %1 auf %2 (%3, gesperrt seit %4): %5")
                                 .arg(halter.ProzessId)
                                 .arg(halter.Terminal, halter.Programm,
                                      TDateTime_ToQDateTime(halter.SperrZeit).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")),
                                      hier ? QStringLiteral("der Prozess läuft nicht mehr") : QStringLiteral("die Sperre ist zu alt")),
                             1);
    return true;
}

void TCommonLock::UnlockProdId(const TInt32Trio& AProdId, bool)
{
    TZEP_Connection::Ausfuehren(COrt,
                                QStringLiteral("DELETE FROM artsperre WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? "
                                               "AND terminal = ? AND prozessid = ?"),
                                Schluessel(AProdId) + QVariantList{Rechner(), EigenerProzess()});
}

void TCommonLock::RECVMessageLockProdId(const TInt32Trio& AProdId)
{
    if (OnNachricht)
        OnNachricht(AProdId, true);
}

void TCommonLock::RECVMessageUnlockProdId(const TInt32Trio& AProdId)
{
    if (OnNachricht)
        OnNachricht(AProdId, false);
}

TCommonLock& CommonLock()
{
    static TCommonLock lock;
    return lock;
}
