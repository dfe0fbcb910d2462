// The booking's checks of approval and of articles not counted.
#include "buchung/freigabe.h"
#include "buchung/inventurbuchung.h"

#include "framework/app/info.h"
#include "framework/app/interaktion.h"

bool TInventurBuchung::TestFreigabe(const std::vector<TBuchungsZeile>& geprueft)
{
    const QStringList fehlt = FreigabeFehlt(geprueft);
    if (!fehlt.isEmpty())
        ORVInteraktion().Meldung(maInfo, QStringLiteral("Buchen"), FreigabeText(fehlt), FUmgebung.Owner);
    return fehlt.isEmpty();
}

bool TInventurBuchung::TestUngezaehlt(const TZeileAnzeige_Arr& zeilen)
{
    const TUngezaehlte u = UngezaehlteLesen(FListe, FWiJahr, zeilen);
    return u.empty() || (FUmgebung.Ungezaehlt && FUmgebung.Ungezaehlt(u));
}
