#include "framework/db/sqlwarnung.h"

#include "framework/db/connection.h"

#include <QtGlobal>

#include <atomic>

namespace {

// the texts of Qt 6's SQL module and its drivers that mean dropped data
constexpr const char* CDatenverlust[] = {
    "Query results lost",                           // a second statement discarded the rows of the first
    "QSqlQuery::value:",                            // not positioned on a row, or an unknown field name
    "QSqlQuery::isNull:",                           // an unknown field name
    "QSqlQuery::seek:",                             // backwards in a forward-only query
    "QPSQLResult::data:",                           // a column out of range
    "all queries will cease to work",               // a connection removed while in use
    "does not belong to the calling thread",        // a connection used by another thread
};

// what Qt says of a connection that is gone each time a statement of it is run, rolled back or
// dropped; the loss itself is told once, by the work that met it
constexpr const char* CNachVerlust[] = {"Unable to free statement", "database not open", "Database not open"};

std::atomic<QtMessageHandler> GVorher{nullptr};
thread_local int tAnzahl = 0;
thread_local QString tLetzte;

template <size_t N>
bool EinerVon(const QString& meldung, const char* const (&texte)[N])
{
    for (const char* text : texte)
        if (meldung.contains(QLatin1String(text)))
            return true;
    return false;
}

void Behandeln(QtMsgType typ, const QMessageLogContext& kontext, const QString& meldung)
{
    if (typ == QtWarningMsg && TZEP_Connection::Verloren() && EinerVon(meldung, CNachVerlust))
        return;
    if (typ == QtWarningMsg && SqlDatenverlust(meldung)) {
        ++tAnzahl;
        tLetzte = meldung;
    }
    if (const QtMessageHandler vorher = GVorher.load())   // null only while the handler is being installed
        vorher(typ, kontext, meldung);
}

}

bool SqlDatenverlust(const QString& meldung)
{
    return EinerVon(meldung, CDatenverlust);
}

void SqlWarnungenZaehlen()
{
    static const bool installiert = [] {
        GVorher = qInstallMessageHandler(Behandeln);
        return true;
    }();
    (void)installiert;
}

int SqlWarnungen()
{
    return tAnzahl;
}

QString LetzteSqlWarnung()
{
    return tLetzte;
}
