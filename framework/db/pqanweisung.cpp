#include "framework/db/pqanweisung.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>

#include <atomic>
#include <charconv>
#include <exception>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

std::atomic<int> GAnweisungen = 0;   // numbers the statements' names

struct TErgebnisFreigeben {
    void operator()(PGresult* r) const { PQclear(r); }
};
using TErgebnis = std::unique_ptr<PGresult, TErgebnisFreigeben>;

// The libpq connection under the calling thread's Qt connection.
PGconn* Verbindung(const QString& ort)
{
    // the driver hands it over under the name of libpq's struct
    const QVariant handle = TZEP_Connection::DatabaseOhneSenden().driver()->handle();
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 || !handle.constData())
        FehlerRaise(ort, {QStringLiteral("Keine PostgreSQL-Verbindung"), QString::fromLatin1(handle.typeName())});
    return *static_cast<PGconn* const*>(handle.constData());
}

// Takes what a query of Qt's driver left on the connection, as libpq would before the next
// statement, but not without a word: the end of a query read to its last row is nothing lost,
// rows it had still to read are.
void Abraeumen(const QString& ort, PGconn* c)
{
    if (PQtransactionStatus(c) != PQTRANS_ACTIVE)
        return;
    bool zeilen = false;
    while (PGresult* r = PQgetResult(c)) {
        zeilen = zeilen || PQntuples(r) > 0;
        PQclear(r);
    }
    if (zeilen)
        FehlerRaise(ort, {QStringLiteral("Zwei Anweisungen zugleich auf einer Verbindung: die Zeilen der ersten gingen verloren.")});
}

// The failure of r (null when libpq could not even send the statement) as Qt's driver reports
// one: the server's SQLSTATE, and a connection error once the connection is closed.
QSqlError Fehler(PGconn* verbindung, const PGresult* r)
{
    const char* code = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const QString sqlState = QString::fromLatin1(code ? code : "");
    QString text = QString::fromUtf8(r && *PQresultErrorMessage(r) ? PQresultErrorMessage(r) : PQerrorMessage(verbindung));
    if (!sqlState.isEmpty())
        text += QStringLiteral("(%1)").arg(sqlState);
    const QSqlError::ErrorType typ = PQstatus(verbindung) == CONNECTION_BAD ? QSqlError::ConnectionError : QSqlError::StatementError;
    return QSqlError(QStringLiteral("QPSQL: Unable to create query"), text, typ, sqlState);
}

// r unless it failed; a failure raises.
TErgebnis Geprueft(const QString& ort, PGconn* verbindung, PGresult* r, ExecStatusType erwartet)
{
    TErgebnis ergebnis(r);
    if (r && PQresultStatus(r) == erwartet)
        return ergebnis;
    TZEP_Connection::Fehlgeschlagen(ort, Fehler(verbindung, r));
}

// The server would answer a wrong number of values with a protocol error, taken for a lost
// connection.
void ParameterPruefen(const QString& ort, const QByteArray& sql, qsizetype werte, qsizetype parameter)
{
    if (werte != parameter)
        TZEP_Connection::Fehlgeschlagen(ort, QSqlError(QStringLiteral("Parameter count mismatch"), QString(), QSqlError::StatementError),
                                        {QString::fromUtf8(sql)});
}

std::vector<const char*> Texte(const QByteArrayList& werte)
{
    std::vector<const char*> texte;
    texte.reserve(werte.size());
    for (const QByteArray& w : werte)
        texte.push_back(w.isNull() ? nullptr : w.constData());
    return texte;
}

class TPqZeile : public TTextZeile {
public:
    explicit TPqZeile(const PGresult* r) : TTextZeile(PQnfields(r)), FErgebnis(r) {}
    void Setzen(int zeile) { FZeile = zeile; }

