#pragma once

#include "demo/demogenerator.h"
#include "tests/support/testdb.h"

#include <memory>

// A fresh copy of a demo chain for one test, on the engine of the run. Each chain (seed,
// articles, branches, day, user) is generated once per test program and copied per test.
std::unique_ptr<TTestDb> DemoKette(const TDemoParameter& p);

// The small chain the window and list tests work on: 120 articles in five branches, made on
// 8 December 2026, the operating-system user "tester".
TDemoParameter TestKette();

// A copy of the test chain as the window and list tests start on it: the framework clock at
// 8 December 2026, 10:00, the program KALMET for the user "demo", an empty exception
// register. Nothing is set up when the engine is not available.
std::unique_ptr<TTestDb> TestKetteStarten();
// Gives the clock back.
void TestKetteBeenden();

// The user the program started on the chain works for: "demo" on SQLite; on the server the
// login role, which gets the rights of "demo" here.
QString ProgrammBenutzer(const TTestDb& db);
