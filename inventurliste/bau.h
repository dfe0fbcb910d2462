#pragma once

#include "inventurliste/aufrechnen.h"
#include "inventurliste/druckconfig.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class TInventurliste;
struct TInventurSchluessel;

// The marked rows under the product-group text they are listed with, in the order of the texts.
using TWGNZeilen = std::map<QString, TZeileAnzeige_Arr>;

// The group text a row is listed under for the selected group: the more specific of both,
// the selection for a row of all groups ("*"), "-" for a row outside the selection.
QString GetWGN_4_Zeile(const TZeileAnzeige& Zeile, const QString& SelWGN);
// The rows by group text. Without netting, rows of other branches than SelFil (0: any)
// are left out; netting needs them.
TWGNZeilen GetWGNs(const TZeileAnzeige_Arr& Zeilen, bool FilGegAufrechnen, const QString& SelWGN, int32_t SelFil);

// The build of the print tables of marked inventories: for every product group of the rows
// its articles in product-id order, each with its quantities in every row's inventory, its
// print data, netting and write-downs, written to INVL/INVR (or INVUE for an overview). The
// window and the batch command drive it alike.
class TInventurlisteBau {
public:
    // Called with the article number before each article is computed; the caller shows it
    // and lets the user interface answer.
    using TFortschritt = std::function<void(const QString& ArtNr)>;

    TInventurlisteBau(TInventurliste& AListe, const TDruckConfig& AConfig, TDateTime AAuswertungsDatum);

    // The request for the marked rows, the selection and the chosen layout: the layout's
    // options "Gegenrechnen", "KVK" and "RegalMengen" are on when "J". Back-calculation is
    // the caller's to decide (Rechnen stays off).
    static TDruckConfig Anfrage(TInventurliste& AListe, const TZeileAnzeige_Arr& AZeilen, const QString& SelWGN,
                                int32_t SelFil, const TLayOutParams& ALayoutParams, TDateTime AWiJahr);

    // Creates the print tables in ordner, fills and closes them; false when anything failed on
    // the way (each failure is registered with its location, none is shown): the tables are
    // then no list to print.
    bool Ausfuehren(const QString& ordner, const TFortschritt& fortschritt);
    // After a failed build: its first failure, and how many more were registered.
    const QString& Fehler() const { return FFehler; }

private:
    std::unique_ptr<TZEP_List<TInt32Trio>> FillProdID_List(const TWGNZeilen& wgns);
    bool CheckProduktID(const TZEP_List<TInt32Trio>* ids, const TInt32Trio& id);
    // a block of articles of one product group and the rows it is computed for
    struct TBlock {
        std::vector<TInt32Trio> Ids;
        const QString* Key;
        const TZeileAnzeige_Arr* Zeilen;
    };
    TDateTime BewegungenAb(const TZeileAnzeige_Arr& zeilen) const;
    std::vector<TInventurSchluessel> Inventuren(const TZeileAnzeige_Arr& zeilen) const;
    // shelf quantities are listed, except in a back-calculation
    bool MitRegalen() const { return FConfig.MitRegalmengen && !FConfig.Rechnen; }
    void BlockBerechnen(const TBlock& block, const TFortschritt& fortschritt);
    void ArtikelBerechnen(const TInt32Trio& id, const QString& key, const TZeileAnzeige_Arr& zeilen);

    TInventurliste& FListe;
    const TDruckConfig FConfig;
    const TDateTime FAuswertungsDatum;
    std::unique_ptr<TinvlListe> FSummen;
    QString FFehler;
};
