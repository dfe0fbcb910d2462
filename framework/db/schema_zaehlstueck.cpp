// The pieces of one count file may pass 2^31 (a million lines of 99,999 pieces): 64 bits.
// SQLite's INTEGER has them already.

extern const char* const CSchemaZaehlStueck;

const char* const CSchemaZaehlStueck = R"SQL(
{POSTGRES} ALTER TABLE zaehldatei ALTER COLUMN stueck TYPE BIGINT;
)SQL";
