// Print layouts: who changed a layout last and when (a later save that would overwrite a
// change it has not seen is refused), and the ten layouts of the inventory evaluation.

extern const char* const CSchemaV2;

const char* const CSchemaV2 = R"SQL(
ALTER TABLE layout ADD COLUMN aenderung INTEGER NOT NULL DEFAULT 0;
ALTER TABLE layout ADD COLUMN benutzer VARCHAR(40) NOT NULL DEFAULT '';
ALTER TABLE layout ADD COLUMN {DATE:geaendert};

INSERT INTO layout (modul, name, report, optionen, parameter, standard) VALUES
('KALMET', 'Übersicht nach Warengruppen zu EK-Preisen', 'kalme001.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=WGN
Wert=EK', 0),
('KALMET', 'Inventurliste summiert', 'kalme002.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'FilNull=J', 0),
('KALMET', 'Inventurliste je Filiale und Artikel mit Größen', 'kalme003.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'FilNull=N', 1),
('KALMET', 'Inventurliste mit Regalmengen', 'kalme004.rpt',
 'RegalMengen=J
ObererRand=10
LinkerRand=15
UntererRand=10', 'FilNull=N', 0),
('KALMET', 'Übersicht nach Filialen zu EK-Preisen', 'kalme005.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=Filiale
Wert=EK', 0),
('KALMET', 'Übersicht nach Warengruppen zu abgewerteten EK-Preisen', 'kalme006.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=WGN
Wert=EKAbgewertet', 0),
('KALMET', 'Übersicht nach Warengruppen zu VK-Preisen', 'kalme007.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=WGN
Wert=VK', 0),
('KALMET', 'Übersicht nach Filialen zum zweiten VK-Preis', 'kalme008.rpt',
 'KVK=J
ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=Filiale
Wert=VK', 0),
('KALMET', 'Inventurliste gegengerechnet über Filialen', 'kalme009.rpt',
 'Gegenrechnen=J
Listentyp=Filueber
ObererRand=10
LinkerRand=15
UntererRand=10', 'MinDiff=1
FilNull=N', 0),
('KALMET', 'Übersicht nach Warengruppen mit Mehrwertsteuer', 'kalme010.rpt',
 'ObererRand=10
LinkerRand=15
UntererRand=10', 'Gruppierung=WGN
Wert=EK
MitMwSt=J', 0)
)SQL";
