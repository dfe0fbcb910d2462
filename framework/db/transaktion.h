#pragma once

#include <QSqlDatabase>
#include <QString>

// One database transaction for as long as it lives: Commit makes it last, every other way
// out (a failure, an early return) rolls it back. A writing transaction on SQLite begins
// IMMEDIATE, so a second writer waits on the busy timeout instead of failing on the upgrade
// from reader to writer. On PostgreSQL the BEGIN of a transaction on the thread's connection
// goes to the server with its first statement. Transactions do not nest.
class TTransaktion {
public:
    explicit TTransaktion(const QString& ort, QSqlDatabase db = {});
    ~TTransaktion();
    TTransaktion(const TTransaktion&) = delete;
    TTransaktion& operator=(const TTransaktion&) = delete;

    void Commit();

private:
    void Ausfuehren(const QString& sql);

    QString FOrt;
    QSqlDatabase FDb;
    bool FSqlite = false;
    bool FOffen = false;
    bool FBeginWartet = false;   // BEGIN waits for the first statement (TZEP_Connection::BeginVormerken)
};
