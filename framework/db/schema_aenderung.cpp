// The change log of inventories on SQLite, where there is no notice channel: every insert,
// delete and change of an inventory's status or values (the columns the PostgreSQL notice
// watches) appends the inventory's key (count date, product group as stored, branch) under
// an increasing id. A window reads what follows the last id it saw once the file's data
// version moved. Only the newest 1000 entries are kept: a reader that fell further behind
// finds a gap before its next entry and reads everything again.

extern const char* const CSchemaAenderung;

const char* const CSchemaAenderung = R"SQL(
{SQLITE} CREATE TABLE ia_aenderung (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  {DATE:zaehldatum},
  wgn VARCHAR(10) NOT NULL DEFAULT '',
  filiale INTEGER NOT NULL DEFAULT 0
);
{SQLITE} CREATE TRIGGER ia_aenderung_neu AFTER INSERT ON ia
BEGIN
  INSERT INTO ia_aenderung (zaehldatum, wgn, filiale) VALUES (NEW.zaehldatum, NEW.wgn, NEW.filiale);
  DELETE FROM ia_aenderung WHERE id <= (SELECT MAX(id) FROM ia_aenderung) - 1000;
END;
{SQLITE} CREATE TRIGGER ia_aenderung_weg AFTER DELETE ON ia
BEGIN
  INSERT INTO ia_aenderung (zaehldatum, wgn, filiale) VALUES (OLD.zaehldatum, OLD.wgn, OLD.filiale);
  DELETE FROM ia_aenderung WHERE id <= (SELECT MAX(id) FROM ia_aenderung) - 1000;
END;
{SQLITE} CREATE TRIGGER ia_aenderung_geaendert AFTER UPDATE ON ia
  WHEN OLD.kzzaehlung IS NOT NEW.kzzaehlung OR OLD.sollek IS NOT NEW.sollek OR OLD.istek IS NOT NEW.istek
       OR OLD.wijahr IS NOT NEW.wijahr OR OLD.zaehldatum IS NOT NEW.zaehldatum OR OLD.wgn IS NOT NEW.wgn
       OR OLD.filiale IS NOT NEW.filiale
BEGIN
  INSERT INTO ia_aenderung (zaehldatum, wgn, filiale) SELECT OLD.zaehldatum, OLD.wgn, OLD.filiale
    WHERE OLD.zaehldatum IS NOT NEW.zaehldatum OR OLD.wgn IS NOT NEW.wgn OR OLD.filiale IS NOT NEW.filiale;
  INSERT INTO ia_aenderung (zaehldatum, wgn, filiale) VALUES (NEW.zaehldatum, NEW.wgn, NEW.filiale);
  DELETE FROM ia_aenderung WHERE id <= (SELECT MAX(id) FROM ia_aenderung) - 1000;
END;
)SQL";
