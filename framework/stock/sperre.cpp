#include "framework/stock/sperre.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/core/prozess.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/transaktion.h"

#include <QSqlQuery>

namespace {

const QString COrt = QStringLiteral("TCommonLock");

bool Postgres()
{
    return TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL;
}

// The database's clock, and the age of a lock in minutes by it.
QString ServerJetzt()
{
    return Postgres() ? QStringLiteral("LOCALTIMESTAMP(3)") : QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')");
}

QString AlterMinuten()
{
    return Postgres() ? QStringLiteral("EXTRACT(EPOCH FROM (LOCALTIMESTAMP - sperrzeit)) / 60")
                      : QStringLiteral("(julianday('now', 'localtime') - julianday(sperrzeit)) * 1440");
}

// The session a new lock row names: on PostgreSQL the backend that writes it and that backend's
// start, the placeholder of EigeneSitzungWerte; none on SQLite.
QString EigeneSitzung()
{
    return Postgres() ? QStringLiteral("pg_backend_pid(), CAST(? AS TIMESTAMPTZ)") : QStringLiteral("NULL, NULL");
}

// The start of the calling thread's backend, read once per connection (by the function behind
// pg_stat_activity, for the one backend; the view costs several times more): read in every
// lock statement, it would copy the status of all backends for each lock, each time several
// times the cost of the lock itself. Nothing on SQLite.
QVariantList EigeneSitzungWerte()
{
    if (!Postgres())
        return {};
    thread_local quint64 verbindung = 0;
    thread_local QVariant beginn;
    TZEP_Connection::Database();   // first: Kennung names the connection of now
    if (verbindung == 0 || verbindung != TZEP_Connection::Kennung()) {
        beginn = QVariant();
        TZEP_Connection::Wiederholen(COrt, QStringLiteral("SELECT CAST(backend_start AS TEXT) FROM pg_stat_get_activity(pg_backend_pid())"), {},
                                     [](const QSqlQuery& q) { beginn = q.value(0); });
        verbindung = TZEP_Connection::Kennung();
    }
    return {beginn};
}

// Whether the session a lock row names has ended: no backend with its pid and start runs any
// more. The server hides the start of another role's backends; a backend with the pid whose
// start is hidden counts as the session. A row that names no session has no session to end.
QString SitzungBeendet()
{
    return Postgres() ? QStringLiteral("sitzung_pid IS NOT NULL AND NOT EXISTS (SELECT 1 FROM pg_stat_get_activity(artsperre.sitzung_pid) a "
                                       "WHERE a.backend_start IS NULL OR a.backend_start = artsperre.sitzung_beginn)")
                      : QStringLiteral("0");
}

QVariantList Schluessel(const TInt32Trio& id)
{
    return {id.Int1, id.Int2, id.Int3};
}

struct THalter {
    qint64 Id = 0;   // 0: no lock row
    TZEP_clMeldung Meldung;
    double AlterMinuten = 0;
    bool SitzungBeendet = false;   // the row names a database session that has ended
    bool Hier() const { return Meldung.Terminal == Rechner(); }
    bool Ich() const { return Hier() && Meldung.ProzessId == EigenerProzess(); }
};

THalter HalterLesen(const TInt32Trio& id)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt,
        QStringLiteral("SELECT id, terminalnr, terminal, programm, prozessid, sperrzeit, %1, %2 FROM artsperre "
                       "WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?")
            .arg(AlterMinuten(), SitzungBeendet()),
        Schluessel(id));
    THalter h;
    if (!q.next())
        return h;
    h.Id = q.value(0).toLongLong();
    h.Meldung.TerminalNr = q.value(1).toString();
    h.Meldung.Terminal = q.value(2).toString();
    h.Meldung.Programm = q.value(3).toString();
    h.Meldung.ProzessId = q.value(4).toInt();
    const QVariant zeit = q.value(5);
    h.Meldung.SperrZeit = TDatumTraits::FromSql(&zeit);
    h.AlterMinuten = q.value(6).toDouble();
    h.SitzungBeendet = q.value(7).toBool();
    return h;
}

