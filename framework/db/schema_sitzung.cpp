// Article locks name the database session that holds them: its backend process id and that
// backend's start time (PostgreSQL only; a pid alone is reused by later sessions). A row that
// names no session comes from another program or from SQLite.

extern const char* const CSchemaSperrSitzung;

const char* const CSchemaSperrSitzung = R"SQL(
ALTER TABLE artsperre ADD COLUMN sitzung_pid INTEGER;
ALTER TABLE artsperre ADD COLUMN sitzung_beginn TIMESTAMPTZ;
)SQL";
