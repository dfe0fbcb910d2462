#pragma once

#include "tests/support/demokette.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

// A test of a batch command on a fresh copy of the test chain, for the user the program works
// for there; skipped when the engine is not available.
class KettenBefehlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
        FBenutzer = ProgrammBenutzer(*FDb);
    }
    void TearDown() override { TestKetteBeenden(); }

    std::unique_ptr<TTestDb> FDb;
    QString FBenutzer;
};
