#include "framework/article/iazugriff.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/transaktion.h"

#include <QSqlQuery>

#include <algorithm>
#include <functional>
#include <map>

namespace {

const QString COrt = QStringLiteral("IA");

QVariantList Schluessel(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return {TDatumTraits::ToSql(zaehlDatum).first(), IA_WGNGespeichert(wgn), filiale};
}

QChar Zeichen(const QString& s)
{
    return s.isEmpty() ? QChar() : s.at(0);
}

const QString CStandSpalten = QStringLiteral("kzzaehlung, sollek, istek, wijahr");

// The columns of CStandSpalten from position i of the row on.
TIAStand Stand(const TBlockZeile& z, int i)
{
    TIAStand r;
    r.Gefunden = true;
    r.Status = Char_2_IA_KZZaehlung(Zeichen(z.Text(i)));
    r.SollEK = z.Double(i + 1);
    r.IstEK = z.Double(i + 2);
    r.WiJahr = z.Datum(i + 3);
    return r;
}

// The inventories of a count day in a branch, on PostgreSQL locked in the order of their
// product groups.
const QString& TagSperre()
{
    static const QString sql[2] = {
        QStringLiteral("SELECT wgn, %1 FROM ia WHERE zaehldatum = ? AND filiale = ? ORDER BY wgn").arg(CStandSpalten),
        QStringLiteral("SELECT wgn, %1 FROM ia WHERE zaehldatum = ? AND filiale = ? ORDER BY wgn FOR UPDATE").arg(CStandSpalten)};
    return sql[TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL];
}

TIAStand Lesen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, const QString& zusatz)
{
    TIAStand r;
    TZEP_Connection::WiederholtLesen(
        COrt, QStringLiteral("SELECT %1 FROM ia WHERE zaehldatum = ? AND wgn = ? AND filiale = ?").arg(CStandSpalten) + zusatz,
        Schluessel(zaehlDatum, wgn, filiale), [&r](const TBlockZeile& z) { r = Stand(z, 0); });
    return r;
}

}

QString IA_WGNGespeichert(const QString& angezeigt)
{
    // never a null text: it would bind as NULL
    return angezeigt == QLatin1String("*") || angezeigt.isNull() ? QString(QLatin1String("")) : angezeigt;
}

QString IA_WGNAngezeigt(const QString& gespeichert)
{
    return gespeichert.isEmpty() ? QStringLiteral("*") : gespeichert;
}

QString IA_StatusText(TZEP_IA_KZZaehlung status)
{
    const QChar c = IA_KZZaehlung_2_Char(status);
    return c.isNull() ? QString(QLatin1String("")) : QString(c);
}

TIAStand IA_Lesen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return Lesen(zaehlDatum, wgn, filiale, QString());
}

TIAStand IA_Lesen(const TIASchluessel& s)
{
    return IA_Lesen(s.ZaehlDatum, s.WGN, s.Filiale);
}

std::vector<TIAInventur> IA_Liste(TDateTime wiJahr)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt, QStringLiteral("SELECT zaehldatum, wgn, filiale, %1 FROM ia WHERE wijahr = ? ORDER BY zaehldatum, wgn, filiale").arg(CStandSpalten),
        {TDatumTraits::ToSql(wiJahr).first()});
    std::vector<TIAInventur> r;
    while (q.next()) {
        const QVariant d = q.value(0);
        r.push_back({{TDatumTraits::FromSql(&d), IA_WGNAngezeigt(q.value(1).toString()), q.value(2).toInt()}, Stand(TSqlZeile(q), 3)});
    }
    // the server's collation may order product groups otherwise than the overview
    std::stable_sort(r.begin(), r.end(), [](const TIAInventur& a, const TIAInventur& b) { return a.Schluessel < b.Schluessel; });
    return r;
}

