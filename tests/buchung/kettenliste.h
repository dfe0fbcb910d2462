#pragma once

#include "inventurliste/inventurliste.h"
#include "tests/support/buchungskette.h"

#include <gtest/gtest.h>

#include <memory>

// A test on a fresh copy of the test chain with the inventory list the booking works with;
// skipped when the engine is not available.
class KettenListeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDb = TestKetteStarten();
        KALMET_REQUIRE_DB(*FDb);
        FListe = std::make_unique<TInventurliste>(TInventurlisteOptionen::AusParametern());
    }
    void TearDown() override
    {
        FListe.reset();
        TestKetteBeenden();
        FDb.reset();
    }

    std::unique_ptr<TTestDb> FDb;
    std::unique_ptr<TInventurliste> FListe;
};
