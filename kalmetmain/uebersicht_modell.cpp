#include "kalmetmain/uebersicht_modell.h"

#include "framework/gui/vrlist.h"
#include "kalmetmain/uebersicht_logik.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The row at the top of the view, to be kept there while rows above it come and go.
class TObersteZeile {
public:
    TObersteZeile(TVTORVVRList* liste, const std::vector<TIAInventur>& inventuren) : FListe(liste)
    {
        const QModelIndex oben = liste->indexAt(QPoint(0, 0));
        if (oben.isValid() && static_cast<size_t>(oben.row()) < inventuren.size())
            FSchluessel = inventuren[static_cast<size_t>(oben.row())].Schluessel;
    }
    void Wiederherstellen(const TVRListNode* zeile)
    {
        if (zeile && FListe->indexAt(QPoint(0, 0)).row() != zeile->Index)
            FListe->scrollTo(FListe->VRList()->index(zeile->Index, 0), QAbstractItemView::PositionAtTop);
    }
    const std::optional<TIASchluessel>& Schluessel() const { return FSchluessel; }

private:
    TVTORVVRList* FListe;
    std::optional<TIASchluessel> FSchluessel;
};

}

std::vector<QVariant> TUebersichtModell::Zellen(size_t i) const
{
    const TIAInventur& inv = FInventuren[i];
    const TIAStand& s = inv.Stand;
    std::vector<QVariant> z(usUngezaehlt + 1);
    const bool wieVorher = i > 0 && DateOf(FInventuren[i - 1].Schluessel.ZaehlDatum) == DateOf(inv.Schluessel.ZaehlDatum);
    z[usZaehlDatum] = wieVorher ? QString() : TDateTime_FormatDatum(inv.Schluessel.ZaehlDatum);
    z[usZaehlDatumWert] = inv.Schluessel.ZaehlDatum;
    z[usWG] = inv.Schluessel.WGN;
    z[usFiliale] = inv.Schluessel.Filiale;
    z[usSollEK] = s.SollEK;
    z[usIstEK] = s.IstEK;
    z[usDifferenz] = InventurDifferenz(s.IstEK, s.SollEK);
    z[usStatus] = CZEP_IA_KZZaehlung_2_String[s.Status];
    z[usStatusKZ] = IA_StatusText(s.Status);
    z[usUngezaehlt] = s.Ungezaehlt;
    return z;
}

void TUebersichtModell::Fuellen(TDateTime wiJahr, std::vector<TIAInventur> inventuren)
{
    FWiJahr = wiJahr;
    FInventuren = std::move(inventuren);
    TVRList* list = FListe->VRList();
    list->Clear();
    for (size_t i = 0; i < FInventuren.size(); ++i)
        list->ZeileAdd(Zellen(i));
}

size_t TUebersichtModell::Position(const TIASchluessel& schluessel, bool& gefunden) const
{
    const auto it = std::lower_bound(FInventuren.begin(), FInventuren.end(), schluessel,
                                     [](const TIAInventur& a, const TIASchluessel& k) { return a.Schluessel < k; });
    gefunden = it != FInventuren.end() && it->Schluessel == schluessel;
    return static_cast<size_t>(it - FInventuren.begin());
}

TVRListNode* TUebersichtModell::Zeile(const TIASchluessel& schluessel) const
{
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    return gefunden ? FListe->VRList()->Zeile(static_cast<int>(i)) : nullptr;
}

void TUebersichtModell::Zeichnen(size_t i)
{
    if (i < FInventuren.size())
        FListe->VRList()->SetWerte(FListe->VRList()->Zeile(static_cast<int>(i)), Zellen(i));
}

void TUebersichtModell::Setzen(size_t i, const TIAStand& stand)
{
    const TIAStand& alt = FInventuren[i].Stand;
    // most rows of a year read again are as they were: nothing to draw
    if (alt.Status == stand.Status && alt.SollEK == stand.SollEK && alt.IstEK == stand.IstEK && alt.Ungezaehlt == stand.Ungezaehlt)
        return;
    FInventuren[i].Stand = stand;
    Zeichnen(i);
}

void TUebersichtModell::Einfuegen(size_t i, const TIAInventur& inventur)
{
    FInventuren.insert(FInventuren.begin() + static_cast<std::ptrdiff_t>(i), inventur);
    FListe->VRList()->ZeileEinfuegen(static_cast<int>(i), Zellen(i));
    Zeichnen(i + 1);   // its date may now show on the new row instead
}

void TUebersichtModell::Entfernen(size_t i)
{
    FInventuren.erase(FInventuren.begin() + static_cast<std::ptrdiff_t>(i));
    FListe->VRList()->ZeileEntfernen(FListe->VRList()->Zeile(static_cast<int>(i)));
    Zeichnen(i);
}

void TUebersichtModell::Abgleichen(const std::vector<TIAInventur>& inventuren)
{
    TObersteZeile oben(FListe, FInventuren);
    size_t i = 0;
    for (const TIAInventur& neu : inventuren) {
        while (i < FInventuren.size() && FInventuren[i].Schluessel < neu.Schluessel)
            Entfernen(i);
        if (i < FInventuren.size() && FInventuren[i].Schluessel == neu.Schluessel)
            Setzen(i, neu.Stand);
        else
            Einfuegen(i, neu);
        ++i;
    }
    while (i < FInventuren.size())
        Entfernen(i);
    if (oben.Schluessel())
        oben.Wiederherstellen(Zeile(*oben.Schluessel()));
}

void TUebersichtModell::Uebernehmen(const TIASchluessel& schluessel, const TIAStand& stand)
{
    TObersteZeile oben(FListe, FInventuren);
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    const bool zeigen = stand.Gefunden && std::llround((stand.WiJahr - FWiJahr) * 86400000.0) == 0;
    if (gefunden && zeigen)
        Setzen(i, stand);
    else if (gefunden)
        Entfernen(i);
    else if (zeigen)
        Einfuegen(i, {schluessel, stand});
    if (oben.Schluessel())
        oben.Wiederherstellen(Zeile(*oben.Schluessel()));
}

void TUebersichtModell::StatusSetzen(const TIASchluessel& schluessel, TZEP_IA_KZZaehlung status)
{
    bool gefunden = false;
    const size_t i = Position(schluessel, gefunden);
    if (!gefunden)
        return;
    TIAStand s = FInventuren[i].Stand;
    s.Status = status;
    Setzen(i, s);
}
