#pragma once

#include "framework/article/iastatus.h"
#include "framework/core/int32trio.h"
#include "framework/stock/sperre.h"
#include "inventurliste/mengenfeld.h"
#include "inventurliste/zeileanzeige.h"

#include <QObject>

#include <functional>
#include <vector>

class TInventurliste;
class Tlsnfile;
struct TFvkSatz;

// A checked row of the overview as the booking's checks read it: the inventory, its values
// at purchase prices and its status.
struct TBuchungsZeile {
    TZeileAnzeige Zeile;
    QVariant SollEK, IstEK;   // the cells as shown; a cell that is no number counts as such
    TZEP_IA_KZZaehlung Status = iakzAngelegt;
};

// What the window or the booking command supplies.
struct TBuchungsUmgebung {
    // whether the article belongs to the product-group pattern ("KI*", "*")
    std::function<bool(const TInt32Trio&, const QString&)> TestWG;
    // the article being posted (its number); nachrichten: the window may answer meanwhile
    std::function<void(const QString& artNr, bool nachrichten)> Artikel;
    // an inventory got a new status
    std::function<void(const TZeileAnzeige&, TZEP_IA_KZZaehlung)> Status;
    // the progress shows (true) or goes (false)
    std::function<void(bool)> Fortschritt;
    QObject* Owner = nullptr;   // of the questions and messages
};

// Closing of inventories: the checks and questions before, and the posting of every article's
// count difference under its article lock, one transaction per article (stock movements and
// stock, converted erroneous sales and the posted mark of its target records, all or none).
// The window and the booking command drive it alike.
class TInventurBuchung {
public:
    TInventurBuchung(TInventurliste& liste, TDateTime wiJahr, TBuchungsUmgebung umgebung);

    // The checks, questions and the posting for the checked rows; zeilen are the marked ones
    // (checked and not cancelled). True when the posting ran and no article stayed locked.
    bool InvBuchen(const std::vector<TBuchungsZeile>& geprueft, const TZeileAnzeige_Arr& zeilen, std::vector<TZEP_clMeldung>& AMeldungen);

    // Every checked row's counted value lies within 5 % of its target value.
    static bool Test5Proz(const std::vector<TBuchungsZeile>& geprueft);
    // No checked row is in counting, booked or cancelled.
    static bool TestOffen(const std::vector<TBuchungsZeile>& geprueft);
    // The trial run over inventories of branch 0 and of storage-location branches finds no
    // article with a difference left.
    bool TestLagerfilialen(const TZeileAnzeige_Arr& zeilen);
    // Status 4 (closing incomplete) for the rows' inventories of status 2 or 3 (a cancelled
    // row is never one of them).
    void Inventuren_AbschlussUnvo(const std::vector<TBuchungsZeile>& zeilen);

    // Posts (or, in the trial run, only checks) the inventories of the rows.
    void InvBuchenF(const TZeileAnzeige_Arr& zeilen, bool& AAbgelehnt, bool ATestlauf, std::vector<TZEP_clMeldung>& AMeldungen);
    // Converts the article's erroneous sales at the branch into sales lines.
    void FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale);

private:
    void InvBearbeitenInventur(int32_t AFiliale, const QString& AWGNMuster, TDateTime AZaehlDatum, bool ATestlauf,
                               bool& AAbgelehnt, std::vector<TZEP_clMeldung>& AMeldungen, const TZeileAnzeige& zeile);
    // True when the article's target records are posted (or it has none).
    bool InvBuchenF_Artikel(int32_t AFiliale, const TInt32Trio& AProdId, TMengenfeld& AMengenfeld, TZEP_clMeldung& AMeldung,
                            TDateTime AZaehlDatum, bool ATestlauf, bool& AAbgelehnt);
    void FVKWandeln(const TFvkSatz& fvk, qint64 id, int& AErgebnis);
    TDateTime BuchDatum(const TInt32Trio& AProdId, bool mitPreisHistorie) const;
    void StatusSetzen(const TZeileAnzeige& zeile, TZEP_IA_KZZaehlung status);

    TInventurliste& FListe;
    TDateTime FWiJahr;
    TBuchungsUmgebung FUmgebung;
};

// The 5-percent test of one row: the counted value deviates from the target value by less
// than 5 %; a target of (nearly) nothing passes only with (nearly) nothing counted.
bool Innerhalb5Prozent(const QVariant& sollEK, const QVariant& istEK);
