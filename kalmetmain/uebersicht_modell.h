#pragma once

#include "framework/article/iazugriff.h"
#include "framework/gui/vrlistnode.h"

#include <QVariant>

#include <vector>

class TVTORVVRList;

// The overview's rows as inventories: one row per inventory of the fiscal year shown, in key
// order, each known by its key (count date, product group, branch). The list's cells are
// drawn from these records; the actions read the records, never the cells. Updates keep the
// rows that stay with their marks, the current row and the row at the top of the view.
class TUebersichtModell {
public:
    explicit TUebersichtModell(TVTORVVRList* liste) : FListe(liste) {}

    // Every row anew, for the fiscal year wiJahr; marks go.
    void Fuellen(TDateTime wiJahr, std::vector<TIAInventur> inventuren);
    // The fiscal year as read again: changed rows are redrawn, new ones appear, gone ones go.
    void Abgleichen(const std::vector<TIAInventur>& inventuren);
    // One inventory as it is now; not found or of another year: its row goes.
    void Uebernehmen(const TIASchluessel& schluessel, const TIAStand& stand);
    // The status of a row that an action of this window set.
    void StatusSetzen(const TIASchluessel& schluessel, TZEP_IA_KZZaehlung status);

    const TIAInventur& Inventur(const TVRListNode* zeile) const { return FInventuren.at(static_cast<size_t>(zeile->Index)); }
    TVRListNode* Zeile(const TIASchluessel& schluessel) const;
    TDateTime WiJahr() const { return FWiJahr; }

private:
    // Position of the key, or of the row it would go before; gefunden when it is there.
    size_t Position(const TIASchluessel& schluessel, bool& gefunden) const;
    // The cells of row i: its date shows only when the row before has another.
    std::vector<QVariant> Zellen(size_t i) const;
    void Zeichnen(size_t i);
    void Setzen(size_t i, const TIAStand& stand);
    void Einfuegen(size_t i, const TIAInventur& inventur);
    void Entfernen(size_t i);

    TVTORVVRList* FListe;
    TDateTime FWiJahr = 0;
    std::vector<TIAInventur> FInventuren;   // row i of the list is inventory i
};
