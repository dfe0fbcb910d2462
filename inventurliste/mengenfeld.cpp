#include "inventurliste/mengenfeld.h"

#include "framework/article/besttyp.h"
#include "framework/core/fehler.h"
#include "framework/db/files/fvkfile.h"

void MengenfeldZaehlsatzAddieren(TMengenfeld& feld, const TiznsSatz& satz, const QString& ort)
{
    if (satz.Gezaehlt == 0)
        return;
    if (satz.Satzart != QChar('G'))
        FehlerRaise(ort, {QStringLiteral("Gesamtzählsatz erwartet!")});
    for (int n = 1; n <= 100; ++n) {
        feld[mfIst].Me[n - 1] += satz.GR_MESU[n - 1];
        feld[mfDiff].Me[n - 1] += satz.GR_MESU[n - 1];
    }
}

void RegalmengeAnfuegen(TRegalMengen& regale, const TiznsSatz& satz, const QString& ort)
{
    if (satz.Gezaehlt == 0)
        return;
    if (satz.Satzart != QChar('R'))
        FehlerRaise(ort, {QStringLiteral("Regalsatz erwartet!")});
    TRegalMenge& r = regale.emplace_back();
    r.Regal = static_cast<int16_t>(satz.Regal);
    r.Menge_Regal.Fil = satz.Filiale;
    const int von = satz.GrVon - 1, bis = satz.GrBis - 1;
    r.Menge_Regal.Me.MinInd = static_cast<uint8_t>(std::clamp(von, 0, 99));
    r.Menge_Regal.Me.MaxInd = static_cast<uint8_t>(std::clamp(bis, 0, 99));
    if (bis < von)
        return;
    for (int i = std::max(von, 0); i <= std::min(bis, 99); ++i) {
        const int32_t q = satz.GR_MESU[i];
        if (q != 0) {
            r.Gefuellt = true;
            r.GesMenge += q;
            r.Menge_Regal.Me.Me[i] = q;
        }
    }
}

void MengenfeldSollsatzAddieren(TMengenfeld& feld, const TivSatz& satz, const std::function<bool(int)>& istGezaehlt)
{
    if (satz.StandNeu < satz.StandAlt)
        return;
    const int t = Char_2_ArtBestTyp(satz.BestTyp);
    if (t < 1 || t > 16)
        return;
    const bool gezaehlt = istGezaehlt(t);
    for (int i = 0; i < 100; ++i) {
        const int32_t q = satz.Menge[i];
        feld[t - 1].Me[i] = q;
        feld[mfSoll].Me[i] += q;
        if (gezaehlt)
            feld[mfDiff].Me[i] -= q;
        else
            feld[mfIst].Me[i] += q;
    }
}

void FehlverkaufAnwenden(TMengenfeld& feld, int slot, QChar vorzeichen, int32_t menge)
{
    const int32_t d = FVK_VerkaufteMenge(vorzeichen, menge);
    feld[mfFVK].Me[slot] -= d;
    feld[mfSoll].Me[slot] -= d;
    feld[mfDiff].Me[slot] += d;
}

void BestandsbewegungAnwenden(TMengenfeld& feld, int besttyp, const TORV_Intv100_Sortiment_Me& bewegung, int32_t f)
{
    TORV_Intv100_Sortiment_Me m;
    m.CopyMitFaktor(bewegung, f);
    for (TORV_Intv100_Sortiment_Me* v : {&feld[besttyp - 1], &feld[mfSoll], &feld[mfIst]}) {
        v->MinMax_Bestimmen();
        v->Add(m);
    }
    feld[besttyp - 1].MinMax_Bestimmen();
}