    bool Null(int spalte) const override
    {
        Gueltig(spalte);
        return PQgetisnull(FErgebnis, FZeile, spalte);
    }
    int32_t Int(int spalte) const override { return Zahl<int32_t>(spalte); }
    qint64 Int64(int spalte) const override { return Zahl<qint64>(spalte); }
    double Double(int spalte) const override { return Zahl<double>(spalte); }

protected:
    std::string_view Roh(int spalte) const override
    {
        if (Null(spalte))
            return {};
        return {PQgetvalue(FErgebnis, FZeile, spalte), static_cast<size_t>(PQgetlength(FErgebnis, FZeile, spalte))};
    }

private:
    // a NULL or a text that is no number reads as 0, as the driver's values convert
    template <class T>
    T Zahl(int spalte) const
    {
        T wert{};
        const std::string_view text = Roh(spalte);
        if (std::from_chars(text.data(), text.data() + text.size(), wert).ec != std::errc())
            return T{};
        return wert;
    }

    const PGresult* FErgebnis;
    int FZeile = 0;
};

// The rows of a result, which they own.
class TPqZeilen : public TZeilen {
public:
    explicit TPqZeilen(TErgebnis r) : FErgebnis(std::move(r)), FZeile(FErgebnis.get()) {}
    int Anzahl() const override { return PQntuples(FErgebnis.get()); }
    const TBlockZeile& Zeile(int i) override
    {
        FZeile.Setzen(i);
        return FZeile;
    }

private:
    TErgebnis FErgebnis;
    TPqZeile FZeile;
};

}

TPqAnweisung::TPqAnweisung(QString ort, QByteArray sql)
    : FOrt(std::move(ort)), FSql(std::move(sql))
{
}

TPqAnweisung::~TPqAnweisung()
{
    // the server keeps a prepared statement as long as the session: freed while its
    // connection is at hand and idle, else the session's end frees it
    if (FVerbindung == 0 || FVerbindung != TZEP_Connection::Kennung() || TZEP_Connection::Verloren())
        return;
    try {
        PGconn* c = Verbindung(FOrt);
        const PGTransactionStatusType stand = PQtransactionStatus(c);
        if (stand == PQTRANS_IDLE || stand == PQTRANS_INTRANS)
            PQclear(PQexec(c, ("DEALLOCATE " + FName).constData()));
    } catch (const std::exception&) {
        // the connection went meanwhile, and the statement with it
    }
}

void TPqAnweisung::Vorbereiten(void* verbindung, quint64 kennung)
{
    PGconn* c = static_cast<PGconn*>(verbindung);
    // a name of its own on each connection: the one before may still be taken on this one, by
    // a preparation before the statement went to another thread's connection
    FName = "kalmet_pq_" + QByteArray::number(++GAnweisungen);
    Geprueft(FOrt, c, PQprepare(c, FName.constData(), FSql.constData(), 0, nullptr), PGRES_COMMAND_OK);
    const TErgebnis beschreibung = Geprueft(FOrt, c, PQdescribePrepared(c, FName.constData()), PGRES_COMMAND_OK);
    FParameter = PQnparams(beschreibung.get());
    FVerbindung = kennung;
}

std::unique_ptr<TZeilen> TPqAnweisung::Behalten(const QByteArrayList& werte)
{
    TZEP_Connection::Database();   // what waits goes first
    PGconn* c = Verbindung(FOrt);
    const quint64 kennung = TZEP_Connection::Kennung();
    TZEP_Connection::Pruefen(FOrt);
    Abraeumen(FOrt, c);
    if (FVerbindung != kennung)
        Vorbereiten(c, kennung);
    ParameterPruefen(FOrt, FSql, werte.size(), FParameter);
    const std::vector<const char*> texte = Texte(werte);
    TErgebnis r = Geprueft(FOrt, c, PQexecPrepared(c, FName.constData(), static_cast<int>(texte.size()), texte.data(), nullptr, nullptr, 0),
                           PGRES_TUPLES_OK);
    TZEP_Connection::Pruefen(FOrt);
    return std::make_unique<TPqZeilen>(std::move(r));
}

void TPqAnweisung::Lesen(const QByteArrayList& werte, const std::function<void(const TBlockZeile&)>& proZeile)
{
    const std::unique_ptr<TZeilen> zeilen = Behalten(werte);
    for (int i = 0; i < zeilen->Anzahl(); ++i)
        proZeile(zeilen->Zeile(i));
    TZEP_Connection::Pruefen(FOrt);
}

