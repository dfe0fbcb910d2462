#pragma once

#include "framework/db/satzdatei.h"

// Sales line, as the sales manager writes it (also from converted erroneous sales).
struct TlsnSatz {
    TIntPair Mandant;
    TDateTime Datum = 0;
    int32_t Filiale = 0;
    int32_t Zusatznummer1 = 0;
    int32_t Zusatznummer2 = 0;
    QString Belegcode;
    QString Zusatztext;
    TInt32Trio Produkt_ID;
    int32_t Groesse = 0;
    int32_t GroessenIndex = 0;
    QChar Vorzeichen;
    int32_t Menge = 0;
    double Wert1 = 0;
    double Wert2 = 0;
    TDateTime Uhrzeit = 0;
    TInt32Trio Referenz;
};

// Sales lines LSN. Key 0: Filiale, Datum, Produkt_ID.
class Tlsnfile : public TZEP_SatzDatei<TlsnSatz> {
public:
    explicit Tlsnfile(int openMode = 0, int param = -1);

    TIntPairDatenFeld Mandant{"Mandant", "mandant"};
    TDatumDatenKeyFeld Datum{"Datum", "datum"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TIntegerDatenFeld Zusatznummer1{"Zusatznummer1", "zusatznummer1"};
    TIntegerDatenFeld Zusatznummer2{"Zusatznummer2", "zusatznummer2"};
    TStringDatenFeld Belegcode{"Belegcode", "belegcode", 2};
    TStringDatenFeld Zusatztext{"Zusatztext", "zusatztext", 40};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenFeld Groesse{"Groesse", "groesse"};
    TIntegerDatenFeld GroessenIndex{"GroessenIndex", "groessenindex"};
    TCharDatenFeld Vorzeichen{"Vorzeichen", "vorzeichen"};
    TIntegerDatenFeld Menge{"Menge", "menge"};
    TDoubleDatenFeld Wert1{"Wert1", "wert1"};
    TDoubleDatenFeld Wert2{"Wert2", "wert2"};
    TDatumDatenFeld Uhrzeit{"Uhrzeit", "uhrzeit"};
    TInt32TrioDatenFeld Referenz{"Referenz", "referenz"};
};
