#pragma once

#include "framework/db/connection.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A fresh, migrated database for one test: a temporary SQLite file, or a temporary database
// on the PostgreSQL server named by KALMET_TEST_PG_URL. The engine comes from
// KALMET_TEST_ENGINE ("sqlite" unless set). The database is dropped again at destruction.
class TTestDb {
public:
    TTestDb();
    // A copy of a template database made by Vorlage (same engine).
    explicit TTestDb(const TDbUrl& vorlage);
    ~TTestDb();

    // A template database filled once by fuellen (which connects on its own); it lives
    // until the test program ends.
    static TDbUrl Vorlage(const std::function<void(const TDbUrl&)>& fuellen);

    // False when the engine asked for is not available (no server configured).
    bool Verfuegbar() const { return FVerfuegbar; }
    TConnectorTyp Typ() const { return FUrl.Typ; }
    const TDbUrl& Url() const { return FUrl; }
    static QString Engine();

    // Runs one statement on the test's connection; fails the test on error.
    static void Exec(const QString& sql);

private:
    bool FVerfuegbar = false;
    TDbUrl FUrl;
    std::unique_ptr<QTemporaryDir> FDir;
    QString FPgDatenbank;
};

// Skips the current test when the requested database engine is not available.
#define KALMET_REQUIRE_DB(db)                                                          \
    do {                                                                               \
        if (!(db).Verfuegbar())                                                        \
            GTEST_SKIP() << "database engine " << qPrintable(TTestDb::Engine())        \
                         << " not configured (KALMET_TEST_PG_URL)";                    \
    } while (0)