// What a lock row holds besides its time: article, terminal number and name, program, process.
QVariantList EintragWerte(const TInt32Trio& id, const QString& programm)
{
    // the terminal's number, read once per database
    thread_local int generation = -1;
    thread_local QString terminalNr;
    if (generation != TZEP_Connection::Generation()) {
        terminalNr = ORVParameter().GetStringValueByName(QStringLiteral("TERMINALNR"));
        generation = TZEP_Connection::Generation();
    }
    return Schluessel(id) + QVariantList{terminalNr.toInt(), Rechner(), programm, EigenerProzess()};
}

const char* const CSperrSpalten =
    "produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, prozessid, sperrzeit, sitzung_pid, sitzung_beginn";

bool Eintragen(const TInt32Trio& id, const QString& programm)
{
    // nothing is inserted when another process holds the article (its unique key)
    return TZEP_Connection::Wiederholen(COrt,
                                        QStringLiteral("INSERT INTO artsperre (%1) VALUES (?, ?, ?, ?, ?, ?, ?, %2, %3) ON CONFLICT DO NOTHING")
                                            .arg(QLatin1String(CSperrSpalten), ServerJetzt(), EigeneSitzung()),
                                        EintragWerte(id, programm) + EigeneSitzungWerte())
        > 0;
}

struct TBeratendEintrag {
    bool Frei = false;          // the advisory lock was taken
    bool Eingetragen = false;   // and the lock row inserted
};

QString BeratendEintragenAnweisung(bool eigeneTransaktion)
{
    // a statement that is a transaction of its own commits without waiting for the disk: the
    // row only tells others who holds the article, and the commit of the work under the lock
    // writes the log up to it anyway; lost in a crash before, it left nothing to hold
    return QStringLiteral("WITH b AS (SELECT pg_try_advisory_lock(hashtextextended(?, 0)) AS frei%4), "
                          "z AS (INSERT INTO artsperre (%1) SELECT CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS INTEGER), "
                          "CAST(? AS INTEGER), CAST(? AS VARCHAR), CAST(? AS VARCHAR), CAST(? AS INTEGER), %2, %3 FROM b WHERE frei "
                          "ON CONFLICT DO NOTHING RETURNING 1) "
                          "SELECT frei, (SELECT COUNT(*) FROM z) FROM b")
        .arg(QLatin1String(CSperrSpalten), ServerJetzt(), EigeneSitzung(),
             eigeneTransaktion ? QStringLiteral(", set_config('synchronous_commit', 'off', true)") : QString());
}

// On PostgreSQL the advisory lock and, when it was free, the lock row, in one round trip.
TBeratendEintrag BeratendEintragen(const TInt32Trio& id, const QString& programm)
{
    static const QString anweisung[2] = {BeratendEintragenAnweisung(false), BeratendEintragenAnweisung(true)};
    TBeratendEintrag r;
    TZEP_Connection::Wiederholen(
        COrt, anweisung[TZEP_Connection::Transaktionen() == 0],
        QVariantList{SperrSchluessel(id)} + EintragWerte(id, programm) + EigeneSitzungWerte(), [&r](const QSqlQuery& q) {
            r.Frei = q.value(0).toBool();
            r.Eingetragen = q.value(1).toInt() > 0;
        });
    return r;
}

const char* const CEigeneZeile = "DELETE FROM artsperre WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? AND "
                                 "terminal = ? AND prozessid = ?";

// Deletes this process's lock row of the article; whether there was one.
bool ZeileLoeschen(const TInt32Trio& id)
{
    return TZEP_Connection::Wiederholen(COrt, QLatin1String(CEigeneZeile), Schluessel(id) + QVariantList{Rechner(), EigenerProzess()}) > 0;
}

const QString CUebernommen = QStringLiteral("Die Artikelsperre wurde inzwischen übernommen.");

