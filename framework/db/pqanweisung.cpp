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
    if (r)
        text += QStringLiteral("(%1)").arg(sqlState);
    const QSqlError::ErrorType typ = PQstatus(verbindung) == CONNECTION_BAD ? QSqlError::ConnectionError : QSqlError::StatementError;
    TZEP_Connection::Fehlgeschlagen(ort, QSqlError(QStringLiteral("QPSQL: Unable to create query"), text, typ, sqlState));
}

class TPqZeile : public TBlockZeile {
public:
    TPqZeile(const PGresult* r) : FErgebnis(r) {}
    void Setzen(int zeile) { FZeile = zeile; }

    bool Null(int spalte) const override { return PQgetisnull(FErgebnis, FZeile, spalte); }
    int32_t Int(int spalte) const override { return Zahl<int32_t>(spalte); }
    qint64 Int64(int spalte) const override { return Zahl<qint64>(spalte); }
    double Double(int spalte) const override { return Zahl<double>(spalte); }
    QString Text(int spalte) const override
    {
        return Null(spalte) ? QString() : QString::fromUtf8(Wert(spalte), Laenge(spalte));
    }
    TDateTime Datum(int spalte) const override
    {
        return Null(spalte) ? 0 : TDatumTraits::FromText(QLatin1StringView(Wert(spalte), Laenge(spalte)));
    }
    TMengen100 Mengen(int spalte, const QString& name) const override
    {
        return MengenLesen(QLatin1StringView(Wert(spalte), Laenge(spalte)), name);
    }

private:
    const char* Wert(int spalte) const { return PQgetvalue(FErgebnis, FZeile, spalte); }
    int Laenge(int spalte) const { return PQgetlength(FErgebnis, FZeile, spalte); }
    // a NULL or a text that is no number reads as 0, as the driver's values convert
    template <class T>
    T Zahl(int spalte) const
    {
        T wert{};
        const char* text = Wert(spalte);
        if (std::from_chars(text, text + Laenge(spalte), wert).ec != std::errc())
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

void TPqAnweisung::Vorbereiten(void* verbindung)
{
    PGconn* c = static_cast<PGconn*>(verbindung);
    Geprueft(FOrt, c, PQprepare(c, FName.constData(), FSql.constData(), 0, nullptr), PGRES_COMMAND_OK);
    FVerbindung = TZEP_Connection::Kennung();
}

void TPqAnweisung::Lesen(const QByteArrayList& werte, const std::function<void(const TBlockZeile&)>& proZeile)
{
    PGconn* c = Verbindung(FOrt);
    TZEP_Connection::Pruefen(FOrt);
    if (FVerbindung != TZEP_Connection::Kennung())
        Vorbereiten(c);
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