QByteArray PlatzhalterNummeriert(const QString& sql, qsizetype* anzahl)
{
    QByteArray r;
    qsizetype n = 0;
    bool text = false;   // within a quoted literal
    for (const char c : sql.toUtf8()) {
        if (c == '\'')
            text = !text;
        if (c == '?' && !text)
            r += '$' + QByteArray::number(++n);
        else
            r += c;
    }
    if (anzahl)
        *anzahl = n;
    return r;
}

namespace {

// A statement PqNacheinander prepared on the calling thread's connection.
struct TVorbereitet {
    QByteArray Name;
    quint64 Verbindung = 0;
};
thread_local std::unordered_map<QByteArray, TVorbereitet> tVorbereitet;

// Reads the answers of a pipeline. The first failure is kept and raised once all are read, so
// that the connection leaves pipeline mode idle; only a lost connection raises at once.
class TAntworten {
public:
    explicit TAntworten(PGconn* c) : FC(c) {}

    // Reads the results of one statement up to its end, its rows to ergebnis; true when it ran.
    // The first statement comes row by row when Qt's driver left the single-row mode of its
    // last query set.
    bool Lesen(const TPqSchritt& s, const std::function<void(const PGresult*)>& ergebnis = {})
    {
        bool gelaufen = true;
        while (const TErgebnis r = Naechstes(s.Ort)) {
            const ExecStatusType status = PQresultStatus(r.get());
            if (status == PGRES_PIPELINE_ABORTED) {
                gelaufen = false;
            } else if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_SINGLE_TUPLE) {
                Merken(s, Fehler(FC, r.get()));
                gelaufen = false;
            } else if (!s.Meldung.isEmpty() && s.Meldung != PQcmdStatus(r.get())) {
                // a COMMIT of a transaction a failed statement aborted answers ROLLBACK
                Merken(s, QSqlError(QStringLiteral("QPSQL: Unable to commit transaction"), QString::fromLatin1(PQcmdStatus(r.get())),
                                    QSqlError::TransactionError));
                gelaufen = false;
            } else if (ergebnis && !FFehler) {
                try {
                    ergebnis(r.get());
                } catch (...) {
                    FFehler = std::current_exception();
                }
            }
        }
        return gelaufen;
    }
    // Reads the end of the pipeline, leaves pipeline mode, then raises the first failure.
    void Abschliessen(const QString& ort)
    {
        const TErgebnis sync = Naechstes(ort);
        if (!sync || PQresultStatus(sync.get()) != PGRES_PIPELINE_SYNC || !PQexitPipelineMode(FC))
            TZEP_Connection::Fehlgeschlagen(ort, Fehler(FC, sync.get()));
        if (FFehler)
            std::rethrow_exception(FFehler);
    }

private:
    TErgebnis Naechstes(const QString& ort)
    {
        TErgebnis r(PQgetResult(FC));
        if (!r && PQstatus(FC) == CONNECTION_BAD)
            TZEP_Connection::Fehlgeschlagen(ort, Fehler(FC, nullptr));
        return r;
    }
    void Merken(const TPqSchritt& s, const QSqlError& fehler)
    {
        if (FFehler)
            return;
        try {
            TZEP_Connection::Fehlgeschlagen(s.Ort, fehler, {QString::fromUtf8(s.Sql)});
        } catch (...) {
            FFehler = std::current_exception();
        }
    }

    PGconn* FC;
    std::exception_ptr FFehler;
};

// Sends s; v is its prepared statement when it has values, neu whether it is to be prepared.
bool Senden(PGconn* c, const TPqSchritt& s, const TVorbereitet* v, bool neu)
{
    const std::vector<const char*> texte = Texte(s.Werte);
    if (!v)
        return PQsendQueryParams(c, s.Sql.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
    return (!neu || PQsendPrepare(c, v->Name.constData(), s.Sql.constData(), 0, nullptr))
        && PQsendQueryPrepared(c, v->Name.constData(), static_cast<int>(texte.size()), texte.data(), nullptr, nullptr, 0);
}

// Leaves pipeline mode after a failure on the way: sends the sync if it has not gone and reads
// the answers up to it. False when the connection cannot be brought back.
bool PipelineVerlassen(PGconn* c, bool synchron)
{
    if (PQpipelineStatus(c) == PQ_PIPELINE_OFF)
        return true;
    if (PQstatus(c) == CONNECTION_BAD || (!synchron && !PQpipelineSync(c)))
        return false;
    // the answers of each statement end with a null; two in a row: none left
    for (int leer = 0; leer < 2;) {
        const TErgebnis r(PQgetResult(c));
        if (!r && PQstatus(c) == CONNECTION_BAD)
            return false;
        leer = r ? 0 : leer + 1;
        if (r && PQresultStatus(r.get()) == PGRES_PIPELINE_SYNC)
            break;
    }
    return PQexitPipelineMode(c);
}

void ZeilenWeitergeben(const TPqSchritt& s, const PGresult* r)
{
    if (!s.ProZeile)
        return;
    TPqZeile zeile(r);
    const int n = PQntuples(r);
    for (int i = 0; i < n; ++i) {
        zeile.Setzen(i);
        s.ProZeile(zeile);
    }
}

}

