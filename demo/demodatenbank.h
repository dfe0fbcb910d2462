#pragma once

#include "demo/demogenerator.h"
#include "framework/db/connection.h"

// Connects to url, creates the schema and fills it with the demo chain. The database must
// hold no articles yet, unless ersetzen is set: then a SQLite file is recreated and the
// tables of a PostgreSQL database are emptied first.
void DemoDatenbankErzeugen(const TDbUrl& url, TDemoParameter p, bool ersetzen);
