#pragma once

#include "inventurliste/zeileanzeige.h"

#include <QObject>
#include <QString>

#include <functional>

class TInvMani;

// The target=actual takeover and the status reset of marked inventories, as the window's
// actions and the batch commands run them.

// Question ZOLMIK 1002: take the target over and throw away the inventories' counts, or stop.
// True when the answer goes on.
bool Soll2IstZaehlungenVerwerfen(QObject* owner);
// Question ZOLMIK 1000, asked once the selection is chosen; true on Yes.
bool Soll2IstDurchfuehren(QObject* owner);

// Takes the target over as count in each inventory, one after the other, for its articles in
// the selection (group prefix, branch; empty and 0 for all); after each inventory, uebernommen
// hears how many articles it took over. The number of articles taken over in all.
int Soll2IstUebernehmen(TInvMani& mani, const TZeileAnzeige_Arr& zeilen, const QString& selWGN, int16_t selFiliale,
                        const std::function<void(const TZeileAnzeige&, int)>& uebernommen = {});
// What the user is told when none of the inventories held an article of the selection.
QString Soll2IstNichtsUebernommen(const QString& selWGN, int selFiliale);

// Sets the inventory's status back to "Zur Buchung frei"; the statuses 1, 3 and 6 stay as they
// are, also when another terminal set them meanwhile. False when it stayed (or is gone).
bool KennzeichenZuruecksetzen(const TZeileAnzeige& z);
