#pragma once

#include "framework/article/iastatus.h"
#include "framework/core/datetime.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"

#include <QString>

#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

// The inventory table IA as the actions read and change it: an inventory is named by its
// count date, product group as shown ("*" for all groups, stored empty) and branch.

// The stored product group of one shown ("*" is stored empty), and back.
QString IA_WGNGespeichert(const QString& angezeigt);
QString IA_WGNAngezeigt(const QString& gespeichert);

struct TIAStand {
    bool Gefunden = false;
    TZEP_IA_KZZaehlung Status = iakzAngelegt;
    double SollEK = 0, IstEK = 0;
    TDateTime WiJahr = 0;
    int Ungezaehlt = 0;   // articles with a target not counted; only what the overview reads
};

// What identifies an inventory: count date, product group as shown and branch. Ordered as
// the overview lists inventories.
struct TIASchluessel {
    TDateTime ZaehlDatum = 0;
    QString WGN;   // as shown: "*" for all groups
    int32_t Filiale = 0;

    // the count date to the millisecond, as the database keeps it: a date read by another
    // path may differ in the last bits
    qint64 Millisekunden() const { return std::llround(ZaehlDatum * 86400000.0); }

    friend bool operator==(const TIASchluessel& a, const TIASchluessel& b)
    {
        return a.Millisekunden() == b.Millisekunden() && a.WGN == b.WGN && a.Filiale == b.Filiale;
    }
    friend bool operator<(const TIASchluessel& a, const TIASchluessel& b)
    {
        if (a.Millisekunden() != b.Millisekunden())
            return a.Millisekunden() < b.Millisekunden();
        // stored order: the empty group ("*") first
        const bool alleA = a.WGN == QLatin1String("*"), alleB = b.WGN == QLatin1String("*");
        if (alleA != alleB)
            return alleA;
        if (a.WGN != b.WGN)
            return a.WGN < b.WGN;
        return a.Filiale < b.Filiale;
    }
};

// One inventory as the overview shows it.
struct TIAInventur {
    TIASchluessel Schluessel;
    TIAStand Stand;
};


// The stored text of a status (status 0 is stored empty).
QString IA_StatusText(TZEP_IA_KZZaehlung status);

// The inventory's status and values as they are now.
TIAStand IA_Lesen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale);
TIAStand IA_Lesen(const TIASchluessel& s);

// The inventories of a fiscal year as they are now, in key order.
std::vector<TIAInventur> IA_Liste(TDateTime wiJahr);
// The fiscal years that have inventories, in the order in which the inventories' keys first
// reach each.
std::vector<TDateTime> IA_WiJahre();

// The same with the number of articles not counted (IV_UngezaehltAuswahl) of each inventory,
// as the overview shows them.
std::vector<TIAInventur> IA_ListeMitUngezaehlten(TDateTime wiJahr);
TIAStand IA_LesenMitUngezaehlten(const TIASchluessel& s);

// An article in an inventory as it is now, read in one statement: the inventory's status and
// values, the article's target records not yet posted (OhneSollsatz: it has none at all), the
// branch's total count record, and whether it has erroneous sales at the branch; only then a
// second statement reads them: those not converted yet (FVK_Lesen) and those of the count
// day's correction that another day's booking converted (FVK_ZaehltagLesen). iv names the
// target side (the fiscal year the booking reads).
struct TIAArtikel {
    TIAStand Inventur;
    std::vector<TivSatz> Sollsaetze;
    bool OhneSollsatz = true;
    std::optional<TiznsSatz> Zaehlsatz;
    TFvkZeilen Fvk;
    std::vector<TFvkSatz> FvkZaehltag;
};
TIAArtikel IA_ArtikelLesen(const TIASchluessel& inventur, const TIVInventur& iv, const TInt32Trio& id);
// The same inside a transaction, and the inventory kept from changes by others until it ends:
// a shared row lock on PostgreSQL (the takeover waits for it; one statement more); on SQLite
// the transaction's writer lock keeps it.
TIAArtikel IA_ArtikelGehalten(const TIASchluessel& inventur, const TIVInventur& iv, const TInt32Trio& id);

// The inventories of a count day in a branch, inside a transaction, kept from changes by
// others until it ends (locked for a change on PostgreSQL, in the order of their product
// groups; on SQLite the transaction's writer lock keeps them).
std::vector<TIAInventur> IA_TagGehalten(TDateTime zaehlDatum, int32_t filiale);

// Adds betrag to the inventory's counted value.
void IA_IstEKAddieren(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, double betrag);

// Sets the status when the inventory's status is one of von, in a transaction of its own that
// holds the inventory's count day; false when the inventory is missing or another status was
// found (another terminal changed it meanwhile).
bool IA_StatusSetzen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, TZEP_IA_KZZaehlung neu,
                     std::initializer_list<TZEP_IA_KZZaehlung> von);

// "dd.mm.yyyy WG Filiale n": how messages name an inventory.
QString IA_Name(TDateTime zaehlDatum, const QString& wgn, int32_t filiale);

// An inventory of a count day: its date and product group as shown.
struct TIAZaehltag {
    TDateTime ZaehlDatum = 0;
    QString WGN;
    TZEP_IA_KZZaehlung Status = iakzAngelegt;
};

// The inventories of the branch, earliest first; cancelled ones are no count.
std::vector<TIAZaehltag> IA_Zaehltage(int32_t filiale);
