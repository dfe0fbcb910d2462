// Schema version 1: the record files of the inventory module, the merchandise data it reads
// through the framework services, and the framework's own tables.
//
// Placeholders expanded per engine: {ID} surrogate key, {BLOB} binary column,
// {TRIO:x} product id columns x_1..x_3, {PAIR:x} x_1..x_2, {MENGEN:x:b} 100 quantity columns
// x_b..x_(b+99), {DATE:x} a NOT NULL timestamp column x.
// Every key index ends in id so that scans have a total order.

extern const char* const CSchemaV1;

const char* const CSchemaV1 = R"SQL(
CREATE TABLE ia (
  id {ID},
  {DATE:wijahr},
  {DATE:zaehldatum},
  wgn VARCHAR(10) NOT NULL DEFAULT '',
  filiale INTEGER NOT NULL DEFAULT 0,
  sollek DOUBLE PRECISION NOT NULL DEFAULT 0,
  istek DOUBLE PRECISION NOT NULL DEFAULT 0,
  kzzaehlung VARCHAR(1) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX ia_inventur ON ia (zaehldatum, wgn, filiale);
CREATE INDEX ia_key0 ON ia (zaehldatum, wgn, filiale, id);
CREATE INDEX ia_wijahr ON ia (wijahr);

CREATE TABLE iv (
  id {ID},
  {DATE:wijahr},
  {DATE:zaehldatum},
  filiale INTEGER NOT NULL DEFAULT 0,
  {TRIO:produkt_id},
  besttyp VARCHAR(1) NOT NULL DEFAULT '',
  standneu INTEGER NOT NULL DEFAULT 0,
  standalt INTEGER NOT NULL DEFAULT 0,
  kzgebucht VARCHAR(1) NOT NULL DEFAULT '',
  {MENGEN:menge:0}
);
CREATE INDEX iv_key0 ON iv (wijahr, zaehldatum, filiale, produkt_id_1, produkt_id_2, produkt_id_3, besttyp, id);

CREATE TABLE izns (
  id {ID},
  {DATE:zaehldatum},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL DEFAULT 0,
  satzart VARCHAR(1) NOT NULL DEFAULT '',
  regal INTEGER NOT NULL DEFAULT 0,
  gezaehlt INTEGER NOT NULL DEFAULT 0,
  grvon INTEGER NOT NULL DEFAULT 0,
  grbis INTEGER NOT NULL DEFAULT 0,
  {MENGEN:gr_mesu:1}
);
CREATE UNIQUE INDEX izns_zaehlung ON izns (zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, filiale, satzart, regal);
CREATE INDEX izns_key0 ON izns (zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, filiale, satzart, regal, id);
CREATE INDEX izns_filiale ON izns (filiale, zaehldatum);

CREATE TABLE fvk (
  id {ID},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL DEFAULT 0,
  {DATE:datum},
  uhrzeit INTEGER NOT NULL DEFAULT 0,
  vorgangsart VARCHAR(1) NOT NULL DEFAULT '',
  belegart VARCHAR(2) NOT NULL DEFAULT '',
  groesse INTEGER NOT NULL DEFAULT 0,
  vorzeichen VARCHAR(1) NOT NULL DEFAULT '',
  menge INTEGER NOT NULL DEFAULT 0,
  preis1 DOUBLE PRECISION NOT NULL DEFAULT 0,
  preis2 DOUBLE PRECISION NOT NULL DEFAULT 0,
  zusatznummer INTEGER NOT NULL DEFAULT 0,
  zusatztext VARCHAR(40) NOT NULL DEFAULT '',
  {PAIR:belegpaar},
  belegnr INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX fvk_key0 ON fvk (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, uhrzeit, id);

CREATE TABLE lsn (
  id {ID},
  {PAIR:mandant},
  {DATE:datum},
  filiale INTEGER NOT NULL DEFAULT 0,
  zusatznummer1 INTEGER NOT NULL DEFAULT 0,
  zusatznummer2 INTEGER NOT NULL DEFAULT 0,
  belegcode VARCHAR(2) NOT NULL DEFAULT '',
  zusatztext VARCHAR(40) NOT NULL DEFAULT '',
  {TRIO:produkt_id},
  groesse INTEGER NOT NULL DEFAULT 0,
  groessenindex INTEGER NOT NULL DEFAULT 0,
  vorzeichen VARCHAR(1) NOT NULL DEFAULT '',
  menge INTEGER NOT NULL DEFAULT 0,
  wert1 DOUBLE PRECISION NOT NULL DEFAULT 0,
  wert2 DOUBLE PRECISION NOT NULL DEFAULT 0,
  {DATE:uhrzeit},
  {TRIO:referenz}
);
CREATE INDEX lsn_key0 ON lsn (filiale, datum, produkt_id_1, produkt_id_2, produkt_id_3, id);

CREATE TABLE lst (
  id {ID},
  postyp VARCHAR(3) NOT NULL DEFAULT '',
  filiale INTEGER NOT NULL DEFAULT 0,
  {DATE:datum},
  {TRIO:produkt_id},
  groesse INTEGER NOT NULL DEFAULT 0,
  menge INTEGER NOT NULL DEFAULT 0,
  preis DOUBLE PRECISION NOT NULL DEFAULT 0
);
CREATE INDEX lst_key0 ON lst (filiale, datum, produkt_id_1, produkt_id_2, produkt_id_3, id);

CREATE TABLE bne (
  id {ID},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL DEFAULT 0,
  {DATE:datum},
  filiale2 INTEGER NOT NULL DEFAULT 0,
  bewart INTEGER NOT NULL DEFAULT 0,
  besttyp VARCHAR(1) NOT NULL DEFAULT '',
  {MENGEN:menge:0}
);
CREATE INDEX bne_key0 ON bne (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, id);
CREATE INDEX bne_datum ON bne (datum);

CREATE TABLE renr (
  id {ID},
  {TRIO:produkt_id},
  renr INTEGER NOT NULL DEFAULT 0,
  renr2 INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX renr_artikel ON renr (produkt_id_1, produkt_id_2, produkt_id_3);
CREATE INDEX renr_key0 ON renr (produkt_id_1, produkt_id_2, produkt_id_3, id);

CREATE TABLE wgn (
  id {ID},
  wgn VARCHAR(10) NOT NULL,
  bezeichnung VARCHAR(40) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX wgn_key ON wgn (wgn);

CREATE TABLE saison (
  id {ID},
  kurz VARCHAR(4) NOT NULL,
  bezeichnung VARCHAR(40) NOT NULL DEFAULT '',
  {DATE:beginn}
);
CREATE UNIQUE INDEX saison_key ON saison (kurz);

CREATE TABLE ggtab (
  id {ID},
  ggkey INTEGER NOT NULL,
  bezeichnung VARCHAR(40) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX ggtab_key ON ggtab (ggkey);

CREATE TABLE ggtab_groesse (
  id {ID},
  ggkey INTEGER NOT NULL,
  groesse INTEGER NOT NULL,
  idx INTEGER NOT NULL,
  text VARCHAR(8) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX ggtab_groesse_key ON ggtab_groesse (ggkey, groesse);

CREATE TABLE lieferant (
  id {ID},
  {PAIR:gep},
  liefnr INTEGER NOT NULL,
  name VARCHAR(40) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX lieferant_gep ON lieferant (gep_1, gep_2);

CREATE TABLE artikel (
  id {ID},
  {TRIO:produkt_id},
  artnr VARCHAR(20) NOT NULL DEFAULT '',
  bezeichnung VARCHAR(60) NOT NULL DEFAULT '',
  wgn VARCHAR(10) NOT NULL DEFAULT '',
  ggkey INTEGER NOT NULL DEFAULT 0,
  grvon INTEGER NOT NULL DEFAULT 0,
  grbis INTEGER NOT NULL DEFAULT 0,
  {PAIR:partner1},
  liefartnr VARCHAR(30) NOT NULL DEFAULT '',
  {PAIR:partner2},
  liefartnr2 VARCHAR(30) NOT NULL DEFAULT '',
  mwstkz INTEGER NOT NULL DEFAULT 0,
  artkz INTEGER NOT NULL DEFAULT 0,
  merkmal1 VARCHAR(30) NOT NULL DEFAULT '',
  merkmal2 VARCHAR(30) NOT NULL DEFAULT '',
  merkmal3 VARCHAR(30) NOT NULL DEFAULT '',
  merkmal4 VARCHAR(30) NOT NULL DEFAULT '',
  merkmal5 VARCHAR(30) NOT NULL DEFAULT '',
  merkmal6 VARCHAR(30) NOT NULL DEFAULT '',
  saison VARCHAR(4) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX artikel_key ON artikel (produkt_id_1, produkt_id_2, produkt_id_3);
CREATE INDEX artikel_wgn ON artikel (wgn, produkt_id_1, produkt_id_2, produkt_id_3);
CREATE INDEX artikel_artnr ON artikel (artnr);

CREATE TABLE artikelbild (
  id {ID},
  {TRIO:produkt_id},
  bild {BLOB}
);
CREATE UNIQUE INDEX artikelbild_key ON artikelbild (produkt_id_1, produkt_id_2, produkt_id_3);

CREATE TABLE artikel_filiale (
  id {ID},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL
);
CREATE UNIQUE INDEX artikel_filiale_key ON artikel_filiale (produkt_id_1, produkt_id_2, produkt_id_3, filiale);

CREATE TABLE preis (
  id {ID},
  {TRIO:produkt_id},
  preisart INTEGER NOT NULL,
  filiale INTEGER NOT NULL DEFAULT 0,
  slot_von INTEGER NOT NULL DEFAULT 0,
  slot_bis INTEGER NOT NULL DEFAULT 99,
  preis DOUBLE PRECISION NOT NULL DEFAULT 0,
  strp INTEGER NOT NULL DEFAULT 0,
  {DATE:gueltig_ab}
);
CREATE INDEX preis_key ON preis (produkt_id_1, produkt_id_2, produkt_id_3, preisart, gueltig_ab, id);

CREATE TABLE preishist (
  id {ID},
  {TRIO:produkt_id},
  {DATE:datum},
  vorgang VARCHAR(2) NOT NULL DEFAULT '',
  preisart INTEGER NOT NULL DEFAULT 0,
  preis_alt DOUBLE PRECISION NOT NULL DEFAULT 0,
  preis_neu DOUBLE PRECISION NOT NULL DEFAULT 0
);
CREATE INDEX preishist_key ON preishist (produkt_id_1, produkt_id_2, produkt_id_3, datum, id);

CREATE TABLE filiale (
  id {ID},
  nr INTEGER NOT NULL,
  name VARCHAR(40) NOT NULL DEFAULT '',
  lv_benutzen INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX filiale_nr ON filiale (nr);

CREATE TABLE mwst (
  id {ID},
  mwstkz INTEGER NOT NULL,
  {DATE:gueltig_ab},
  satz DOUBLE PRECISION NOT NULL
);
CREATE UNIQUE INDEX mwst_key ON mwst (mwstkz, gueltig_ab);

CREATE TABLE abwregel (
  id {ID},
  wgn_muster VARCHAR(10) NOT NULL DEFAULT '*',
  saisonalter_ab INTEGER NOT NULL DEFAULT 0,
  prozent INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE besttyp (
  id {ID},
  besttyp INTEGER NOT NULL,
  zeichen VARCHAR(1) NOT NULL,
  bezeichnung VARCHAR(30) NOT NULL DEFAULT '',
  istgezaehlt INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX besttyp_key ON besttyp (besttyp);

CREATE TABLE bestand (
  id {ID},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL,
  besttyp INTEGER NOT NULL,
  {MENGEN:menge:0}
);
CREATE UNIQUE INDEX bestand_key ON bestand (produkt_id_1, produkt_id_2, produkt_id_3, filiale, besttyp);

CREATE TABLE parameter (
  id {ID},
  name VARCHAR(40) NOT NULL,
  wert VARCHAR(255) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX parameter_name ON parameter (name);

CREATE TABLE meldung (
  id {ID},
  modul VARCHAR(10) NOT NULL,
  nr INTEGER NOT NULL,
  text VARCHAR(500) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX meldung_key ON meldung (modul, nr);

CREATE TABLE mandant (
  id {ID},
  {PAIR:nr},
  text VARCHAR(60) NOT NULL DEFAULT '',
  erster INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE benutzer (
  id {ID},
  name VARCHAR(40) NOT NULL,
  vollname VARCHAR(60) NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX benutzer_name ON benutzer (name);

CREATE TABLE benutzerrecht (
  id {ID},
  benutzer VARCHAR(40) NOT NULL,
  recht VARCHAR(10) NOT NULL
);
CREATE UNIQUE INDEX benutzerrecht_key ON benutzerrecht (benutzer, recht);

CREATE TABLE artsperre (
  id {ID},
  {TRIO:produkt_id},
  terminalnr INTEGER NOT NULL DEFAULT 0,
  terminal VARCHAR(60) NOT NULL DEFAULT '',
  programm VARCHAR(40) NOT NULL DEFAULT '',
  prozessid INTEGER NOT NULL DEFAULT 0,
  {DATE:sperrzeit}
);
CREATE UNIQUE INDEX artsperre_key ON artsperre (produkt_id_1, produkt_id_2, produkt_id_3);

CREATE TABLE layout (
  id {ID},
  modul VARCHAR(10) NOT NULL,
  name VARCHAR(60) NOT NULL,
  report VARCHAR(40) NOT NULL DEFAULT '',
  optionen VARCHAR(4000) NOT NULL DEFAULT '',
  parameter VARCHAR(4000) NOT NULL DEFAULT '',
  standard INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX layout_key ON layout (modul, name);

CREATE TABLE protokoll (
  id {ID},
  {DATE:zeit},
  art INTEGER NOT NULL DEFAULT 0,
  modul VARCHAR(10) NOT NULL DEFAULT '',
  benutzer VARCHAR(40) NOT NULL DEFAULT '',
  text VARCHAR(2000) NOT NULL DEFAULT ''
);
)SQL";
