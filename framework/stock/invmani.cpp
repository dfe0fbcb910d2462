#include "framework/stock/invmani.h"

#include "framework/article/besttyp.h"
#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/stock/artbewtyp.h"

#include <QSqlError>

namespace {

std::unique_ptr<QSqlQuery> Vorbereiten(const QString& sql)
{
    auto q = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        FehlerRaise(QStringLiteral("TInvMani"), {q->lastError().text()});
    return q;
}

}

TInvMani::TInvMani() : FArtLes(TORVServerFactory::ArtLesSimpleHolen()), FLeserA(*this), FLeserB(*this) {}

void TInvMani::Artlesen_Init(const TORV_ArtInv_Zaehldatum& zd, bool, bool, bool, TDateTime auswertungsDatum)
{
    FZaehldatum = zd;
    FAuswertungsDatum = auswertungsDatum;
    FLeserA.FStichtag = zd.Tag;
    FLeserB.FStichtag = DateOf(auswertungsDatum);
}

bool TInvMani::eigen_get_equal(const TInt32Trio& id, int, bool)
{
    FBestand.clear();
    FBewegungen.clear();
    if (!FArtLes->Laden(id))
        return false;
    if (!FBestandQuery) {
        FBestandQuery = Vorbereiten(QStringLiteral("SELECT filiale, besttyp, %1 FROM bestand "
                                                   "WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?")
                                        .arg(MengenSpalten(QStringLiteral("menge"), 0).join(QStringLiteral(", "))));
        FBewegungQuery = Vorbereiten(QStringLiteral("SELECT filiale, besttyp, bewart, datum, %1 FROM bne "
                                                    "WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? "
                                                    "AND datum >= ?")
                                         .arg(MengenSpalten(QStringLiteral("menge"), 0).join(QStringLiteral(", "))));
    }
    for (QSqlQuery* q : {FBestandQuery.get(), FBewegungQuery.get()}) {
        q->bindValue(0, id.Int1);
        q->bindValue(1, id.Int2);
        q->bindValue(2, id.Int3);
    }
    // movements from the day after the earlier of both dates on
    const TDateTime ab = std::min<TDateTime>(FZaehldatum.Tag, DateOf(FAuswertungsDatum)) + 1;
    FBewegungQuery->bindValue(3, TDatumTraits::ToSql(ab).first());
    if (!FBestandQuery->exec())
        FehlerRaise(QStringLiteral("TInvMani.eigen_get_equal"), {FBestandQuery->lastError().text()});
    while (FBestandQuery->next()) {
        std::array<int32_t, 100>& m = FBestand[{FBestandQuery->value(0).toInt(), FBestandQuery->value(1).toInt()}];
        for (int i = 0; i < 100; ++i)
            m[i] = FBestandQuery->value(2 + i).toInt();
    }
    if (!FBewegungQuery->exec())
        FehlerRaise(QStringLiteral("TInvMani.eigen_get_equal"), {FBewegungQuery->lastError().text()});
    while (FBewegungQuery->next()) {
        TBewegung b;
        b.Filiale = FBewegungQuery->value(0).toInt();
        const QString typ = FBewegungQuery->value(1).toString();
        b.BestTyp = typ.isEmpty() ? 0 : Char_2_ArtBestTyp(typ.at(0));
        b.BewArt = FBewegungQuery->value(2).toInt();
        const QVariant datum = FBewegungQuery->value(3);
        b.Tag = DateOf(TDatumTraits::FromSql(&datum));
        for (int i = 0; i < 100; ++i)
            b.Menge[i] = FBewegungQuery->value(4 + i).toInt();
        FBewegungen.push_back(b);
    }
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
