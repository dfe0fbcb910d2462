// Count days and their erroneous sales. An erroneous sale converted by the booking of one count
// day stays in the correction of the branch's other count days whose targets were taken
// before it was converted: fvk_zaehltag keeps it for each of them, so that their lists and
// bookings correct by it whichever day is booked first. Balancing postings are found by their
// movement kind.

extern const char* const CSchemaZaehltag;

const char* const CSchemaZaehltag = R"SQL(
CREATE TABLE fvk_zaehltag (
  id {ID},
  {DATE:zaehldatum},
  {TRIO:produkt_id},
  filiale INTEGER NOT NULL DEFAULT 0,
  {DATE:datum},
  uhrzeit INTEGER NOT NULL DEFAULT 0,
  groesse INTEGER NOT NULL DEFAULT 0,
  vorzeichen VARCHAR(1) NOT NULL DEFAULT '',
  menge INTEGER NOT NULL DEFAULT 0,
  fvk_id BIGINT NOT NULL DEFAULT 0
);
CREATE INDEX fvk_zaehltag_key0 ON fvk_zaehltag (filiale, zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, datum, id);
CREATE INDEX bne_bewart ON bne (bewart, filiale, datum);
)SQL";
