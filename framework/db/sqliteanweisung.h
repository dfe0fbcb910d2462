#pragma once

#include "framework/db/blockzeile.h"

#include <QString>
#include <QVariantList>

#include <functional>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

// A statement prepared through SQLite's own interface on the calling thread's connection (the
// handle Qt's driver holds) and run again and again: its values are bound and its rows read
// without Qt's bookkeeping per value. It belongs to that very connection, whose owner drops it
// before the connection closes. A failure raises as that of a Qt query does.
class TSqliteAnweisung {
public:
    // Prepares sql on the connection handle verbindung; a failure raises under ort.
    TSqliteAnweisung(const QString& ort, const QString& sql, sqlite3* verbindung);
    ~TSqliteAnweisung();
    TSqliteAnweisung(const TSqliteAnweisung&) = delete;
    TSqliteAnweisung& operator=(const TSqliteAnweisung&) = delete;

    // Runs it with werte bound to its ? in their order (as Qt's driver binds them), hands each
    // row to proZeile and resets it, so that it holds nothing between runs. The number of rows
    // changed.
    int Ausfuehren(const QString& ort, const QVariantList& werte, const std::function<void(const TBlockZeile&)>& proZeile);

private:
    void Binden(const QString& ort, const QVariantList& werte);
    [[noreturn]] void Fehlgeschlagen(const QString& ort, const QString& wobei, int code) const;

    sqlite3* FVerbindung;
    sqlite3_stmt* FAnweisung = nullptr;
    QString FSql;
};

// The SQLite handle under a connection of Qt's driver, nullptr for one of another engine.
sqlite3* SqliteHandle(const QSqlDatabase& db);