void PqNacheinander(const std::vector<TPqSchritt>& schritte)
{
    if (schritte.empty())
        return;
    const QString& ort = schritte.front().Ort;
    thread_local bool laeuft = false;   // its answers are being read
    if (laeuft)
        FehlerRaise(ort, {QStringLiteral("Zwei Anweisungen zugleich auf einer Verbindung.")});
    laeuft = true;
    const auto gelesen = qScopeGuard([] { laeuft = false; });
    PGconn* c = Verbindung(ort);
    const quint64 kennung = TZEP_Connection::Kennung();
    TZEP_Connection::Pruefen(ort);
    Abraeumen(ort, c);
    // a statement with values is prepared on the server once; one without goes unnamed
    std::vector<TVorbereitet*> vorbereitet(schritte.size(), nullptr);
    std::vector<bool> neu(schritte.size(), false);
    for (size_t i = 0; i < schritte.size(); ++i) {
        const TPqSchritt& s = schritte[i];
        ParameterPruefen(s.Ort, s.Sql, s.Werte.size(), s.Parameter);
        if (s.Werte.isEmpty())
            continue;
        TVorbereitet& v = tVorbereitet[s.Sql];
        vorbereitet[i] = &v;
        neu[i] = kennung == 0 || v.Verbindung != kennung;
    }
    if (!PQenterPipelineMode(c))
        TZEP_Connection::Fehlgeschlagen(ort, Fehler(c, nullptr));
    bool synchron = false;
    try {
        for (size_t i = 0; i < schritte.size(); ++i) {
            const TPqSchritt& s = schritte[i];
            if (neu[i])
                vorbereitet[i]->Name = "kalmet_pq_" + QByteArray::number(++GAnweisungen);
            if (!Senden(c, s, vorbereitet[i], neu[i]))   // libpq could not write to the connection
                TZEP_Connection::Fehlgeschlagen(s.Ort, Fehler(c, nullptr));
        }
        synchron = PQpipelineSync(c);
        if (!synchron)
            TZEP_Connection::Fehlgeschlagen(ort, Fehler(c, nullptr));
        TAntworten antworten(c);
        for (size_t i = 0; i < schritte.size(); ++i) {
            const TPqSchritt& s = schritte[i];
            if (neu[i] && antworten.Lesen(s))
                vorbereitet[i]->Verbindung = kennung;
            antworten.Lesen(s, [&s](const PGresult* r) { ZeilenWeitergeben(s, r); });
        }
        antworten.Abschliessen(ort);
    } catch (...) {
        if (!PipelineVerlassen(c, synchron))   // every later statement would fail or read these answers
            TZEP_Connection::Fehlgeschlagen(ort, QSqlError(QStringLiteral("QPSQL: pipeline"), QString::fromUtf8(PQerrorMessage(c)),
                                                           QSqlError::ConnectionError));
        throw;
    }
    TZEP_Connection::Pruefen(ort);
}

QByteArray PqWert(const QVariant& wert)
{
    switch (wert.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::QString:
        return wert.isNull() ? QByteArray() : wert.toString().toUtf8();
    default:   // bytes, dates and the like the driver would write otherwise
        FehlerRaise(QStringLiteral("PqWert"), {QStringLiteral("Wert der Art %1 nicht vorgesehen").arg(QString::fromLatin1(wert.typeName()))});
    }
}
