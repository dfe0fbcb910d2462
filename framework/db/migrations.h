#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Brings the schema of the database to the newest version; each migration runs in its
// own transaction and is recorded in table schema_version. Identical on SQLite and PostgreSQL.
void MigrationenAusfuehren(QSqlDatabase db);

// Newest schema version this program knows.
int SchemaVersionAktuell();

// The data tables of the newest schema, in creation order.
QStringList SchemaTabellen();
