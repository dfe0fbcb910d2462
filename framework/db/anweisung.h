#pragma once

#include <QSqlQuery>
#include <QString>

#include <memory>

// A statement prepared once on the calling thread's connection and run again and again. It
// belongs to that very connection: once the thread works on another one (opened anew after a
// loss, another database, a thread's connection closed), it is dropped and prepared again, so
// that a statement of a connection that is gone is never run.
class TGehalteneAnweisung {
public:
    // The statement, or nullptr when none is kept for the thread's connection of now; raises
    // as TZEP_Connection::Database does.
    QSqlQuery* Gehalten();
    // Prepares sql, forward only, on the thread's connection and keeps it; a failure raises
    // under ort.
    QSqlQuery& Vorbereiten(const QString& ort, const QString& sql);
    // Gehalten, else Vorbereiten: for a statement whose text is at hand.
    QSqlQuery& Holen(const QString& ort, const QString& sql);

private:
    std::unique_ptr<QSqlQuery> FQuery;
    quint64 FVerbindung = 0;   // the connection it was prepared on
};
