// Change notices on inventories: every insert, delete and change of an inventory's status or
// values tells the listening terminals which inventory changed (count date, product group as
// stored, branch; tab-separated), also when another program writes. Only PostgreSQL has a
// notice channel; SQLite terminals watch the file's data version instead.

extern const char* const CSchemaNotiz;

const char* const CSchemaNotiz = R"SQL(
{POSTGRES} CREATE OR REPLACE FUNCTION ia_notiz() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF TG_OP <> 'INSERT' THEN
    PERFORM pg_notify('ia_geaendert',
      to_char(OLD.zaehldatum, 'YYYY-MM-DD HH24:MI:SS.MS') || E'\t' || OLD.wgn || E'\t' || OLD.filiale);
  END IF;
  IF TG_OP <> 'DELETE' THEN
    PERFORM pg_notify('ia_geaendert',
      to_char(NEW.zaehldatum, 'YYYY-MM-DD HH24:MI:SS.MS') || E'\t' || NEW.wgn || E'\t' || NEW.filiale);
  END IF;
  RETURN NULL;
END
$$;
{POSTGRES} CREATE TRIGGER ia_notiz_neu_weg AFTER INSERT OR DELETE ON ia
  FOR EACH ROW EXECUTE FUNCTION ia_notiz();
{POSTGRES} CREATE TRIGGER ia_notiz_geaendert AFTER UPDATE ON ia
  FOR EACH ROW WHEN (OLD.kzzaehlung IS DISTINCT FROM NEW.kzzaehlung OR OLD.sollek IS DISTINCT FROM NEW.sollek
                     OR OLD.istek IS DISTINCT FROM NEW.istek OR OLD.wijahr IS DISTINCT FROM NEW.wijahr
                     OR OLD.zaehldatum IS DISTINCT FROM NEW.zaehldatum OR OLD.wgn IS DISTINCT FROM NEW.wgn
                     OR OLD.filiale IS DISTINCT FROM NEW.filiale)
  EXECUTE FUNCTION ia_notiz();
)SQL";
