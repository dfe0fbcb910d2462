// Count files of hand-held scanners: the barcodes of the articles' sizes, and the files
// imported (a file's content is imported once, found again by its SHA-256).

extern const char* const CSchemaMDE;

const char* const CSchemaMDE = R"SQL(
CREATE TABLE ean (
  id {ID},
  ean VARCHAR(14) NOT NULL,
  {TRIO:produkt_id},
  groesse INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ean_key ON ean (ean);
CREATE INDEX ean_artikel ON ean (produkt_id_1, produkt_id_2, produkt_id_3, groesse);

CREATE TABLE zaehldatei (
  id {ID},
  name VARCHAR(255) NOT NULL DEFAULT '',
  sha256 VARCHAR(64) NOT NULL,
  geraet VARCHAR(60) NOT NULL DEFAULT '',
  zeilen INTEGER NOT NULL DEFAULT 0,
  stueck INTEGER NOT NULL DEFAULT 0,
  benutzer VARCHAR(40) NOT NULL DEFAULT '',
  {DATE:zeit}
);
CREATE UNIQUE INDEX zaehldatei_sha256 ON zaehldatei (sha256);
)SQL";
