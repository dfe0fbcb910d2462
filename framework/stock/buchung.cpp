#include "framework/stock/buchung.h"

#include "framework/article/besttyp.h"
#include "framework/article/filialtabelle.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

namespace {

const QStringList& Mengen()
{
    static const QStringList m = MengenSpalten(QStringLiteral("menge"), 0);
    return m;
}

QString Platzhalter(int n)
{
    return QStringList(n, QStringLiteral("?")).join(QStringLiteral(", "));
}

const QString& BewegungEinfuegen()
{
    static const QString sql = QStringLiteral("INSERT INTO bne (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, filiale2, bewart, "
                                              "besttyp, %1) VALUES (%2)")
                                   .arg(Mengen().join(QStringLiteral(", ")), Platzhalter(108));
    return sql;
}

const QString& BestandAendern()
{
    static const QString sql = [] {
        QStringList plus;
        for (const QString& m : Mengen())
            plus << QStringLiteral("%1 = %1 + ?").arg(m);
        return QStringLiteral("UPDATE bestand SET %1 WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? AND filiale = ? AND "
                              "besttyp = ?")
            .arg(plus.join(QStringLiteral(", ")));
    }();
    return sql;
}

const QString& BestandEinfuegen()
{
    static const QString sql = QStringLiteral("INSERT INTO bestand (produkt_id_1, produkt_id_2, produkt_id_3, filiale, besttyp, %1) VALUES (%2)")
                                   .arg(Mengen().join(QStringLiteral(", ")), Platzhalter(105));
    return sql;
}

}

void BestandBewegen(const TInt32Trio& produktId, int filiale, int bestTyp, TORV_ArtBewTyp_Pos art, TDateTime datum,
                    const TMengen100& wirkung)
{
    const QString ort = QStringLiteral("BestandBewegen");
    QVariantList mengen;
    mengen.reserve(100);
    for (int32_t m : wirkung)
        mengen << m;
    TZEP_Connection::Wiederholen(ort, BewegungEinfuegen(),
                                 QVariantList{produktId.Int1, produktId.Int2, produktId.Int3, filiale, TDatumTraits::ToSql(datum).first(), 0,
                                              ArtBewTyp_DbCode(art), QString(ArtBestTyp_2_Char(bestTyp))}
                                     + mengen);
    if (!CORV_ArtBewTyp_Strg[art].Mengenwirksam)
        return;
    const QVariantList schluessel{produktId.Int1, produktId.Int2, produktId.Int3, filiale, bestTyp};
    if (TZEP_Connection::Wiederholen(ort, BestandAendern(), mengen + schluessel) == 0)
        TZEP_Connection::Wiederholen(ort, BestandEinfuegen(), schluessel + mengen);
}

void TArtBucher::Buchen(TORV_ArtBewTyp_Pos art, int filiale, int, const TZusatzBuchDaten& zusatz, const TInt32Trio& produktId,
                        TBuchErgebnisListe& ergebnis)
{
    const auto it = FMengen.find(filiale);
    if (it == FMengen.end())
        return;
    if (!GlobFilialTabelle_GetInstance()->Filialen().count(filiale)) {
        ergebnis.Melden(TInfoKoord(QStringLiteral("BUCHUNG"), 1), QStringLiteral("Die Filiale %1 gibt es nicht.").arg(filiale));
        return;
    }
    TMengen100 wirkung{};
    for (int i = 0; i < 100; ++i)
        wirkung[i] = -it->second[i];
    BestandBewegen(produktId, filiale, CBestTyp, art, zusatz.BuchDatum, wirkung);
    FMengen.erase(it);
}
