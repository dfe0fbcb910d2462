#pragma once

#include "framework/db/artikelstamm.h"
#include "framework/db/blockzeile.h"
#include "framework/db/satzdatei.h"

class QSqlQuery;

// Target record: the book stock of one stock type per size at the count date.
struct TivSatz {
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    int32_t Filiale = 0;
    TInt32Trio Produkt_ID;
    QChar BestTyp;
    int32_t StandNeu = 0;
    int32_t StandAlt = 0;
    QChar KZGebucht;   // "A": posted
    TMengen100 Menge{};
};

// Target records IV. Key 0: WiJahr, ZaehlDatum, Filiale, Produkt_ID, BestTyp.
class Tivfile : public TZEP_SatzDatei<TivSatz> {
public:
    explicit Tivfile(int openMode = 0, int param = -1);

    TDatumDatenKeyFeld WiJahr{"WiJahr", "wijahr"};
    TDatumDatenKeyFeld ZaehlDatum{"ZaehlDatum", "zaehldatum"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TCharDatenKeyFeld BestTyp{"BestTyp", "besttyp"};
    TIntegerDatenFeld StandNeu{"StandNeu", "standneu"};
    TIntegerDatenFeld StandAlt{"StandAlt", "standalt"};
    TCharDatenFeld KZGebucht{"KZGebucht", "kzgebucht"};
    TMengenDatenFeld Menge{"Menge", "menge", 0};
};

// The target side of an inventory (fiscal year, count date, branch) as its booking sees it.
struct TIVInventur {
    TDateTime WiJahr = 0;
    TDateTime ZaehlDatum = 0;
    int32_t Filiale = 0;
};

// The articles still to be posted, in product-id order: those with target records not yet
// posted, and those counted ("G" record with a count) without any target record.
std::vector<TInt32Trio> IV_ZuBuchendeArtikel(const TIVInventur& inv);

// An article's target records of an inventory inside a statement of another access path: the
// condition on the table under its name or alias (wijahr, zaehldatum, filiale, produkt_id_1..3)
// and its values, the columns to select, and a row's record from column spalte on, added to
// offen unless it is posted (ohneSollsatz turns false for any record; a null id, an outer join
// that found none, changes nothing).
QString IV_ArtikelBedingung(const QString& tabelle);
QVariantList IV_ArtikelWerte(const TIVInventur& inv, const TInt32Trio& id);
QString IV_SollsatzSpalten(const QString& tabelle, TConnectorTyp typ);
void IV_SollsatzLesen(const TBlockZeile& z, int spalte, const TIVInventur& inv, const TInt32Trio& id, std::vector<TivSatz>& offen,
                      bool& ohneSollsatz);

// Marks the article's target records posted; an article without any gets one empty target
// record of the stock type given, posted, so that it is never posted twice.
void IV_GebuchtMarkieren(const TIVInventur& inv, const TInt32Trio& id, bool ohneSollsatz, QChar bestTyp);

// Articles not counted: a target of counted stock types not yet posted that is not nothing in
// every size, and no total count record ("G" with a count) of the day and branch. The grouped
// statement over iv of one fiscal year (bound first) and the condition bedingung on iv and the
// article master a: per count date, branch and article its product group, and with mengen its
// target per size (selected as MengenLeseAusdruecke selects them).
QString IV_UngezaehltAuswahl(const QString& bedingung, bool mengen, TConnectorTyp typ);

// An article of an inventory that was not counted: its product group and its target per size.
struct TivUngezaehlt {
    TInt32Trio Produkt_ID;
    QString WGN;
    TMengen100 Soll{};
};
// Those of the inventory whose product group starts with wgnPraefix ("" for all), in
// product-id order.
std::vector<TivUngezaehlt> IV_Ungezaehlt(const TIVInventur& inv, const QString& wgnPraefix);

// The articles with a posted target record at the count date and branch.
std::vector<TInt32Trio> IV_GebuchteArtikel(TDateTime zaehlDatum, int32_t filiale);

// A target record of an inventory with its article's master data, as the takeover reads it.
struct TivSollStamm {
    TArtikelStamm Stamm;
    QString BestTyp;
    bool Aktuell = false;   // the new stock is at least the old one
    TMengen100 Menge{};
};
// The inventory's target records of the articles wahl chooses; a failure raises at ort.
std::vector<TivSollStamm> IV_SollMitStamm(const TIVInventur& inv, const TArtikelWGNWahl& wahl, const QString& ort);
