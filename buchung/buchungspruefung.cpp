// The booking's checks before anything is posted: the deviation of the values, open
// inventories, approval, articles not counted, and the status that claims the inventories.
#include "buchung/freigabe.h"
#include "buchung/inventurbuchung.h"

#include "framework/app/info.h"
#include "framework/app/interaktion.h"
#include "framework/core/geld.h"

#include <algorithm>
#include <cmath>

namespace {

// A value as a number; NaN when it is none.
double Zahl(const QVariant& v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : std::nan("");
}

qint64 Cent(double betrag)
{
    return std::llround(AufCentRunden(betrag) * 100);
}

}

bool Innerhalb5Prozent(const QVariant& sollEK, const QVariant& istEK)
{
    const double a = Zahl(sollEK), b = Zahl(istEK);
    if (std::isnan(b))
        return false;
    const qint64 soll = std::isnan(a) ? 0 : Cent(a), ist = Cent(b);
    if (soll == 0)
        return ist == 0;
    // |soll - ist| / |soll| < 5 %, exactly in cents
    return 20 * std::llabs(soll - ist) < std::llabs(soll);
}

bool TInventurBuchung::Test5Proz(const std::vector<TBuchungsZeile>& geprueft)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.Test5Proz"), [&] {
        r = std::all_of(geprueft.begin(), geprueft.end(), [](const TBuchungsZeile& z) { return Innerhalb5Prozent(z.SollEK, z.IstEK); });
    });
    return r;
}

bool TInventurBuchung::TestOffen(const std::vector<TBuchungsZeile>& geprueft)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.TestOffen"), [&] {
        r = std::none_of(geprueft.begin(), geprueft.end(), [](const TBuchungsZeile& z) {
            return !z.Gefunden || z.Status == iakzInZaehlung || z.Status == iakzGebucht || z.Status == iakzStorniert;
        });
    });
    return r;
}


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

std::vector<TBuchungsZeile> TInventurBuchung::Inventuren_AbschlussUnvo(const std::vector<TBuchungsZeile>& zeilen)
{
    std::vector<TBuchungsZeile> bereit;
    ORVGuard(QStringLiteral("TfrmKalmetMain.Inventuren_AbschlussUnvo"), [&] {
        for (const TBuchungsZeile& z : zeilen) {
            const TZeileAnzeige& i = z.Zeile;
            if (IA_StatusSetzen(i.ZaehlDatum, i.WGN, i.Filiale, iakzTeilweiseGebucht, {iakzAngelegt, iakzGezaehlt, iakzFreigegeben})) {
                StatusSetzen(i, iakzTeilweiseGebucht);
                bereit.push_back(z);
                continue;
            }
            // left open by an earlier run or being booked elsewhere
            const TIAStand jetzt = IA_Lesen(i.ZaehlDatum, i.WGN, i.Filiale);
            if (jetzt.Gefunden && jetzt.Status == iakzTeilweiseGebucht)
                bereit.push_back(z);
            else
                Geaendert(i, jetzt);
        }
    });
    return bereit;
}
