#pragma once

// The test programs take every Qt warning of dropped data (SqlDatenverlust) as a failure of the
// running test, on any thread, with the stack that led to it; other messages go on as before.
// The program's own counting handler stays in place beneath, so its statement wrappers raise
// as they do in the program.
void SqlWarnungenAlsTestfehler();

// A test that provokes such a warning on purpose holds this while it does.
class TSqlWarnungErwartet {
public:
    TSqlWarnungErwartet();
    ~TSqlWarnungErwartet();
    TSqlWarnungErwartet(const TSqlWarnungErwartet&) = delete;
    TSqlWarnungErwartet& operator=(const TSqlWarnungErwartet&) = delete;
};
