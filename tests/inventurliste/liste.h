#pragma once

#include "inventurliste/inventurliste.h"
#include "tests/support/demokette.h"
#include "tests/support/skriptinteraktion.h"

#include <gtest/gtest.h>

#include <memory>

// The list computation on a copy of the test chain, with a fixed clock, the user "demo" and
// scripted answers; no window.
class ListeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The engine with the installation's options, made on first use.
    TInventurliste& Liste();
    void Sql(const QString& sql);
    // The first value of the first row of a query.
    QVariant Wert(const QString& sql);

    TSkriptInteraktion FInteraktion;
    std::unique_ptr<TTestDb> FDb;
    std::unique_ptr<TInventurliste> FListe;
};
