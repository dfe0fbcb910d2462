#pragma once

#include <QSqlDatabase>

// Brings the schema of the database to the newest version; each migration runs in its
// own transaction and is recorded in table schema_version. Identical on SQLite and PostgreSQL.
void MigrationenAusfuehren(QSqlDatabase db);

// Newest schema version this program knows.
int SchemaVersionAktuell();
