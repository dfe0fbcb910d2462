#include "framework/db/files/ivfile.h"

#include "framework/db/connection.h"
#include "framework/db/produktblock.h"

#include <QSqlQuery>

Tivfile::Tivfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("IV"), openMode, param)
{
    using S = TivSatz;
    Spalten({SatzSpalte(WiJahr, &S::WiJahr),
             SatzSpalte(ZaehlDatum, &S::ZaehlDatum),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(BestTyp, &S::BestTyp),
             SatzSpalte(StandNeu, &S::StandNeu),
             SatzSpalte(StandAlt, &S::StandAlt),
             SatzSpalte(KZGebucht, &S::KZGebucht),
             SatzSpalte(Menge, &S::Menge)});
    KeyAdd({&WiJahr, &ZaehlDatum, &Filiale, &Produkt_ID, &BestTyp});
}

namespace {

const QString COrt = QStringLiteral("IV");

QVariantList Werte(const TIVInventur& inv)
{
    return {TDatumTraits::ToSql(inv.WiJahr).first(), TDatumTraits::ToSql(inv.ZaehlDatum).first(), inv.Filiale};
}

QVariantList Werte(const TIVInventur& inv, const TInt32Trio& id)
{
    return Werte(inv) + QVariantList{id.Int1, id.Int2, id.Int3};
}

}

std::vector<TInt32Trio> IV_ZuBuchendeArtikel(const TIVInventur& inv)
{
    const QVariantList w = Werte(inv);
    std::vector<TInt32Trio> r;
    TZEP_Connection::Lesen(
        COrt,
        QStringLiteral("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE wijahr = ? AND zaehldatum = ? AND filiale = ? "
                       "AND kzgebucht <> 'A' "
                       "UNION SELECT z.produkt_id_1, z.produkt_id_2, z.produkt_id_3 FROM izns z WHERE z.zaehldatum = ? AND "
                       "z.filiale = ? AND z.satzart = 'G' AND z.regal = 0 AND z.gezaehlt <> 0 AND NOT EXISTS (SELECT 1 FROM iv s "
                       "WHERE s.wijahr = ? AND s.zaehldatum = z.zaehldatum AND s.filiale = z.filiale AND "
                       "s.produkt_id_1 = z.produkt_id_1 AND s.produkt_id_2 = z.produkt_id_2 AND s.produkt_id_3 = z.produkt_id_3) "
                       "ORDER BY 1, 2, 3"),
        w + QVariantList{w[1], w[2], w[0]},
        [&r](const QSqlQuery& q) { r.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}); });
    return r;
}

QString IV_SollsatzSpalten(const QString& tabelle, TConnectorTyp typ)
{
    return QStringLiteral("%1.id, %1.besttyp, %1.standneu, %1.standalt, %1.kzgebucht, %2")
        .arg(tabelle, MengenLeseAusdruecke(MengenSpalten(tabelle + QStringLiteral(".menge"), 0), typ).join(QStringLiteral(", ")));
}

void IV_SollsatzLesen(const TBlockZeile& z, int spalte, const TIVInventur& inv, const TInt32Trio& id, std::vector<TivSatz>& offen,
                      bool& ohneSollsatz)
{
    if (z.Null(spalte))
        return;   // an outer join that found none
    ohneSollsatz = false;
    if (z.Text(spalte + 4) == QLatin1String("A"))
        return;
    TivSatz s;
    s.WiJahr = inv.WiJahr;
    s.ZaehlDatum = inv.ZaehlDatum;
    s.Filiale = inv.Filiale;
    s.Produkt_ID = id;
    const QString bestTyp = z.Text(spalte + 1);
    s.BestTyp = bestTyp.isEmpty() ? QChar(' ') : bestTyp.at(0);
    s.StandNeu = z.Int(spalte + 2);
    s.StandAlt = z.Int(spalte + 3);
    s.Menge = z.Mengen(spalte + 5, QStringLiteral("iv"));
    offen.push_back(s);
}

QString IV_ArtikelBedingung(const QString& t)
{
    return QStringLiteral("%1.wijahr = ? AND %1.zaehldatum = ? AND %1.filiale = ? AND %1.produkt_id_1 = ? AND %1.produkt_id_2 = ? AND "
                          "%1.produkt_id_3 = ?")
        .arg(t);
}

QVariantList IV_ArtikelWerte(const TIVInventur& inv, const TInt32Trio& id)
{
    return Werte(inv, id);
}

void IV_GebuchtMarkieren(const TIVInventur& inv, const TInt32Trio& id, bool ohneSollsatz, QChar bestTyp)
{
    // nothing reads them before the commit: on PostgreSQL they go with the next statement
    if (!ohneSollsatz) {
        TZEP_Connection::Vormerken(COrt, QStringLiteral("UPDATE iv SET kzgebucht = 'A' WHERE %1 AND kzgebucht <> 'A'").arg(IV_ArtikelBedingung(QStringLiteral("iv"))),
                                   Werte(inv, id));
        return;
    }
    TZEP_Connection::Vormerken(COrt,
                               QStringLiteral("INSERT INTO iv (wijahr, zaehldatum, filiale, produkt_id_1, produkt_id_2, produkt_id_3, "
                                              "besttyp, kzgebucht) VALUES (?, ?, ?, ?, ?, ?, ?, 'A')"),
                               Werte(inv, id) + QVariantList{QString(bestTyp)});
}

