#include "tests/support/fremdesperre.h"

#include "framework/db/connection.h"
#include "framework/stock/sperre.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// Writes the lock row on db; sitzung: the SQL of its two session columns.
void ZeileSchreiben(QSqlDatabase db, const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                    const QString& programm, int terminalNr, const QString& sitzung)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(QString("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, "
                               "prozessid, sperrzeit, sitzung_pid, sitzung_beginn) VALUES (%1, %2, %3, %4, '%5', '%6', %7, '%8', %9)")
                           .arg(id.Int1)
                           .arg(id.Int2)
                           .arg(id.Int3)
                           .arg(terminalNr)
                           .arg(terminal, programm)
                           .arg(prozessId)
                           .arg(sperrzeit, sitzung)))
        << qPrintable(q.lastError().text());
}

}

void FremdeZeile(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit, const QString& programm,
                 int terminalNr)
{
    ZeileSchreiben(TZEP_Connection::Database(), id, terminal, prozessId, sperrzeit, programm, terminalNr, "NULL, NULL");
}

TFremdeSperre::TFremdeSperre(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                             const QString& programm, int terminalNr)
{
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL) {
        FremdeZeile(id, terminal, prozessId, sperrzeit, programm, terminalNr);
        return;
    }
    static int nr = 0;
    FVerbindung = QStringLiteral("fremde-sperre-%1").arg(++nr);
    QSqlDatabase db = QSqlDatabase::cloneDatabase(TZEP_Connection::Database(), FVerbindung);
    EXPECT_TRUE(db.open()) << qPrintable(db.lastError().text());
    QSqlQuery s(db);
    s.prepare("SELECT pg_advisory_lock(hashtextextended(?, 0)), pg_backend_pid()");
    s.addBindValue(SperrSchluessel(id));
    EXPECT_TRUE(s.exec() && s.next()) << qPrintable(s.lastError().text());
    FSitzung = s.value(1).toInt();
    ZeileSchreiben(db, id, terminal, prozessId, sperrzeit, programm, terminalNr,
                   "pg_backend_pid(), (SELECT backend_start FROM pg_stat_activity WHERE pid = pg_backend_pid())");
}

TFremdeSperre::~TFremdeSperre()
{
    if (FVerbindung.isEmpty())
        return;
    // ends the session and waits until its backend is gone, with its advisory lock
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(QString("SELECT pg_terminate_backend(%1, 10000)").arg(FSitzung))) << qPrintable(q.lastError().text());
    QSqlDatabase::database(FVerbindung, false).close();
    QSqlDatabase::removeDatabase(FVerbindung);
}

TInt32Trio ProduktId(const QString& text)
{
    const QStringList t = text.split('.');
    return {t.value(0).toInt(), t.value(1).toInt(), t.value(2).toInt()};
}
