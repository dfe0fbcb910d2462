#include "kalmetmain/uebersicht_modell.h"

#include "kalmetmain/uebersicht_logik.h"

#include <algorithm>
#include <cmath>

QVariant TUebersichtModell::Wert(int zeile, int spalte) const
{
    const size_t i = static_cast<size_t>(zeile);
    const TIAInventur& inv = FZeilen[i].Inventur;
    const TIAStand& s = inv.Stand;
    switch (spalte) {
    case usZaehlDatum: {
        // the date shows only when the row before has another
        const bool wieVorher = i > 0 && DateOf(FZeilen[i - 1].Inventur.Schluessel.ZaehlDatum) == DateOf(inv.Schluessel.ZaehlDatum);
        return wieVorher ? QString() : TDateTime_FormatDatum(inv.Schluessel.ZaehlDatum);
    }
    case usZaehlDatumWert:
        return inv.Schluessel.ZaehlDatum;
    case usWG:
        return inv.Schluessel.WGN;
    case usFiliale:
        return inv.Schluessel.Filiale;
    case usSollEK:
        return s.SollEK;
    case usIstEK:
        return s.IstEK;
    case usDifferenz:
        return InventurDifferenz(s.IstEK, s.SollEK);
    case usStatus:
        return CZEP_IA_KZZaehlung_2_String[s.Status];
    case usStatusKZ:
        return IA_StatusText(s.Status);
    case usUngezaehlt:
        return s.Ungezaehlt;
    default:
        return {};
    }
}

int TUebersichtModell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FZeilen.size());
}

QVariant TUebersichtModell::data(const QModelIndex& index, int role) const
{
    if (role == Qt::CheckStateRole)
        return index.isValid() && index.column() == usMarke ? QVariant(static_cast<int>(FZeilen[static_cast<size_t>(index.row())].Haken))
                                                            : QVariant();
    return TVRModell::data(index, role);
}

bool TUebersichtModell::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != usMarke)
        return false;
    // two-state: anything but checked becomes unchecked
    FZeilen[static_cast<size_t>(index.row())].Haken = value.toInt() == Qt::Checked ? Qt::Checked : Qt::Unchecked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags TUebersichtModell::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags f = TVRModell::flags(index);
    return index.column() == usMarke ? f | Qt::ItemIsUserCheckable : f;
}

void TUebersichtModell::Fuellen(TDateTime wiJahr, std::vector<TIAInventur> inventuren)
{
    beginResetModel();
    FWiJahr = wiJahr;
    FZeilen.clear();
    FZeilen.reserve(inventuren.size());
    for (TIAInventur& inv : inventuren)
        FZeilen.push_back({std::move(inv)});
    endResetModel();
}

size_t TUebersichtModell::Position(const TIASchluessel& schluessel, bool& gefunden) const
{
    const auto it = std::lower_bound(FZeilen.begin(), FZeilen.end(), schluessel,
                                     [](const TZeile& a, const TIASchluessel& k) { return a.Inventur.Schluessel < k; });
    gefunden = it != FZeilen.end() && it->Inventur.Schluessel == schluessel;
    return static_cast<size_t>(it - FZeilen.begin());
}

int TUebersichtModell::Zeile(const TIASchluessel& schluessel) const
{
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    return gefunden ? static_cast<int>(i) : -1;
}

void TUebersichtModell::Geaendert(size_t i)
{
    if (i < FZeilen.size())
        emit dataChanged(index(static_cast<int>(i), 0), index(static_cast<int>(i), columnCount() - 1));
}

void TUebersichtModell::Setzen(size_t i, const TIAStand& stand)
{
    const TIAStand& alt = FZeilen[i].Inventur.Stand;
    // most rows of a year read again are as they were: nothing to draw
    if (alt.Status == stand.Status && alt.SollEK == stand.SollEK && alt.IstEK == stand.IstEK && alt.Ungezaehlt == stand.Ungezaehlt)
        return;
    FZeilen[i].Inventur.Stand = stand;
    Geaendert(i);
}

void TUebersichtModell::Einfuegen(size_t i, const TIAInventur& inventur)
{
    beginInsertRows({}, static_cast<int>(i), static_cast<int>(i));
    FZeilen.insert(FZeilen.begin() + static_cast<std::ptrdiff_t>(i), {inventur});
    endInsertRows();
    Geaendert(i + 1);   // its date may now show on the new row instead
}

void TUebersichtModell::Entfernen(size_t i)
{
    beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
    FZeilen.erase(FZeilen.begin() + static_cast<std::ptrdiff_t>(i));
    endRemoveRows();
    Geaendert(i);
}

void TUebersichtModell::Abgleichen(const std::vector<TIAInventur>& inventuren)
{
    size_t i = 0;
    for (const TIAInventur& neu : inventuren) {
        while (i < FZeilen.size() && FZeilen[i].Inventur.Schluessel < neu.Schluessel)
            Entfernen(i);
        if (i < FZeilen.size() && FZeilen[i].Inventur.Schluessel == neu.Schluessel)
            Setzen(i, neu.Stand);
        else
            Einfuegen(i, neu);
        ++i;
    }
    while (i < FZeilen.size())
        Entfernen(i);
}

void TUebersichtModell::Uebernehmen(const TIASchluessel& schluessel, const TIAStand& stand)
{
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    const bool zeigen = stand.Gefunden && std::llround((stand.WiJahr - FWiJahr) * 86400000.0) == 0;
    if (gefunden && zeigen)
        Setzen(i, stand);
    else if (gefunden)
        Entfernen(i);
    else if (zeigen)
        Einfuegen(i, {schluessel, stand});
}

void TUebersichtModell::StatusSetzen(const TIASchluessel& schluessel, TZEP_IA_KZZaehlung status)
{
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    if (!gefunden)
        return;
    TIAStand s = FZeilen[i].Inventur.Stand;
    s.Status = status;
    Setzen(i, s);
}

TObersteZeileHalten::TObersteZeileHalten(TVTORVVRList* liste, const TUebersichtModell& modell) : FListe(liste), FModell(modell)
{
    const QModelIndex oben = liste->indexAt(QPoint(0, 0));
    if (oben.isValid() && oben.row() < modell.Anzahl())
        FSchluessel = modell.Inventur(oben.row()).Schluessel;
}

TObersteZeileHalten::~TObersteZeileHalten()
{
    if (!FSchluessel)
        return;
    const int zeile = FModell.Zeile(*FSchluessel);
    if (zeile >= 0 && FListe->indexAt(QPoint(0, 0)).row() != zeile)
        FListe->scrollTo(FModell.index(zeile, 0), QAbstractItemView::PositionAtTop);
}
