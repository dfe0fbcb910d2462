#pragma once

#include "framework/article/iazugriff.h"
#include "framework/gui/vrlist.h"

#include <optional>
#include <vector>

// The overview's rows: one inventory of the fiscal year shown per row, in key order, each
// known by its key (count date, product group, branch) and marked or not. Every cell is
// drawn from the row's record. Updates keep the rows that stay with their marks; the view
// keeps its current row and selection.
class TUebersichtModell : public TVRModell {
    Q_OBJECT
public:
    using TVRModell::TVRModell;

    // Every row anew, for the fiscal year wiJahr; marks go.
    void Fuellen(TDateTime wiJahr, std::vector<TIAInventur> inventuren);
    // The fiscal year as read again: changed rows are redrawn, new ones appear, gone ones go.
    void Abgleichen(const std::vector<TIAInventur>& inventuren);
    // One inventory as it is now; not found or of another year: its row goes.
    void Uebernehmen(const TIASchluessel& schluessel, const TIAStand& stand);
    // The status of a row that an action of this window set.
    void StatusSetzen(const TIASchluessel& schluessel, TZEP_IA_KZZaehlung status);

    const TIAInventur& Inventur(int zeile) const { return FZeilen.at(static_cast<size_t>(zeile)).Inventur; }
    // The row of the inventory; -1 when it is not listed.
    int Zeile(const TIASchluessel& schluessel) const;
    TDateTime WiJahr() const { return FWiJahr; }

    QVariant Wert(int zeile, int spalte) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Every row has a plain two-state check box in the first column.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct TZeile {
        TIAInventur Inventur;
        Qt::CheckState Haken = Qt::Unchecked;
    };

    // Position of the key, or of the row it would go before; gefunden when it is there.
    size_t Position(const TIASchluessel& schluessel, bool& gefunden) const;
    void Geaendert(size_t i);
    void Setzen(size_t i, const TIAStand& stand);
    void Einfuegen(size_t i, const TIAInventur& inventur);
    void Entfernen(size_t i);

    TDateTime FWiJahr = 0;
    std::vector<TZeile> FZeilen;
};

// The row at the top of a view over the overview stays there while rows above it come and
// go inside this scope.
class TObersteZeileHalten {
public:
    TObersteZeileHalten(TVTORVVRList* liste, const TUebersichtModell& modell);
    ~TObersteZeileHalten();
    TObersteZeileHalten(const TObersteZeileHalten&) = delete;
    TObersteZeileHalten& operator=(const TObersteZeileHalten&) = delete;

private:
    TVTORVVRList* FListe;
    const TUebersichtModell& FModell;
    std::optional<TIASchluessel> FSchluessel;
};
