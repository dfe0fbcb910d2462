#pragma once

#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/frmkalmetmain.h"
#include "tests/support/skriptinteraktion.h"
#include "tests/support/demokette.h"


#include <gtest/gtest.h>

#include <memory>

// A main window on a copy of a small demo chain (made once per test program, on SQLite or
// PostgreSQL), with a fixed clock, the user "demo" and scripted answers.
class FensterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window (FormCreate, FormShow, activation).
    TfrmKalmetMain& Fenster();
    void Sql(const QString& sql);
    void Taste(int taste, Qt::KeyboardModifiers mod = Qt::NoModifier);
    std::vector<int> Zeilen();
    std::vector<bool> Haken();
    Qt::CheckState Marke(int zeile);

    TSkriptInteraktion FInteraktion;
    std::unique_ptr<TTestDb> FDb;
    std::unique_ptr<TfrmKalmetMain> FFenster;
};
