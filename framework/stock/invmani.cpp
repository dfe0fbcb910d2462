#include "framework/stock/invmani.h"

#include "framework/article/besttyp.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/produktblock.h"
#include "framework/stock/artbewtyp.h"

#include <limits>


TInvMani::TInvMani() : FArtLes(TORVServerFactory::ArtLesSimpleHolen()), FLeserA(*this), FLeserB(*this) {}

void TInvMani::Artlesen_Init(const TORV_ArtInv_Zaehldatum& zd, bool, bool, bool, TDateTime auswertungsDatum)
{
    FZaehldatum = zd;
    FAuswertungsDatum = auswertungsDatum;
    FLeserA.FStichtag = zd.Tag;
    FLeserB.FStichtag = DateOf(auswertungsDatum);
}

TDateTime TInvMani::BewegungenAb(TDateTime zaehlTag, TDateTime auswertungsDatum)
{
    // the stock at the end of the earlier day: movements from the day after it on
    return std::min<TDateTime>(DateOf(zaehlTag), DateOf(auswertungsDatum)) + 1;
}

void TInvMani::AbfragenMachen()
{
    const TConnectorTyp typ = TZEP_Connection::Typ();
    if (FBestandAbfrage && FAbfrageTyp == typ)
        return;
    // the statements select the quantities as the engine sends them best; made once
    const QString mengen = MengenLeseAusdruecke(MengenSpalten(QStringLiteral("t.menge"), 0), typ).join(QStringLiteral(", "));
    FAbfrageTyp = typ;
    FBestandAbfrage = std::make_unique<TProduktBlockAbfrage>(QStringLiteral("t.filiale, t.besttyp, ") + mengen,
                                                             QStringLiteral("bestand"), QString());
    FBewegungAbfrage = std::make_unique<TProduktBlockAbfrage>(QStringLiteral("t.filiale, t.besttyp, t.bewart, t.datum, ") + mengen,
                                                              QStringLiteral("bne"), QString(), QStringLiteral("t.datum >= ?"));
}

std::vector<TInvMani::TBestand> TInvMani::BestandLesen(const std::vector<TInt32Trio>& ids)
{
    AbfragenMachen();
    std::vector<TBestand> r(ids.size());
    FBestandAbfrage->Lesen(ids, [&](int i, const TBlockZeile& q) {
        r[i][{q.Int(1), q.Int(2)}] = q.Mengen(3, QStringLiteral("bestand"));
    });
    return r;
}

std::vector<std::vector<TInvMani::TBewegung>> TInvMani::BewegungenLesen(const std::vector<TInt32Trio>& ids, TDateTime ab)
{
    AbfragenMachen();
    std::vector<std::vector<TBewegung>> r(ids.size());
    FBewegungAbfrage->Lesen(
        ids,
        [&](int i, const TBlockZeile& q) {
            TBewegung b;
            b.Filiale = q.Int(1);
            const QString bestTyp = q.Text(2);
            b.BestTyp = bestTyp.isEmpty() ? 0 : Char_2_ArtBestTyp(bestTyp.at(0));
            b.BewArt = q.Int(3);
            b.Tag = DateOf(q.Datum(4));
            b.Menge = q.Mengen(5, QStringLiteral("bne"));
            r[i].push_back(b);
        },
        {TDatumTraits::ToSql(ab).first()});
    return r;
}

void TInvMani::BestandVorladen(const std::vector<TInt32Trio>& ids, IORV_ArtLesSimple& artikel)
{
    FVorrat.clear();
    std::vector<TBestand> bestand = BestandLesen(ids);
    for (size_t i = 0; i < ids.size(); ++i)
        FVorrat.emplace(ids[i], TDaten{std::move(bestand[i]), {}, artikel.Laden(ids[i])});
    // without the movements the block is of no use yet
    FVorratAb = std::numeric_limits<TDateTime>::max();
}

void TInvMani::BewegungenVorladen(const std::vector<TInt32Trio>& ids, TDateTime ab)
{
    FBewegungIds = ids;
    FBewegungVorrat = BewegungenLesen(ids, ab);
    FBewegungAb = ab;
}

void TInvMani::BewegungenUebernehmen(TInvMani& andere)
{
    for (size_t i = 0; i < andere.FBewegungIds.size(); ++i) {
        const auto it = FVorrat.find(andere.FBewegungIds[i]);
        if (it != FVorrat.end())
            it->second.Bewegungen = std::move(andere.FBewegungVorrat[i]);
    }
    FVorratAb = andere.FBewegungAb;
}

void TInvMani::VorratTauschen(TInvMani& andere)
{
    FArtLes->VorratTauschen(*andere.FArtLes);
    std::swap(FVorrat, andere.FVorrat);
    std::swap(FVorratAb, andere.FVorratAb);
}

bool TInvMani::eigen_get_equal(const TInt32Trio& id, int, bool)
{
    FBestand.clear();
    FBewegungen.clear();
    const TDateTime ab = BewegungenAb(FZaehldatum.Tag, FAuswertungsDatum);
    const auto it = FVorrat.find(id);
    const bool vorrat = it != FVorrat.end() && FVorratAb <= ab;
    if (vorrat ? !it->second.Bekannt : !FArtLes->Laden(id))
        return false;
    TDaten daten = vorrat ? it->second : TDaten{std::move(BestandLesen({id}).front()), std::move(BewegungenLesen({id}, ab).front())};
    FBestand = std::move(daten.Bestand);
    for (const TBewegung& b : daten.Bewegungen)
        if (b.Tag >= ab)
            FBewegungen.push_back(b);
    return true;
}

TORV_Intv100_Sortiment_Me TInvMani::Bestand(int filiale, int besttyp, TDateTime tag) const
{
    TORV_Intv100_Sortiment_Me r;
    const auto it = FBestand.find({filiale, besttyp});
    if (it != FBestand.end())
        r.Me = it->second;
    for (const TBewegung& b : FBewegungen)
        if (b.Filiale == filiale && b.BestTyp == besttyp && b.Tag > tag)
            for (int i = 0; i < 100; ++i)
                r.Me[i] -= b.Menge[i];
    r.MinMax_Suchen();
    return r;
}

TORV_Intv100_Sortiment_Me TInvMani::Inventurdifferenzen(int filiale, TDateTime von, TDateTime bis) const
{
    TORV_Intv100_Sortiment_Me r;
    const int code = ArtBewTyp_DbCode(abtInventurdifferenz);
    for (const TBewegung& b : FBewegungen)
        if (b.Filiale == filiale && b.BewArt == code && b.Tag > von && b.Tag <= bis)
            for (int i = 0; i < 100; ++i)
                r.Me[i] += b.Menge[i];
    r.MinMax_Suchen();
    return r;
}

void TInvMani::ArtBuchen_Init(bool, bool)
{
    FArtBucher = std::make_unique<TArtBucher>();
}

TORV_Intv100_Sortiment_MeMitOV TInvMani_BestandLeser::Lesen() const
{
    TORV_Intv100_Sortiment_MeMitOV r;
    if (FArt == CMengenArtInventurdifferenz) {
        const TDateTime zaehl = FMani.FZaehldatum.Tag;
        r.Me = FMani.Inventurdifferenzen(FFiliale, std::min(FStichtag, zaehl), std::max(FStichtag, zaehl));
    } else {
        r.Me = FMani.Bestand(FFiliale, FArt, FStichtag);
    }
    return r;
}