// Inside the transaction of the work under the lock: deletes the lock row and, on PostgreSQL,
// frees the advisory lock in the same statement. Another session then waits for the end of the
// transaction at the row's unique key before it takes the article. A row that is no longer
// this process's fails the transaction: on PostgreSQL on the server (the text cast to a number),
// so that the statement need not be answered before the commit goes with it.
void ZeileLoeschenImWerk(const TInt32Trio& id)
{
    if (!Postgres()) {
        if (!ZeileLoeschen(id))
            FehlerRaise(COrt, {CUebernommen});
        return;
    }
    static const QString sql = QStringLiteral("WITH d AS (%1 RETURNING pg_advisory_unlock(hashtextextended(?, 0))) "
                                              "SELECT CAST(CASE WHEN EXISTS (SELECT 1 FROM d) THEN '1' ELSE CAST(? AS TEXT) END AS INTEGER)")
                                   .arg(QLatin1String(CEigeneZeile));
    TZEP_Connection::Vormerken(COrt, sql, Schluessel(id) + QVariantList{Rechner(), EigenerProzess(), SperrSchluessel(id), CUebernommen});
}

// Frees the article's advisory lock on PostgreSQL; a failure is registered, not raised: the
// session's end frees it as well.
void BeratendFreigeben(const TInt32Trio& id)
{
    if (!Postgres())
        return;
    try {
        TZEP_Connection::Wiederholen(COrt, QStringLiteral("SELECT pg_advisory_unlock(hashtextextended(?, 0))"), {SperrSchluessel(id)});
    } catch (const std::exception& e) {
        ORVInfo().RegisterException(COrt, e, false);
    }
}

int MaxMinuten()
{
    bool zahl;
    const int minuten = ORVParameter().GetStringValueByName(QStringLiteral("SPERRE_MAX_MINUTEN")).toInt(&zahl);
    return zahl && minuten > 0 ? minuten : 720;
}

// Deletes the lock row of a holder that is gone, with a protocol line; only this very row:
// when another process took it over meanwhile, nothing is deleted.
void Entfernen(const THalter& h, const QString& grund)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(COrt, QStringLiteral("DELETE FROM artsperre WHERE id = ? AND prozessid = ? AND terminal = ?"),
                                              {h.Id, h.Meldung.ProzessId, h.Meldung.Terminal});
    if (q.numRowsAffected() == 1)
        ORVInfo().WriteStamp(QStringLiteral("Artikelsperre übernommen von Prozess %1 auf %2 (%3, gesperrt seit %4): %5")
                                 .arg(h.Meldung.ProzessId)
                                 .arg(h.Meldung.Terminal, h.Meldung.Programm,
                                      TDateTime_ToQDateTime(h.Meldung.SperrZeit).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")), grund),
                             1);
}

// Why the holder counts as gone; empty while it may still work. On PostgreSQL this process
// holds the article's advisory lock when it asks, so the session the row names holds it no more.
QString Weg(const THalter& h)
{
    if (h.SitzungBeendet)
        return QStringLiteral("seine Datenbanksitzung besteht nicht mehr");
    if (h.Hier())
        return ProzessLaeuft(h.Meldung.ProzessId) ? QString() : QStringLiteral("der Prozess läuft nicht mehr");
    return h.AlterMinuten > MaxMinuten() ? QStringLiteral("die Sperre ist zu alt") : QString();
}

}

QString SperrSchluessel(const TInt32Trio& id)
{
    return QStringLiteral("artsperre:%1.%2.%3").arg(id.Int1).arg(id.Int2).arg(id.Int3);
}

bool TCommonLock::LockProdId(const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung, bool)
{
    const bool beratend = Postgres();
    const auto verweigert = [&](const THalter& h) {
        const QString artikel = AMeldung.Artikel;
        AMeldung = h.Meldung;
        AMeldung.Artikel = artikel;
        return false;
    };
    bool gehalten = false;
    try {
        if (beratend) {
            const TBeratendEintrag e = BeratendEintragen(AProdId, FProgramm);
            if (!e.Frei)
                return verweigert(HalterLesen(AProdId));   // a live session holds the article
            gehalten = e.Eingetragen;
        } else {
            gehalten = Eintragen(AProdId, FProgramm);
        }
        for (int versuch = 0; versuch < 2 && !gehalten; ++versuch) {
            const THalter h = HalterLesen(AProdId);
            if (h.Id == 0) {
                gehalten = Eintragen(AProdId, FProgramm);   // released between the two statements
                continue;
            }
            if (h.Ich()) {
                BeratendFreigeben(AProdId);   // this session held it once already
                return true;
            }
            const QString grund = Weg(h);
            if (grund.isEmpty()) {
                BeratendFreigeben(AProdId);
                return verweigert(h);
            }
            Entfernen(h, grund);
            gehalten = Eintragen(AProdId, FProgramm);
        }
    } catch (...) {
        BeratendFreigeben(AProdId);   // a failed statement may have taken it
        throw;
    }
    if (!gehalten)
        BeratendFreigeben(AProdId);
    return gehalten;
}

