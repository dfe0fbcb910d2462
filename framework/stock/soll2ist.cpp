// The target=actual takeover of the inventory manager: the counts of an inventory's articles
// become their targets.
#include "framework/stock/invmani.h"

#include "framework/article/besttyp.h"
#include "framework/article/ggtab.h"
#include "framework/article/iazugriff.h"
#include "framework/core/geld.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/produktblock.h"
#include "framework/db/transaktion.h"

#include <QSqlQuery>

#include <map>

namespace {

const QString COrt = QStringLiteral("TInvMani.Soll2Ist");

QSqlQuery Abfrage(const QString& sql, const QVariantList& werte)
{
    return TZEP_Connection::Ausfuehren(COrt, sql, werte);
}

QVariant Sql(TDateTime d)
{
    return TDatumTraits::ToSql(d).first();
}

using TMengen = std::array<int64_t, 100>;

// What an article of the inventory has: its size range and grid, the target of the counted
// stock types, the erroneous sales on the target, and the count so far.
struct TArtikel {
    int GrVon = 1, GrBis = 100, GGKey = 0;
    TMengen SollGezaehlt{}, Fehlverkauf{}, Zaehlung{};
};

}

int TInvMani::Soll2Ist(TDateTime zaehlDatum, const QString& wgn, int16_t filiale, const QString& selWGN, int16_t selFiliale)
{
    if (selFiliale != 0 && selFiliale != filiale)
        return 0;
    const QString iaWgn = IA_WGNGespeichert(wgn);
    // one transaction per inventory: all its articles or none. The inventory's row is held
    // from the start, so a booking's article transaction either committed before (its article
    // is left alone below) or waits until the takeover is done.
    TTransaktion t(COrt);
    const bool server = TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL;
    QSqlQuery ia = Abfrage(QStringLiteral("SELECT id, wijahr, kzzaehlung FROM ia WHERE zaehldatum = ? AND wgn = ? AND filiale = ?%1")
                               .arg(server ? QStringLiteral(" FOR UPDATE") : QString()),
                           {Sql(zaehlDatum), iaWgn, filiale});
    if (!ia.next())
        return 0;
    const qint64 iaId = ia.value(0).toLongLong();
    const QVariant wjWert = ia.value(1);
    const TDateTime wiJahr = TDatumTraits::FromSql(&wjWert);
    const QString kz = ia.value(2).toString();
    const TZEP_IA_KZZaehlung status = Char_2_IA_KZZaehlung(kz.isEmpty() ? QChar() : kz.at(0));
    if (status == iakzGebucht || status == iakzStorniert)
        return 0;   // a booked or cancelled inventory is never changed
    ia.finish();

    // the inventory's articles inside the row's group and the selection
    std::map<TInt32Trio, TArtikel, decltype(&TInt32Trio::Numerisch_Kleiner)> artikel(&TInt32Trio::Numerisch_Kleiner);
    const QString filter = QStringLiteral(" AND substr(a.wgn, 1, ?) = ? AND substr(a.wgn, 1, ?) = ?");
    const QVariantList muster{static_cast<int>(iaWgn.size()), iaWgn,
                              static_cast<int>(selWGN.size()), selWGN.isNull() ? QStringLiteral("") : selWGN};
    const QString join = QStringLiteral(" JOIN artikel a ON a.produkt_id_1 = t.produkt_id_1 AND a.produkt_id_2 = t.produkt_id_2 "
                                        "AND a.produkt_id_3 = t.produkt_id_3");
    const auto id = [](const QSqlQuery& q) { return TInt32Trio{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}; };
    const TConnectorTyp typ = TZEP_Connection::Typ();
    const auto mengen = [typ](const char* spalte, int basis) {
        return MengenLeseAusdruecke(MengenSpalten(QLatin1String(spalte), basis), typ).join(QStringLiteral(", "));
    };
    QSqlQuery iv = Abfrage(QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                          "t.besttyp, t.standneu, t.standalt, %1 FROM iv t%2 WHERE t.wijahr = ? AND "
                                          "t.zaehldatum = ? AND t.filiale = ?%3")
                               .arg(mengen("t.menge", 0), join, filter),
                           QVariantList{Sql(wiJahr), Sql(zaehlDatum), filiale} + muster);
    while (iv.next()) {
        TArtikel& a = artikel[id(iv)];
        a.GrVon = iv.value(3).toInt();
        a.GrBis = iv.value(4).toInt();
        a.GGKey = iv.value(5).toInt();
        const QString bestTyp = iv.value(6).toString();
        const int t = bestTyp.isEmpty() ? 0 : Char_2_ArtBestTyp(bestTyp.at(0));
        if (iv.value(7).toInt() < iv.value(8).toInt() || t < 1 || t > 16 || !Get_ArtBestTyp_Eigenschaften(t).IstGezaehlt)
            continue;
        const TMengen100 m = MengenLesen(iv, 9, QStringLiteral("iv"));
        for (int i = 0; i < 100; ++i)
            a.SollGezaehlt[i] += m[i];
    }
    QSqlQuery g = Abfrage(QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                         "t.gezaehlt, %1 FROM izns t%2 WHERE t.zaehldatum = ? AND t.filiale = ? AND t.satzart = 'G'%3")
                              .arg(mengen("t.gr_mesu", 1), join, filter),
                          QVariantList{Sql(zaehlDatum), filiale} + muster);
    while (g.next()) {
        TArtikel& a = artikel[id(g)];
        a.GrVon = g.value(3).toInt();
        a.GrBis = g.value(4).toInt();
        a.GGKey = g.value(5).toInt();
        if (g.value(6).toInt() != 0) {
            const TMengen100 m = MengenLesen(g, 7, QStringLiteral("izns"));
            for (int i = 0; i < 100; ++i)
                a.Zaehlung[i] += m[i];
        }
    }
    // erroneous sales up to the count date lower the target, as the list counts them
    QSqlQuery f = Abfrage(QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, t.groesse, t.vorzeichen, t.menge "
                                         "FROM fvk t%1 WHERE t.filiale = ? AND t.datum >= ? AND t.datum <= ? AND "
                                         "t.vorgangsart = 'F' AND t.belegart = '23'%2")
                              .arg(join, filter),
                          QVariantList{filiale, Sql(EncodeDate(2000, 1, 1)), Sql(zaehlDatum)} + muster);
    while (f.next()) {
        const auto it = artikel.find(id(f));
        if (it == artikel.end())
            continue;
        const int slot = GGTab_Glob().Groesse_Numerisch_2_Index(it->second.GGKey, f.value(3).toInt());
        if (slot < 0 || slot > 99)
            continue;
        const int m = f.value(5).toInt();
        it->second.Fehlverkauf[slot] += f.value(4).toString() == QLatin1String("1") || f.value(4).toString() == QLatin1String("2") ? -m : m;
    }

    // articles a booking posted already keep their counts
    for (const TInt32Trio& gebucht : IV_GebuchteArtikel(zaehlDatum, filiale))
        artikel.erase(gebucht);
    double istEK = 0;
    for (auto& [produktId, a] : artikel) {
        TMengen neu{};
        for (int i = 0; i < 100; ++i)
            neu[i] = a.SollGezaehlt[i] - a.Fehlverkauf[i];
        const QVariantList schluessel{Sql(zaehlDatum), produktId.Int1, produktId.Int2, produktId.Int3, filiale};
        Abfrage(QStringLiteral("DELETE FROM izns WHERE zaehldatum = ? AND produkt_id_1 = ? AND produkt_id_2 = ? AND "
                               "produkt_id_3 = ? AND filiale = ? AND satzart IN ('G', 'R')"),
                schluessel);
        QVariantList werte = schluessel + QVariantList{QStringLiteral("G"), 0, 1, a.GrVon, a.GrBis};
        for (int64_t m : neu)
            werte << static_cast<int>(m);
        Abfrage(QStringLiteral("INSERT INTO izns (zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, filiale, satzart, "
                               "regal, gezaehlt, grvon, grbis, %1) VALUES (%2)")
                    .arg(MengenSpalten(QStringLiteral("gr_mesu"), 1).join(QStringLiteral(", ")),
                         QStringList(static_cast<int>(werte.size()), QStringLiteral("?")).join(QStringLiteral(", "))),
                werte);
        // the counted value changes by the difference of the counts at the purchase prices
        TORV_ArtPreisView& preise = FArtLes->Preise();
        FArtLes->Laden(produktId);
        preise.SetStichtag(zaehlDatum);
        preise.SetFiliale(filiale);
        for (const TORV_PreisEintrag& e : preise.EKSet().Eintraege)
            for (int i = e.Von; i <= e.Bis && i < 100; ++i)
                istEK += static_cast<double>(neu[i] - a.Zaehlung[i]) * AufCentRunden(e.Preis);
        if (OnSoll2Ist4ArtikelNr)
            OnSoll2Ist4ArtikelNr(produktId);
    }
    Abfrage(QStringLiteral("UPDATE ia SET istek = istek + ? WHERE id = ?"), {AufCentRunden(istEK), iaId});
    t.Commit();
    return static_cast<int>(artikel.size());
}