std::vector<TInt32Trio> IV_GebuchteArtikel(TDateTime zaehlDatum, int32_t filiale)
{
    std::vector<TInt32Trio> r;
    TZEP_Connection::Lesen(COrt,
                           QStringLiteral("SELECT DISTINCT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE "
                                          "zaehldatum = ? AND filiale = ? AND kzgebucht = 'A'"),
                           {TDatumTraits::ToSql(zaehlDatum).first(), filiale},
                           [&r](const QSqlQuery& q) { r.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}); });
    return r;
}

QString IV_UngezaehltAuswahl(const QString& bedingung, bool mengen, TConnectorTyp typ)
{
    QStringList summen, nichtNull;
    for (const QString& spalte : MengenSpalten(QStringLiteral("iv.menge"), 0)) {
        summen << QStringLiteral("SUM(%1)").arg(spalte);
        nichtNull << QStringLiteral("SUM(%1) <> 0").arg(spalte);
    }
    return QStringLiteral("SELECT iv.zaehldatum, iv.filiale, iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3, a.wgn%1 FROM iv "
                          "JOIN besttyp b ON b.zeichen = iv.besttyp AND b.istgezaehlt = 1 "
                          "JOIN artikel a ON a.produkt_id_1 = iv.produkt_id_1 AND a.produkt_id_2 = iv.produkt_id_2 AND "
                          "a.produkt_id_3 = iv.produkt_id_3 "
                          "WHERE iv.wijahr = ? AND iv.kzgebucht <> 'A' AND %2 AND NOT EXISTS (SELECT 1 FROM izns z WHERE "
                          "z.zaehldatum = iv.zaehldatum AND z.produkt_id_1 = iv.produkt_id_1 AND z.produkt_id_2 = iv.produkt_id_2 AND "
                          "z.produkt_id_3 = iv.produkt_id_3 AND z.filiale = iv.filiale AND z.satzart = 'G' AND z.regal = 0 AND "
                          "z.gezaehlt <> 0) "
                          "GROUP BY iv.zaehldatum, iv.filiale, iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3, a.wgn HAVING %3")
        .arg(mengen ? QStringLiteral(", ") + MengenLeseAusdruecke(summen, typ).join(QStringLiteral(", ")) : QString(), bedingung,
             nichtNull.join(QStringLiteral(" OR ")));
}

std::vector<TivUngezaehlt> IV_Ungezaehlt(const TIVInventur& inv, const QString& wgnPraefix)
{
    const auto sql = [](TConnectorTyp t) {
        return IV_UngezaehltAuswahl(QStringLiteral("iv.zaehldatum = ? AND iv.filiale = ? AND SUBSTR(UPPER(a.wgn), 1, ?) = ?"), true, t)
            + QStringLiteral(" ORDER BY iv.produkt_id_1, iv.produkt_id_2, iv.produkt_id_3");
    };
    static const QString anweisung[2] = {sql(TConnectorTyp::SQLite), sql(TConnectorTyp::PostgreSQL)};
    std::vector<TivUngezaehlt> r;
    TZEP_Connection::Lesen(COrt, anweisung[TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL],
                           Werte(inv) + QVariantList{static_cast<int>(wgnPraefix.size()), wgnPraefix.toUpper()}, [&r](const QSqlQuery& q) {
                               r.push_back({{q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()}, q.value(5).toString(),
                                            MengenLesen(q, 6, QStringLiteral("iv"))});
                           });
    return r;
}

std::vector<TivSollStamm> IV_SollMitStamm(const TIVInventur& inv, const TArtikelWGNWahl& wahl, const QString& ort)
{
    std::vector<TivSollStamm> r;
    const QString mengen = MengenLeseAusdruecke(MengenSpalten(QStringLiteral("t.menge"), 0), TZEP_Connection::Typ()).join(QStringLiteral(", "));
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT %1, t.besttyp, t.standneu, t.standalt, %2 FROM iv t%3 WHERE t.wijahr = ? AND "
                                                "t.zaehldatum = ? AND t.filiale = ?%4")
                                     .arg(ArtikelStammSpalten(QStringLiteral("t")), mengen, ArtikelJoin(QStringLiteral("t")), ArtikelWGNBedingung()),
                                 Werte(inv) + ArtikelWGNWerte(wahl), [&r](const QSqlQuery& q) {
        r.push_back({ArtikelStammLesen(q, 0), q.value(6).toString(), q.value(7).toInt() >= q.value(8).toInt(), MengenLesen(q, 9, QStringLiteral("iv"))});
    });
    return r;
}
