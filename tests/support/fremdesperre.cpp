#include "tests/support/fremdesperre.h"

#include "framework/db/connection.h"
#include "framework/stock/sperre.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

TFremdeSperre::TFremdeSperre(const TInt32Trio& id, const QString& terminal, int prozessId, const QString& sperrzeit,
                             const QString& programm, int terminalNr)
{
    QSqlQuery q(TZEP_Connection::Database());
    EXPECT_TRUE(q.exec(QString("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, "
                               "prozessid, sperrzeit) VALUES (%1, %2, %3, %4, '%5', '%6', %7, '%8')")
                           .arg(id.Int1)
                           .arg(id.Int2)
                           .arg(id.Int3)
                           .arg(terminalNr)
                           .arg(terminal, programm)
                           .arg(prozessId)
                           .arg(sperrzeit)))
        << qPrintable(q.lastError().text());
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL)
        return;
    static int nr = 0;
    FVerbindung = QStringLiteral("fremde-sperre-%1").arg(++nr);
    QSqlDatabase db = QSqlDatabase::cloneDatabase(TZEP_Connection::Database(), FVerbindung);
    EXPECT_TRUE(db.open()) << qPrintable(db.lastError().text());
    QSqlQuery s(db);
    s.prepare("SELECT pg_advisory_lock(hashtextextended(?, 0))");
    s.addBindValue(SperrSchluessel(id));
    EXPECT_TRUE(s.exec()) << qPrintable(s.lastError().text());
}

TFremdeSperre::~TFremdeSperre()
{
    if (FVerbindung.isEmpty())
        return;
    {
        // the server ends a closed session a moment later; its locks go with this at once
        QSqlDatabase db = QSqlDatabase::database(FVerbindung, false);
        QSqlQuery(db).exec("SELECT pg_advisory_unlock_all()");
        db.close();
    }
    QSqlDatabase::removeDatabase(FVerbindung);
}

TInt32Trio ProduktId(const QString& text)
{
    const QStringList t = text.split('.');
    return {t.value(0).toInt(), t.value(1).toInt(), t.value(2).toInt()};
}