void TCommonLock::UnlockProdId(const TInt32Trio& AProdId, bool)
{
    try {
        ZeileLoeschen(AProdId);
    } catch (...) {
        BeratendFreigeben(AProdId);
        throw;
    }
    BeratendFreigeben(AProdId);
}

int TCommonLock::VerwaisteEntfernen()
{
    std::vector<THalter> weg;
    TZEP_Connection::Lesen(COrt, QStringLiteral("SELECT id, prozessid, programm, sperrzeit FROM artsperre WHERE terminal = ?"), {Rechner()},
                           [&weg](const QSqlQuery& q) {
                               THalter h;
                               h.Id = q.value(0).toLongLong();
                               h.Meldung.Terminal = Rechner();
                               h.Meldung.ProzessId = q.value(1).toInt();
                               h.Meldung.Programm = q.value(2).toString();
                               const QVariant zeit = q.value(3);
                               h.Meldung.SperrZeit = TDatumTraits::FromSql(&zeit);
                               if (h.Meldung.ProzessId != EigenerProzess() && !ProzessLaeuft(h.Meldung.ProzessId))
                                   weg.push_back(h);
                           });
    for (const THalter& h : weg)
        Entfernen(h, QStringLiteral("der Prozess läuft nicht mehr"));
    return static_cast<int>(weg.size());
}

void TCommonLock::RECVMessageLockProdId(const TInt32Trio& AProdId)
{
    if (OnNachricht)
        OnNachricht(AProdId, true);
}

void TCommonLock::RECVMessageUnlockProdId(const TInt32Trio& AProdId)
{
    if (OnNachricht)
        OnNachricht(AProdId, false);
}

TCommonLock& CommonLock()
{
    static TCommonLock lock;
    return lock;
}

TArtikelSperre::TArtikelSperre(const TInt32Trio& id, TZEP_clMeldung& halter) : FId(id)
{
    FGehalten = CommonLock().LockProdId(id, halter, false);
    if (FGehalten)
        CommonLock().RECVMessageLockProdId(id);
}

TArtikelSperre::~TArtikelSperre()
{
    if (!FGehalten)
        return;
    try {
        CommonLock().RECVMessageUnlockProdId(FId);
        CommonLock().UnlockProdId(FId, false);
    } catch (const std::exception& e) {
        // the row stays behind for a later run to take over
        ORVInfo().RegisterException(COrt, e, false);
    }
}

void TArtikelSperre::FreigebenMit(TTransaktion& t)
{
    // a lock taken over meanwhile is no longer this process's: nothing may be committed
    ZeileLoeschenImWerk(FId);
    t.Commit();
    FGehalten = false;
    CommonLock().RECVMessageUnlockProdId(FId);
}

TArtikelTransaktion::TArtikelTransaktion(const TInt32Trio& id, TZEP_clMeldung& halter, const QString& ort)
{
    if (!Postgres())
        FUmSperre.emplace(ort);
    FSperre.emplace(id, halter);
    if (Postgres() && FSperre->Gehalten())
        FUnterSperre.emplace(ort);
}

void TArtikelTransaktion::Commit()
{
    if (!Gehalten())
        FehlerRaise(COrt, {QStringLiteral("Die Artikelsperre ist nicht gehalten.")});
    FSperre->FreigebenMit(FUmSperre ? *FUmSperre : *FUnterSperre);
}
