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
#include "framework/db/files/iznsfile.h"
#include "framework/db/produktblock.h"
#include "framework/db/transaktion.h"
#include "framework/stock/soll2istrechnung.h"

#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace {

const QString COrt = QStringLiteral("TInvMani.Soll2Ist");

QVariant Sql(TDateTime d)
{
    return TDatumTraits::ToSql(d).first();
}

// What the takeover reads of an inventory: the articles' size ranges and grids, their target
// records, counts so far and erroneous sales.
struct TSoll2IstGelesen {
    struct TStamm {
        int GrVon = 1, GrBis = 100, GGKey = 0;
    };
    std::map<TInt32Trio, TStamm, decltype(&TInt32Trio::Numerisch_Kleiner)> Stamm{&TInt32Trio::Numerisch_Kleiner};
    std::vector<std::pair<TSoll2IstSoll, QString>> Soll;   // with the stock type's letter
    TSoll2IstBisher Bisher{&TInt32Trio::Numerisch_Kleiner};
    std::vector<std::pair<TInt32Trio, TFvkSatz>> Fehlverkaeufe;
};

// Every row is read before anything is looked up: a look-up that runs a statement while a read
// is under way would cut the read short on PostgreSQL.
TSoll2IstGelesen Soll2IstLesen(TDateTime wiJahr, TDateTime zaehlDatum, int16_t filiale, const QString& iaWgn, const QString& selWGN)
{
    TSoll2IstGelesen r;
    const QString filter = QStringLiteral(" AND substr(a.wgn, 1, ?) = ? AND substr(a.wgn, 1, ?) = ?");
    const QVariantList muster{static_cast<int>(iaWgn.size()), iaWgn,
                              static_cast<int>(selWGN.size()), selWGN.isNull() ? QStringLiteral("") : selWGN};
    const QString join = QStringLiteral(" JOIN artikel a ON a.produkt_id_1 = t.produkt_id_1 AND a.produkt_id_2 = t.produkt_id_2 "
                                        "AND a.produkt_id_3 = t.produkt_id_3");
    const auto id = [](const QSqlQuery& q) { return TInt32Trio{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}; };
    const auto stamm = [&](const QSqlQuery& q) {
        r.Stamm[id(q)] = {q.value(3).toInt(), q.value(4).toInt(), q.value(5).toInt()};
        return id(q);
    };
    const TConnectorTyp typ = TZEP_Connection::Typ();
    const auto mengen = [typ](const char* spalte, int basis) {
        return MengenLeseAusdruecke(MengenSpalten(QLatin1String(spalte), basis), typ).join(QStringLiteral(", "));
    };
    TZEP_Connection::Wiederholen(COrt,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                                "t.besttyp, t.standneu, t.standalt, %1 FROM iv t%2 WHERE t.wijahr = ? AND "
                                                "t.zaehldatum = ? AND t.filiale = ?%3")
                                     .arg(mengen("t.menge", 0), join, filter),
                                 QVariantList{Sql(wiJahr), Sql(zaehlDatum), filiale} + muster, [&](const QSqlQuery& q) {
        r.Soll.push_back({{stamm(q), 0, q.value(7).toInt() >= q.value(8).toInt(), MengenLesen(q, 9, QStringLiteral("iv"))}, q.value(6).toString()});
    });
    TZEP_Connection::Wiederholen(COrt,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, a.grvon, a.grbis, a.ggkey, "
                                                "t.gezaehlt, %1 FROM izns t%2 WHERE t.zaehldatum = ? AND t.filiale = ? AND t.satzart = 'G'%3")
                                     .arg(mengen("t.gr_mesu", 1), join, filter),
                                 QVariantList{Sql(zaehlDatum), filiale} + muster, [&](const QSqlQuery& q) {
        TSoll2IstMengen& bisher = r.Bisher[stamm(q)];
        if (q.value(6).toInt() != 0) {
            const TMengen100 m = MengenLesen(q, 7, QStringLiteral("izns"));
            for (int i = 0; i < 100; ++i)
                bisher[i] += m[i];
        }
    });
    // erroneous sales of the count's correction lower the target, as the list counts them:
    // those not converted yet and those another count day's booking converted
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
        r.Fehlverkaeufe.emplace_back(id(q), f);
    });
    for (const auto& [produktId, saetze] : FVK_ZaehltagLesen(zaehlDatum, filiale, COrt))
        for (const TFvkSatz& f : saetze)
            r.Fehlverkaeufe.emplace_back(produktId, f);
    return r;
}

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

    const TSoll2IstGelesen gelesen = Soll2IstLesen(wiJahr, zaehlDatum, filiale, iaWgn, selWGN);
    std::vector<TSoll2IstSoll> soll;
    for (auto [s, bestTyp] : gelesen.Soll) {
        s.BestTyp = bestTyp.isEmpty() ? 0 : Char_2_ArtBestTyp(bestTyp.at(0));
        soll.push_back(s);
    }
    std::vector<TSoll2IstFehlverkauf> fehlverkaeufe;
    for (const auto& [produktId, f] : gelesen.Fehlverkaeufe)
        if (const auto stamm = gelesen.Stamm.find(produktId); stamm != gelesen.Stamm.end())
            fehlverkaeufe.push_back({produktId, GGTab_Glob().Groesse_Numerisch_2_Index(stamm->second.GGKey, f.Groesse),
                                     FVK_VerkaufteMenge(f.Vorzeichen, f.Menge)});
    const TSoll2IstErgebnis ergebnis = Soll2IstRechnen(soll, gelesen.Bisher, fehlverkaeufe, IV_GebuchteArtikel(zaehlDatum, filiale),
                                                       [](int t) { return Get_ArtBestTyp_Eigenschaften(t).IstGezaehlt; });
    double istEK = 0;
    for (const auto& [produktId, a] : ergebnis) {
        const TSoll2IstGelesen::TStamm& stamm = gelesen.Stamm.at(produktId);
        TMengen100 neu{};
        for (int i = 0; i < 100; ++i)
            neu[i] = static_cast<int32_t>(a.Neu[i]);
        IZNS_ZaehlungErsetzen(zaehlDatum, filiale, produktId, stamm.GrVon, stamm.GrBis, neu, COrt);
        // the counted value changes by the difference of the counts at the purchase prices
        TORV_ArtPreisView& preise = FArtLes->Preise();
        FArtLes->Laden(produktId);
        preise.SetStichtag(zaehlDatum);
        preise.SetFiliale(filiale);
        for (const TORV_PreisEintrag& e : preise.EKSet().Eintraege)
            for (int i = e.Von; i <= e.Bis && i < 100; ++i)
                istEK += static_cast<double>(a.Neu[i] - a.Bisher[i]) * AufCentRunden(e.Preis);
        if (OnSoll2Ist4ArtikelNr)
            OnSoll2Ist4ArtikelNr(produktId);
    }
    IA_IstEKAddieren(zaehlDatum, wgn, filiale, AufCentRunden(istEK));
    t.Commit();
    return static_cast<int>(ergebnis.size());
}
