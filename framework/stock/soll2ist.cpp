// The target=actual takeover of the inventory manager: the counts of an inventory's articles
// become their targets.
#include "framework/stock/invmani.h"

#include "framework/article/besttyp.h"
#include "framework/article/ggtab.h"
#include "framework/article/iazugriff.h"
#include "framework/core/geld.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/produktblock.h"
#include "framework/db/transaktion.h"

#include <QSqlQuery>

#include <algorithm>
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
    // one transaction per inventory: all its articles or none. The count day is held from the
    // start (its inventories share the count records), so a booking's article transaction
    // either committed before (its article is left alone below) or waits until the takeover is done.
    TTransaktion t(COrt);
    const std::vector<TIAInventur> tag = IA_TagGehalten(zaehlDatum, filiale);
    const auto inventur = std::find_if(tag.begin(), tag.end(), [&](const TIAInventur& i) { return IA_WGNGespeichert(i.Schluessel.WGN) == iaWgn; });
    if (inventur == tag.end() || inventur->Stand.Status == iakzGebucht || inventur->Stand.Status == iakzStorniert)
        return 0;   // a booked or cancelled inventory is never changed
    const TDateTime wiJahr = inventur->Stand.WiJahr;

    // every row is read before anything is looked up: a look-up that runs a statement while a
    // read is under way would cut the read short on PostgreSQL
    std::map<TInt32Trio, TArtikel, decltype(&TInt32Trio::Numerisch_Kleiner)> artikel(&TInt32Trio::Numerisch_Kleiner);
    const QString filter = QStringLiteral(" AND substr(a.wgn, 1, ?) = ? AND substr(a.wgn, 1, ?) = ?");
    const QVariantList muster{static_cast<int>(iaWgn.size()), iaWgn,
                              static_cast<int>(selWGN.size()), selWGN.isNull() ? QStringLiteral("") : selWGN};
    const QString join = QStringLiteral(" JOIN artikel a ON a.produkt_id_1 = t.produkt_id_1 AND a.produkt_id_2 = t.produkt_id_2 "
                                        "AND a.produkt_id_3 = t.produkt_id_3");
    const auto id = [](const QSqlQuery& q) { return TInt32Trio{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}; };
    const auto stamm = [&](const QSqlQuery& q) -> TArtikel& {
        TArtikel& a = artikel[id(q)];
        a.GrVon = q.value(3).toInt();
        a.GrBis = q.value(4).toInt();
        a.GGKey = q.value(5).toInt();
        return a;
    };
    const TConnectorTyp typ = TZEP_Connection::Typ();
    const auto mengen = [typ](const char* spalte, int basis) {
        return MengenLeseAusdruecke(MengenSpalten(QLatin1String(spalte), basis), typ).join(QStringLiteral(", "));
    };
    struct TSoll {
        TArtikel* A;
        QString BestTyp;
        bool Aktuell;
        TMengen100 Menge;
    };
    std::vector<TSoll> soll;
    TZEP_Connection::Wiederholen(COrt,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                                "t.besttyp, t.standneu, t.standalt, %1 FROM iv t%2 WHERE t.wijahr = ? AND "
                                                "t.zaehldatum = ? AND t.filiale = ?%3")
                                     .arg(mengen("t.menge", 0), join, filter),
                                 QVariantList{Sql(wiJahr), Sql(zaehlDatum), filiale} + muster, [&](const QSqlQuery& q) {
        soll.push_back({&stamm(q), q.value(6).toString(), q.value(7).toInt() >= q.value(8).toInt(), MengenLesen(q, 9, QStringLiteral("iv"))});
    });
    TZEP_Connection::Wiederholen(COrt,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                                "t.gezaehlt, %1 FROM izns t%2 WHERE t.zaehldatum = ? AND t.filiale = ? AND t.satzart = 'G'%3")
                                     .arg(mengen("t.gr_mesu", 1), join, filter),
                                 QVariantList{Sql(zaehlDatum), filiale} + muster, [&](const QSqlQuery& q) {
        TArtikel& a = stamm(q);
        if (q.value(6).toInt() != 0) {
            const TMengen100 m = MengenLesen(q, 7, QStringLiteral("izns"));
            for (int i = 0; i < 100; ++i)
                a.Zaehlung[i] += m[i];
        }
    });
    // erroneous sales of the count's correction lower the target, as the list counts them:
    // those not converted yet and those another count day's booking converted
    std::vector<std::pair<TInt32Trio, TFvkSatz>> fehlverkaeufe;
    TZEP_Connection::Wiederholen(COrt,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, t.groesse, t.vorzeichen, t.menge "
                                                "FROM fvk t%1 WHERE t.filiale = ? AND t.datum >= ? AND t.datum <= ? AND "
                                                "t.vorgangsart = 'F' AND t.belegart = '23'%2")
                                     .arg(join, filter),
                                 QVariantList{filiale, Sql(EncodeDate(2000, 1, 1)), Sql(zaehlDatum)} + muster, [&](const QSqlQuery& q) {
        TFvkSatz f;
        f.Groesse = q.value(3).toInt();
        const QString vz = q.value(4).toString();
        f.Vorzeichen = vz.isEmpty() ? QChar() : vz.at(0);
        f.Menge = q.value(5).toInt();
        fehlverkaeufe.emplace_back(id(q), f);
    });
    for (const auto& [produktId, saetze] : FVK_ZaehltagLesen(zaehlDatum, filiale, COrt))
        for (const TFvkSatz& f : saetze)
            fehlverkaeufe.emplace_back(produktId, f);

    for (const TSoll& s : soll) {
        const int t = s.BestTyp.isEmpty() ? 0 : Char_2_ArtBestTyp(s.BestTyp.at(0));
        if (!s.Aktuell || t < 1 || t > 16 || !Get_ArtBestTyp_Eigenschaften(t).IstGezaehlt)
            continue;
        for (int i = 0; i < 100; ++i)
            s.A->SollGezaehlt[i] += s.Menge[i];
    }
    for (const auto& [produktId, f] : fehlverkaeufe) {
        const auto it = artikel.find(produktId);
        if (it == artikel.end())
            continue;
        const int slot = GGTab_Glob().Groesse_Numerisch_2_Index(it->second.GGKey, f.Groesse);
        if (slot < 0 || slot > 99)
            continue;
        it->second.Fehlverkauf[slot] += f.Vorzeichen == QLatin1Char('1') || f.Vorzeichen == QLatin1Char('2') ? -f.Menge : f.Menge;
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
    IA_IstEKAddieren(zaehlDatum, wgn, filiale, AufCentRunden(istEK));
    t.Commit();
    return static_cast<int>(artikel.size());
}
