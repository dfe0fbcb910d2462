#include "framework/stock/buchung.h"

#include "framework/article/besttyp.h"
#include "framework/article/filialtabelle.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

void BestandBewegen(const TInt32Trio& produktId, int filiale, int bestTyp, TORV_ArtBewTyp_Pos art, TDateTime datum,
                    const TMengen100& wirkung)
{
    const QString ort = QStringLiteral("BestandBewegen");
    const QStringList mengen = MengenSpalten(QStringLiteral("menge"), 0);
    QVariantList werte{produktId.Int1, produktId.Int2, produktId.Int3, filiale, TDatumTraits::ToSql(datum).first(), 0,
                       ArtBewTyp_DbCode(art), QString(ArtBestTyp_2_Char(bestTyp))};
    for (int32_t m : wirkung)
        werte << m;
    TZEP_Connection::Ausfuehren(ort,
                                QStringLiteral("INSERT INTO bne (produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, filiale2, bewart, "
                                               "besttyp, %1) VALUES (%2)")
                                    .arg(mengen.join(QStringLiteral(", ")),
                                         QStringList(static_cast<int>(werte.size()), QStringLiteral("?")).join(QStringLiteral(", "))),
                                werte);
    if (!CORV_ArtBewTyp_Strg[art].Mengenwirksam)
        return;
    QStringList plus;
    QVariantList zusaetze;
    for (int i = 0; i < 100; ++i) {
        plus << QStringLiteral("%1 = %1 + ?").arg(mengen[i]);
        zusaetze << wirkung[i];
    }
    const QVariantList schluessel{produktId.Int1, produktId.Int2, produktId.Int3, filiale, bestTyp};
    QSqlQuery u = TZEP_Connection::Ausfuehren(ort,
                                              QStringLiteral("UPDATE bestand SET %1 WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND "
                                                             "produkt_id_3 = ? AND filiale = ? AND besttyp = ?")
                                                  .arg(plus.join(QStringLiteral(", "))),
                                              zusaetze + schluessel);
    if (u.numRowsAffected() > 0)
        return;
    QVariantList neu = schluessel;
    for (int32_t m : wirkung)
        neu << m;
    TZEP_Connection::Ausfuehren(ort,
                                QStringLiteral("INSERT INTO bestand (produkt_id_1, produkt_id_2, produkt_id_3, filiale, besttyp, %1) VALUES (%2)")
                                    .arg(mengen.join(QStringLiteral(", ")),
                                         QStringList(static_cast<int>(neu.size()), QStringLiteral("?")).join(QStringLiteral(", "))),
                                neu);
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
