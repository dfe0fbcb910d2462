#include "framework/db/pqanweisung.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>

#include <atomic>
#include <charconv>
#include <memory>
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
    const QVariant handle = TZEP_Connection::Database().driver()->handle();
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

// r (null when libpq could not even send the statement) unless it failed; a failure raises as
// Qt's driver reports one: the server's SQLSTATE, and a connection error once it is closed.
TErgebnis Geprueft(const QString& ort, PGconn* verbindung, PGresult* r, ExecStatusType erwartet)
{
    TErgebnis ergebnis(r);
    if (r && PQresultStatus(r) == erwartet)
        return ergebnis;
    // the texts as Qt's driver words them
    const char* code = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const QString sqlState = QString::fromLatin1(code ? code : "");
    QString text = QString::fromUtf8(PQerrorMessage(verbindung));
    if (!sqlState.isEmpty())
        text += QStringLiteral("(%1)").arg(sqlState);
    const QSqlError::ErrorType typ = PQstatus(verbindung) == CONNECTION_BAD ? QSqlError::ConnectionError : QSqlError::StatementError;
    TZEP_Connection::Fehlgeschlagen(ort, QSqlError(QStringLiteral("QPSQL: Unable to create query"), text, typ, sqlState));
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

}

TPqAnweisung::TPqAnweisung(QString ort, QByteArray sql)
    : FOrt(std::move(ort)), FSql(std::move(sql)), FName("kalmet_pq_" + QByteArray::number(++GAnweisungen))
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
    Geprueft(FOrt, c, PQprepare(c, FName.constData(), FSql.constData(), 0, nullptr), PGRES_COMMAND_OK);
    const TErgebnis beschreibung = Geprueft(FOrt, c, PQdescribePrepared(c, FName.constData()), PGRES_COMMAND_OK);
    FParameter = PQnparams(beschreibung.get());
    FVerbindung = kennung;
}

void TPqAnweisung::Lesen(const QByteArrayList& werte, const std::function<void(const TBlockZeile&)>& proZeile)
{
    PGconn* c = Verbindung(FOrt);
    const quint64 kennung = TZEP_Connection::Kennung();
    TZEP_Connection::Pruefen(FOrt);
    Abraeumen(FOrt, c);
    if (FVerbindung != kennung)
        Vorbereiten(c, kennung);
    // the server would answer a wrong number with a protocol error, taken for a lost connection
    if (werte.size() != FParameter)
        TZEP_Connection::Fehlgeschlagen(FOrt, QSqlError(QStringLiteral("Parameter count mismatch"), QString(), QSqlError::StatementError),
                                        {QString::fromUtf8(FSql)});
    std::vector<const char*> texte;
    texte.reserve(werte.size());
    for (const QByteArray& w : werte)
        texte.push_back(w.isNull() ? nullptr : w.constData());
    const TErgebnis r = Geprueft(FOrt, c,
                                 PQexecPrepared(c, FName.constData(), static_cast<int>(texte.size()), texte.data(), nullptr, nullptr, 0),
                                 PGRES_TUPLES_OK);
    TPqZeile zeile(r.get());
    const int n = PQntuples(r.get());
    for (int i = 0; i < n; ++i) {
        zeile.Setzen(i);
        proZeile(zeile);
    }
    TZEP_Connection::Pruefen(FOrt);
}

QByteArray PlatzhalterNummeriert(const QString& sql)
{
    QByteArray r;
    int n = 0;
    bool text = false;   // within a quoted literal
    for (const char c : sql.toUtf8()) {
        if (c == '\'')
            text = !text;
        if (c == '?' && !text)
            r += '$' + QByteArray::number(++n);
        else
            r += c;
    }
    return r;
}
