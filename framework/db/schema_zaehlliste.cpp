// The two counting sheets of the inventory evaluation: the recount list of the articles whose
// differences reach the thresholds, and the blind count sheets without quantities.

extern const char* const CSchemaZaehlliste;

const char* const CSchemaZaehlliste = R"SQL(
INSERT INTO layout (modul, name, report, optionen, parameter, standard) VALUES
('KALMET', 'Nachzählliste', 'kalme011.rpt',
 'RegalMengen=J
ObererRand=10
LinkerRand=15
UntererRand=10', 'NachzaehlenAbStueck=4
NachzaehlenAbWert=150', 0),
('KALMET', 'Zählliste', 'kalme012.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', '', 0)
)SQL";