std::vector<TDateTime> IA_WiJahre()
{
    std::vector<std::pair<TIASchluessel, TDateTime>> alle;
    TZEP_Connection::Lesen(COrt, QStringLiteral("SELECT zaehldatum, wgn, filiale, wijahr FROM ia"), {}, [&alle](const QSqlQuery& q) {
        const QVariant d = q.value(0), wj = q.value(3);
        alle.push_back({{TDatumTraits::FromSql(&d), IA_WGNAngezeigt(q.value(1).toString()), q.value(2).toInt()}, TDatumTraits::FromSql(&wj)});
    });
    std::sort(alle.begin(), alle.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TDateTime> r;
    for (const auto& [schluessel, wiJahr] : alle)
        if (std::find(r.begin(), r.end(), wiJahr) == r.end())
            r.push_back(wiJahr);
    return r;
}

namespace {

// The number of articles not counted per inventory of the fiscal year whose ia rows meet
// bedingung (values after the year), to those the inner condition on iv (its values) keeps.
void UngezaehlteZaehlen(TDateTime wiJahr, const QString& ivBedingung, const QVariantList& ivWerte, const QString& iaBedingung,
                        const QVariantList& iaWerte, const std::function<void(const TIASchluessel&, int)>& anzahl)
{
    const QString sql = QStringLiteral("SELECT ia.zaehldatum, ia.wgn, ia.filiale, COUNT(*) FROM ia JOIN (%1) u ON u.zaehldatum = ia.zaehldatum "
                                       "AND u.filiale = ia.filiale AND SUBSTR(UPPER(u.wgn), 1, LENGTH(ia.wgn)) = UPPER(ia.wgn) "
                                       "WHERE ia.wijahr = ? AND %2 GROUP BY ia.zaehldatum, ia.wgn, ia.filiale")
                            .arg(IV_UngezaehltAuswahl(ivBedingung, false, TZEP_Connection::Typ()), iaBedingung);
    const QVariant jahr = TDatumTraits::ToSql(wiJahr).first();
    TZEP_Connection::Lesen(COrt, sql, QVariantList{jahr} + ivWerte + QVariantList{jahr} + iaWerte, [&](const QSqlQuery& q) {
        const QVariant d = q.value(0);
        anzahl({TDatumTraits::FromSql(&d), IA_WGNAngezeigt(q.value(1).toString()), q.value(2).toInt()}, q.value(3).toInt());
    });
}

}

std::vector<TIAInventur> IA_ListeMitUngezaehlten(TDateTime wiJahr)
{
    std::vector<TIAInventur> r = IA_Liste(wiJahr);
    std::map<TIASchluessel, int> anzahl;
    UngezaehlteZaehlen(wiJahr, QStringLiteral("1 = 1"), {}, QStringLiteral("1 = 1"), {},
                       [&](const TIASchluessel& s, int n) { anzahl[s] = n; });
    for (TIAInventur& i : r)
        if (const auto it = anzahl.find(i.Schluessel); it != anzahl.end())
            i.Stand.Ungezaehlt = it->second;
    return r;
}

TIAStand IA_LesenMitUngezaehlten(const TIASchluessel& s)
{
    TIAStand r = IA_Lesen(s);
    if (!r.Gefunden)
        return r;
    const QVariantList tag{TDatumTraits::ToSql(s.ZaehlDatum).first(), s.Filiale};
    UngezaehlteZaehlen(r.WiJahr, QStringLiteral("iv.zaehldatum = ? AND iv.filiale = ?"), tag,
                       QStringLiteral("ia.zaehldatum = ? AND ia.wgn = ? AND ia.filiale = ?"),
                       Schluessel(s.ZaehlDatum, s.WGN, s.Filiale), [&](const TIASchluessel&, int n) { r.Ungezaehlt = n; });
    return r;
}

TIAArtikel IA_ArtikelLesen(const TIASchluessel& inventur, const TIVInventur& iv, const TInt32Trio& id)
{
    // the article has at most one total count record: it adds nothing but columns to the rows;
    // its erroneous sales, which few articles have, are read when the first column says so
    constexpr int CStand = 1, CSollsatz = CStand + 4, CZaehlsatz = CSollsatz + 6;
    const auto sql = [](TConnectorTyp t) {
        return QStringLiteral("SELECT %1, ia.kzzaehlung, ia.sollek, ia.istek, ia.wijahr, %2, %3 FROM ia LEFT JOIN iv ON %4 "
                              "LEFT JOIN izns z ON %5 WHERE ia.zaehldatum = ? AND ia.wgn = ? AND ia.filiale = ? ORDER BY iv.besttyp, iv.id")
            .arg(FVK_ArtikelVorhanden(), IV_SollsatzSpalten(QStringLiteral("iv"), t), IZNS_GesamtSpalten(QStringLiteral("z"), t),
                 IV_ArtikelBedingung(QStringLiteral("iv")), IZNS_GesamtBedingung(QStringLiteral("z")));
    };
    static const QString anweisung[2] = {sql(TConnectorTyp::SQLite), sql(TConnectorTyp::PostgreSQL)};
    TIAArtikel r;
    bool fvk = false;
    TZEP_Connection::WiederholtLesen(COrt, anweisung[TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL],
                                     FVK_ArtikelWerte(iv.ZaehlDatum, iv.Filiale, id) + IV_ArtikelWerte(iv, id)
                                         + IZNS_GesamtWerte(iv.ZaehlDatum, id, iv.Filiale)
                                         + Schluessel(inventur.ZaehlDatum, inventur.WGN, inventur.Filiale),
                                     [&](const TBlockZeile& z) {
                                         fvk = z.Int(0) != 0;
                                         r.Inventur = Stand(z, CStand);
                                         IV_SollsatzLesen(z, CSollsatz, iv, id, r.Sollsaetze, r.OhneSollsatz);
                                         r.Zaehlsatz = IZNS_GesamtLesen(z, CZaehlsatz, iv.ZaehlDatum, id, iv.Filiale);
                                     });
    if (fvk)
        FVK_ArtikelLesen(iv.ZaehlDatum, iv.Filiale, id, COrt, r.Fvk, r.FvkZaehltag);
    return r;
}

TIAArtikel IA_ArtikelGehalten(const TIASchluessel& inventur, const TIVInventur& iv, const TInt32Trio& id)
{
    // the day is locked by a statement of its own: one that waits for another's lock rechecks
    // only the locked rows, and the rows it joins would be those from before the wait (a
    // takeover that replaced the count meanwhile). The read after it sees what was committed;
    // both go to the server in one round trip, with the transaction's BEGIN before them.
    // On SQLite the transaction's writer lock holds the day already: nothing to lock.
    if (TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL)
        TZEP_Connection::Vormerken(COrt, TagSperre(), {TDatumTraits::ToSql(inventur.ZaehlDatum).first(), inventur.Filiale});
    return IA_ArtikelLesen(inventur, iv, id);
}

std::vector<TIAInventur> IA_TagGehalten(TDateTime zaehlDatum, int32_t filiale)
{
    std::vector<TIAInventur> r;
    TZEP_Connection::WiederholtLesen(
        COrt, TagSperre(), {TDatumTraits::ToSql(zaehlDatum).first(), filiale},
        [&](const TBlockZeile& z) { r.push_back({{zaehlDatum, IA_WGNAngezeigt(z.Text(0)), filiale}, Stand(z, 1)}); });
    return r;
}

void IA_IstEKAddieren(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, double betrag)
{
    TZEP_Connection::Ausfuehren(COrt, QStringLiteral("UPDATE ia SET istek = istek + ? WHERE zaehldatum = ? AND wgn = ? AND filiale = ?"),
                                QVariantList{betrag} + Schluessel(zaehlDatum, wgn, filiale));
}

bool IA_StatusSetzen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, TZEP_IA_KZZaehlung neu,
                     std::initializer_list<TZEP_IA_KZZaehlung> von)
{
    QStringList platz;
    QVariantList werte{IA_StatusText(neu)};
    werte += Schluessel(zaehlDatum, wgn, filiale);
    for (TZEP_IA_KZZaehlung s : von) {
        platz << QStringLiteral("?");
        werte << IA_StatusText(s);
    }
    TTransaktion t(COrt);
    IA_TagGehalten(zaehlDatum, filiale);
    const bool gesetzt = TZEP_Connection::Wiederholen(COrt,
                                                      QStringLiteral("UPDATE ia SET kzzaehlung = ? WHERE zaehldatum = ? AND wgn = ? AND "
                                                                     "filiale = ? AND kzzaehlung IN (%1)")
                                                          .arg(platz.join(QStringLiteral(", "))),
                                                      werte)
        > 0;
    t.Commit();
    return gesetzt;
}

QString IA_Name(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return QStringLiteral("%1 %2 Filiale %3").arg(TDateTime_FormatDatum(zaehlDatum), IA_WGNAngezeigt(wgn)).arg(filiale);
}

std::vector<TIAZaehltag> IA_Zaehltage(int32_t filiale)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt, QStringLiteral("SELECT zaehldatum, wgn, kzzaehlung FROM ia WHERE filiale = ? AND kzzaehlung <> ? ORDER BY zaehldatum, wgn"),
        {filiale, IA_StatusText(iakzStorniert)});
    std::vector<TIAZaehltag> r;
    while (q.next()) {
        const QVariant d = q.value(0);
        r.push_back({TDatumTraits::FromSql(&d), IA_WGNAngezeigt(q.value(1).toString()), Char_2_IA_KZZaehlung(Zeichen(q.value(2).toString()))});
    }
    return r;
}
