// Booking the branch-wide inventory of the benchmark chain (checks, lock, re-read under the
// lock, one transaction per article), beside the same writes done by plain SQL statements,
// one transaction per article, in the same run. Each side works on a copy of the chain; the
// copies must end equal. The last line is the quotient of the case (medians of --runs rounds,
// each side once per round, in turn).
//   buchung_bench [--db URL] [--articles N] [--runs N]   booking / plain writes
//   buchung_bench --case speicher             peak memory of the booking on chains of 2,000 and
//                                             20,000 articles (a process each), largest by smallest
//   --case kette                              only generates the chain of --articles
#include "bench/benchdb.h"
#include "buchung/inventurbuchung.h"
#include "framework/app/interaktion.h"
#include "framework/app/programm.h"
#include "framework/article/iazugriff.h"
#include "framework/article/wgnmani.h"
#include "framework/core/uhr.h"
#include "framework/db/datenfeld.h"
#include "framework/stock/artbewtyp.h"
#include "inventurliste/inventurliste.h"
#include "kalmetmain/uebersicht_logik.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <array>
#include <map>
#include <set>

namespace {

// Every question answered Yes, messages on standard output.
class TJaInteraktion : public IORVInteraktion {
public:
    TJaInteraktion() { ORVInteraktionSetzen(this); }
    ~TJaInteraktion() override { ORVInteraktionSetzen(nullptr); }
    int Meldung(int art, const QString&, const QString& text, QObject*) override
    {
        if (art != maFrageJaNein)
            std::printf("Meldung: %s\n", qPrintable(text));
        return art == maFrageJaNein ? maJa : maOK;
    }
    bool Frage(const QString&, const QString&, const std::vector<TFrageDlg_Antwort>&, int&, QObject*) override { return false; }
    void Versionsinfo(const QString&, const QString&, QObject*) override {}
};

QSqlQuery Sql(const QString& sql, const QVariantList& werte = {})
{
    QSqlQuery q(TZEP_Connection::Database());
    q.setForwardOnly(true);
    if (!werte.isEmpty())
        q.prepare(sql);
    for (const QVariant& w : werte)
        q.addBindValue(w);
    if (werte.isEmpty() ? !q.exec(sql) : !q.exec()) {
        std::printf("SQL-Fehler: %s\n%s\n", qPrintable(q.lastError().text()), qPrintable(sql));
        std::exit(1);
    }
    return q;
}

QVariant Wert(const QString& sql, const QVariantList& werte = {})
{
    QSqlQuery q = Sql(sql, werte);
    return q.next() ? q.value(0) : QVariant();
}

// A copy of the chain under the name's suffix, to be changed by one side.
TDbUrl Kopie(const TDbUrl& basis, const QString& suffix)
{
    TDbUrl k = basis;
    if (basis.Typ == TConnectorTyp::SQLite) {
        k.Path = basis.Path + "." + suffix;
        for (const char* teil : {"", "-wal", "-shm"})
            QFile::remove(k.Path + teil);
        QFile::copy(basis.Path, k.Path);
        return k;
    }
    k.Database = basis.Database + "_" + suffix;
    TDbUrl verwaltung = basis;
    verwaltung.Database = "postgres";
    TZEP_Connection::CloseThreadConnection();
    TZEP_Connection::Configure(verwaltung);
    Sql(QString("DROP DATABASE IF EXISTS %1").arg(k.Database));
    Sql(QString("CREATE DATABASE %1 TEMPLATE %2").arg(k.Database, basis.Database));
    return k;
}

void KopieEntfernen(const TDbUrl& basis, const TDbUrl& k)
{
    if (k.Typ == TConnectorTyp::SQLite) {
        TZEP_Connection::CloseThreadConnection();
        for (const char* teil : {"", "-wal", "-shm"})
            QFile::remove(k.Path + teil);
        return;
    }
    TDbUrl verwaltung = basis;
    verwaltung.Database = "postgres";
    TZEP_Connection::Configure(verwaltung);
    Sql(QString("DROP DATABASE IF EXISTS %1").arg(k.Database));
}

using TSchluessel = std::array<int, 3>;   // product id

TSchluessel Schluessel(const QSqlQuery& q, int p1, int p2, int p3)
{
    return {q.value(p1).toInt(), q.value(p2).toInt(), q.value(p3).toInt()};
}

// What one article's booking wrote.
struct TArtikelSchreiben {
    QVariantList schluessel;                    // produkt_id_1..3
    std::vector<QVariantList> bne, lsn, ivNeu;  // inserted rows, without id
    std::vector<qint64> fvkWeg;                 // deleted erroneous sales
    bool ivMarkiert = false;                    // its target records were marked posted
};

struct TTabelleNeu {
    QStringList spalten;   // without id
    std::vector<std::pair<TSchluessel, QVariantList>> zeilen;   // article, values
};

// The rows of the table with an id above ab: columns without id, rows keyed by product id.
TTabelleNeu NeueZeilen(const QString& tabelle, qint64 ab)
{
    TTabelleNeu t;
    QSqlQuery q = Sql(QString("SELECT * FROM %1 WHERE id > ? ORDER BY id").arg(tabelle), {ab});
    const QSqlRecord r = q.record();
    std::vector<int> felder;
    for (int i = 0; i < r.count(); ++i)
        if (r.fieldName(i) != "id") {
            t.spalten << r.fieldName(i);
            felder.push_back(i);
        }
    const int p1 = r.indexOf("produkt_id_1"), p2 = r.indexOf("produkt_id_2"), p3 = r.indexOf("produkt_id_3");
    while (q.next()) {
        QVariantList werte;
        for (int i : felder)
            werte << q.value(i);
        t.zeilen.push_back({Schluessel(q, p1, p2, p3), werte});
    }
    return t;
}

qint64 HoechsteId(const QString& tabelle)
{
    return Wert(QString("SELECT COALESCE(MAX(id), 0) FROM %1").arg(tabelle)).toLongLong();
}

// The ids of the erroneous sales, with their articles.
std::map<qint64, TSchluessel> FvkIds()
{
    std::map<qint64, TSchluessel> r;
    QSqlQuery q = Sql("SELECT id, produkt_id_1, produkt_id_2, produkt_id_3 FROM fvk");
    while (q.next())
        r[q.value(0).toLongLong()] = Schluessel(q, 1, 2, 3);
    return r;
}

// The articles whose target records of the inventory are all marked posted.
std::set<TSchluessel> GebuchteArtikel(const TZeileAnzeige& inv)
{
    std::set<TSchluessel> r;
    QSqlQuery q = Sql("SELECT produkt_id_1, produkt_id_2, produkt_id_3 FROM iv WHERE zaehldatum = ? AND filiale = ? "
                      "GROUP BY produkt_id_1, produkt_id_2, produkt_id_3 HAVING MIN(kzgebucht) = 'A'",
                      {TDatumTraits::ToSql(inv.ZaehlDatum).first(), inv.Filiale});
    while (q.next())
        r.insert(Schluessel(q, 0, 1, 2));
    return r;
}

// A fingerprint of what a booking changes: movements, stock, sales lines, erroneous sales,
// target records, locks and the inventories' statuses.
QString Pruefsumme()
{
    QStringList gewichtet;
    for (int i = 0; i < 100; ++i)
        gewichtet << QString("%1 * %2").arg(MengenSpalten("menge", 0)[i]).arg(i + 1);
    const QString mengen = "(" + gewichtet.join(" + ") + ")";
    QStringList teile;
    for (const QString& sql : {
             QString("SELECT COUNT(*), SUM(bewart * %1) FROM bne").arg(mengen),
             QString("SELECT COUNT(*), SUM((produkt_id_2 %% 97 + 1) * filiale * %1) FROM bestand").arg(mengen).replace("%%", "%"),
             QString("SELECT COUNT(*), SUM(menge * groessenindex) FROM lsn"), QString("SELECT COUNT(*), SUM(id) FROM fvk"),
             QString("SELECT COUNT(*), SUM(CASE WHEN kzgebucht = 'A' THEN 1 ELSE 0 END) FROM iv"),
             QString("SELECT COUNT(*) FROM artsperre"), QString("SELECT COUNT(*), SUM(CASE WHEN kzzaehlung = '5' THEN 1 ELSE 0 END) FROM ia")}) {
        QSqlQuery q = Sql(sql);
        q.next();
        for (int i = 0; i < q.record().count(); ++i)
            teile << q.value(i).toString();
    }
    return teile.join(' ');
}

QString Platzhalter(int n)
{
    return QStringList(n, "?").join(", ");
}

// The booking's writes replayed by plain statements, prepared once, one transaction per
// article: its lock row, movements with their stock (a row of its own when there is none),
// sales lines, deleted erroneous sales,
// the posted mark and the lock's release; then the inventory's status.
void PlainSchreiben(const std::map<TSchluessel, TArtikelSchreiben>& artikel, const QStringList& bneSpalten,
                    const QStringList& lsnSpalten, const QStringList& ivSpalten, const TZeileAnzeige& inv, TDateTime wiJahr)
{
    QSqlDatabase db = TZEP_Connection::Database();
    const bool sqlite = TZEP_Connection::Typ() == TConnectorTyp::SQLite;
    auto vorbereitet = [&](const QString& sql) {
        auto q = std::make_unique<QSqlQuery>(db);
        q->prepare(sql);
        return q;
    };
    auto ausfuehren = [](QSqlQuery& q, const QVariantList& werte) {
        for (int i = 0; i < werte.size(); ++i)
            q.bindValue(i, werte[i]);
        if (!q.exec()) {
            std::printf("SQL-Fehler: %s\n%s\n", qPrintable(q.lastError().text()), qPrintable(q.lastQuery().left(200)));
            std::exit(1);
        }
    };
    const QStringList mengen = MengenSpalten("menge", 0);
    QStringList plus;
    for (const QString& m : mengen)
        plus << QString("%1 = %1 + ?").arg(m);
    std::set<int> mengenwirksam;
    for (const TORV_ArtBewTyp& t : CORV_ArtBewTyp_Strg)
        if (t.Mengenwirksam)
            mengenwirksam.insert(t.DbCode);
    const QString artikelBedingung = "produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?";
    auto sperre = vorbereitet(QString("INSERT INTO artsperre (produkt_id_1, produkt_id_2, produkt_id_3, terminalnr, terminal, programm, "
                                      "prozessid, sperrzeit) VALUES (?, ?, ?, ?, ?, ?, ?, %1)")
                                  .arg(sqlite ? "strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')" : "LOCALTIMESTAMP(3)"));
    auto frei = vorbereitet("DELETE FROM artsperre WHERE " + artikelBedingung);
    auto bne = vorbereitet(QString("INSERT INTO bne (%1) VALUES (%2)").arg(bneSpalten.join(", "), Platzhalter(bneSpalten.size())));
    auto bestand = vorbereitet(QString("UPDATE bestand SET %1 WHERE %2 AND filiale = ? AND besttyp = ?").arg(plus.join(", "), artikelBedingung));
    auto bestandNeu = vorbereitet(QString("INSERT INTO bestand (produkt_id_1, produkt_id_2, produkt_id_3, filiale, besttyp, %1) VALUES (%2)")
                                      .arg(mengen.join(", "), Platzhalter(105)));
    auto lsn = vorbereitet(QString("INSERT INTO lsn (%1) VALUES (%2)").arg(lsnSpalten.join(", "), Platzhalter(lsnSpalten.size())));
    auto fvk = vorbereitet("DELETE FROM fvk WHERE id = ?");
    auto ivMarke = vorbereitet("UPDATE iv SET kzgebucht = 'A' WHERE wijahr = ? AND zaehldatum = ? AND filiale = ? AND " + artikelBedingung +
                               " AND kzgebucht <> 'A'");
    auto ivNeu = vorbereitet(QString("INSERT INTO iv (%1) VALUES (%2)").arg(ivSpalten.join(", "), Platzhalter(ivSpalten.size())));
    const QVariant wj = TDatumTraits::ToSql(wiJahr).first(), zd = TDatumTraits::ToSql(inv.ZaehlDatum).first();
    const int iBewart = bneSpalten.indexOf("bewart"), iFiliale = bneSpalten.indexOf("filiale"), iMenge = bneSpalten.indexOf(mengen.first());
    for (const auto& [id, a] : artikel) {
        QSqlQuery(db).exec(sqlite ? "BEGIN IMMEDIATE" : "BEGIN");
        ausfuehren(*sperre, a.schluessel + QVariantList{1, "bench", "KALMET", 1});
        for (const QVariantList& z : a.bne) {
            ausfuehren(*bne, z);
            if (!mengenwirksam.count(z[iBewart].toInt()))
                continue;
            ausfuehren(*bestand, z.mid(iMenge, 100) + a.schluessel + QVariantList{z[iFiliale], 1});
            if (bestand->numRowsAffected() == 0)
                ausfuehren(*bestandNeu, a.schluessel + QVariantList{z[iFiliale], 1} + z.mid(iMenge, 100));
        }
        for (const QVariantList& z : a.lsn)
            ausfuehren(*lsn, z);
        for (qint64 f : a.fvkWeg)
            ausfuehren(*fvk, {f});
        if (a.ivMarkiert)
            ausfuehren(*ivMarke, QVariantList{wj, zd, inv.Filiale} + a.schluessel);
        for (const QVariantList& z : a.ivNeu)
            ausfuehren(*ivNeu, z);
        ausfuehren(*frei, a.schluessel);
        QSqlQuery(db).exec("COMMIT");
    }
    Sql("UPDATE ia SET kzzaehlung = '5' WHERE zaehldatum = ? AND wgn = '' AND filiale = ?", {zd, inv.Filiale});
}

int Speicher(const QStringList& args)
{
    std::vector<long> kb;
    for (int artikel : {2000, 20000}) {
        BenchFall(args, "kette", artikel);
        const QString aus = BenchFall(args, "buchen", artikel);
        const QRegularExpressionMatch m = QRegularExpression("(\\d+) Artikel gebucht.*\\n.*\\nSpitzenspeicher der Buchung (\\d+) kB").match(aus);
        kb.push_back(m.hasMatch() ? m.captured(2).toLong() : 0);
        std::printf("Kette mit %6d Artikeln, %s Artikel gebucht: Spitzenspeicher %ld kB\n", artikel,
                    m.hasMatch() ? qPrintable(m.captured(1)) : "?", kb.back());
        std::fflush(stdout);
    }
    std::printf("ratio %.2f\n", kb.front() ? double(kb.back()) / kb.front() : 0.0);
    return 0;
}


// One round: the booking on a copy of the chain, the same writes by plain statements on another.
struct TRunde {
    double Buchung = 0, Plain = 0;
    bool Ok = false, Gleich = false;
    int Gebucht = 0;
    size_t Artikel = 0, Bewegungen = 0, Verkaufszeilen = 0, Sollsaetze = 0;
    long Speicher = 0;
    QString SummeBuchung, SummePlain;
};

TRunde Runde(const TDbUrl& basis, const TZeileAnzeige& inv, TDateTime wiJahr)
{
    TRunde r;
    const TDbUrl a = Kopie(basis, "buchung"), b = Kopie(basis, "plain");

    // the booking, on copy a
    TZEP_Connection::Configure(a);
    const qint64 bneAb = HoechsteId("bne"), lsnAb = HoechsteId("lsn"), ivAb = HoechsteId("iv");
    const std::map<qint64, TSchluessel> fvkVorher = FvkIds();
    const std::set<TSchluessel> gebuchtVorher = GebuchteArtikel(inv);
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    TWGNMani wgn;
    TBuchungsUmgebung u;
    u.TestWG = [&wgn](const TInt32Trio& id, const QString& muster) { return ArtikelImWGNMuster(wgn, id, muster, "buchung_bench"); };
    u.Artikel = [&r](const QString&, bool) { ++r.Gebucht; };
    const TIAStand stand = IA_Lesen(inv.ZaehlDatum, "*", inv.Filiale);
    std::vector<TZEP_clMeldung> gesperrt;
    r.Buchung = Sekunden([&] {
        TInventurliste liste(TInventurlisteOptionen::AusParametern());
        r.Ok = TInventurBuchung(liste, wiJahr, u).InvBuchen({{inv, stand.SollEK, stand.IstEK, stand.Status}}, {inv}, gesperrt);
    });
    r.Speicher = Spitzenspeicher();

    // what it wrote, per article
    std::map<TSchluessel, TArtikelSchreiben> artikel;
    const TTabelleNeu bneNeu = NeueZeilen("bne", bneAb), lsnNeu = NeueZeilen("lsn", lsnAb), ivNeu = NeueZeilen("iv", ivAb);
    for (const auto& [k, z] : bneNeu.zeilen)
        artikel[k].bne.push_back(z);
    for (const auto& [k, z] : lsnNeu.zeilen)
        artikel[k].lsn.push_back(z);
    for (const auto& [k, z] : ivNeu.zeilen)
        artikel[k].ivNeu.push_back(z);
    const std::map<qint64, TSchluessel> fvkNachher = FvkIds();
    for (const auto& [id, k] : fvkVorher)
        if (!fvkNachher.count(id))
            artikel[k].fvkWeg.push_back(id);
    for (const TSchluessel& k : GebuchteArtikel(inv))
        if (!gebuchtVorher.count(k))
            artikel[k].ivMarkiert = true;
    for (auto& [k, s] : artikel)
        s.schluessel = {k[0], k[1], k[2]};
    r.SummeBuchung = Pruefsumme();

    // the same writes by plain statements, on copy b
    TZEP_Connection::Configure(b);
    r.Plain = Sekunden([&] { PlainSchreiben(artikel, bneNeu.spalten, lsnNeu.spalten, ivNeu.spalten, inv, wiJahr); });
    r.SummePlain = Pruefsumme();
    r.Gleich = r.SummeBuchung == r.SummePlain;
    r.Artikel = artikel.size();
    r.Bewegungen = bneNeu.zeilen.size();
    r.Verkaufszeilen = lsnNeu.zeilen.size();
    r.Sollsaetze = ivNeu.zeilen.size();

    KopieEntfernen(basis, a);
    KopieEntfernen(basis, b);
    return r;
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString fall = BenchWert(args, "--case", "buchen");
    if (fall == "speicher")
        return Speicher(args);
    const TDbUrl basis = BenchDatenbank(args);
    if (fall == "kette")
        return 0;
    BenchProgrammStarten();
    TJaInteraktion interaktion;

    // the branch-wide inventory open for booking
    TZeileAnzeige inv;
    TDateTime wiJahr = 0;
    {
        QSqlQuery q = Sql("SELECT wijahr, zaehldatum, filiale FROM ia WHERE wgn = '' AND kzzaehlung IN ('2', '3') ORDER BY zaehldatum, filiale");
        if (!q.next()) {
            std::printf("Keine offene filialweite Inventur in %s\n", qPrintable(basis.ToString()));
            return 1;
        }
        const QVariant wj = q.value(0), zd = q.value(1);
        wiJahr = TDatumTraits::FromSql(&wj);
        inv = {TDatumTraits::FromSql(&zd), "*", q.value(2).toInt()};
    }
    // rounds take turns, so that the load of a shared machine falls on both sides alike
    std::vector<double> buchung, plain;
    TRunde r;
    long speicher = 0;   // of the first round: a later one starts with what the earlier left
    bool alleGleich = true, alleOk = true;
    for (int runde = 0; runde < std::max(1, BenchWert(args, "--runs", "1").toInt()); ++runde) {
        r = Runde(basis, inv, wiJahr);
        if (runde == 0)
            speicher = r.Speicher;
        buchung.push_back(r.Buchung);
        plain.push_back(r.Plain);
        alleGleich = alleGleich && r.Gleich;
        alleOk = alleOk && r.Ok;
        if (!r.Gleich)
            std::printf("  Buchung: %s\n  SQL:     %s\n", qPrintable(r.SummeBuchung), qPrintable(r.SummePlain));
    }
    std::printf("%s: Inventur %s Filiale %d, %d Artikel gebucht (%s), %zu Artikel geschrieben\n", qPrintable(basis.ToString()),
                qPrintable(TDateTime_ToQDate(inv.ZaehlDatum).toString("yyyy-MM-dd")), inv.Filiale, r.Gebucht, alleOk ? "abgeschlossen" : "OFFEN",
                r.Artikel);
    std::printf("%zu Bewegungen, %zu Verkaufszeilen, %zu neue Sollsätze\n", r.Bewegungen, r.Verkaufszeilen, r.Sollsaetze);
    std::printf("Spitzenspeicher der Buchung %ld kB\n", speicher);
    std::printf("Buchung %s s, Median %.2f s\n", qPrintable(Zeiten(buchung)), Median(buchung));
    std::printf("dieselben Schreibvorgänge per SQL %s s, Median %.2f s, Ergebnis %s\n", qPrintable(Zeiten(plain)), Median(plain),
                alleGleich ? "gleich" : "VERSCHIEDEN");
    std::printf("ratio %.2f\n", Median(buchung) / Median(plain));
    return alleOk && alleGleich ? 0 : 1;
}
