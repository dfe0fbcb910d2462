#include "framework/db/aenderungen.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlDriver>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QString CKanal = QStringLiteral("ia_geaendert");
const QString COrt = QStringLiteral("TIAAenderungen");
// more notices than this at once: reading everything is cheaper than row by row
constexpr size_t CHoechstens = 200;

bool Lebt(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1"));
}

// Changes with every commit of another connection to the SQLite file; read from memory.
qint64 DatenVersion()
{
    qint64 version = -1;
    TZEP_Connection::Wiederholen(COrt, QStringLiteral("PRAGMA data_version"), {}, [&](const QSqlQuery& q) { version = q.value(0).toLongLong(); });
    return version;
}

// The id of the change log's newest entry; 0 while it is empty.
qint64 NeuesterEintrag()
{
    qint64 id = 0;
    TZEP_Connection::Wiederholen(COrt, QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM ia_aenderung"), {},
                                 [&](const QSqlQuery& q) { id = q.value(0).toLongLong(); });
    return id;
}

}

TIAAenderungen::TIAAenderungen()
    : FName(QStringLiteral("kalmet_notiz_%1").arg(reinterpret_cast<quintptr>(this)))
{
    QObject::connect(&FTakt, &QTimer::timeout, [this] { Takt(); });
    FBuendeln.setSingleShot(true);
    FBuendeln.setInterval(20);
    QObject::connect(&FBuendeln, &QTimer::timeout, [this] { Zustellen(); });
}

TIAAenderungen::~TIAAenderungen()
{
    Beenden();
}

void TIAAenderungen::Starten()
{
    FGestartet = true;
    FDatenVersion = -1;
    FLogStand = -1;
    FWarUnterbrochen = false;
    const bool postgres = TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL;
    if (postgres)
        PostgresOeffnen();
    else
        SqliteAbfragen();
    // the owner reads everything after the start
    FOffen.clear();
    FAlle = false;
    // the server's channel is checked for a break; the data version is a comparison in memory
    FTakt.setInterval(postgres ? 1000 : 100);
    FTakt.start();
}

void TIAAenderungen::Beenden()
{
    FTakt.stop();
    FBuendeln.stop();
    FEmpfaenger.reset();
    TZEP_Connection::Schliessen(FName);
    FGestartet = false;
}

void TIAAenderungen::KanalSetzen(TKanal kanal, bool wieder)
{
    if (kanal == FKanal && !wieder)
        return;
    FKanal = kanal;
    if (OnKanal)
        OnKanal(kanal, wieder);
}

bool TIAAenderungen::NotizLesen(const QString& text, TIANotiz& notiz)
{
    const QStringList teile = text.split(QLatin1Char('\t'));
    bool zahl = false;
    if (teile.size() != 3)
        return false;
    notiz.Filiale = teile[2].toInt(&zahl);
    if (!zahl)
        return false;
    try {
        const QVariant d(teile[0]);
        notiz.ZaehlDatum = TDatumTraits::FromSql(&d);
    } catch (const std::exception&) {
        return false;
    }
    notiz.WGN = teile[1];
    return true;
}

void TIAAenderungen::PostgresOeffnen()
{
    FEmpfaenger.reset();
    TZEP_Connection::Schliessen(FName);
    try {
        QSqlDatabase db = TZEP_Connection::Oeffnen(TZEP_Connection::Url(), FName, QStringLiteral("application_name=kalmet_notiz;connect_timeout=2"));
        FEmpfaenger = std::make_unique<QObject>();
        QObject::connect(db.driver(), &QSqlDriver::notification, FEmpfaenger.get(),
                         [this](const QString& kanal, QSqlDriver::NotificationSource, const QVariant& text) {
                             if (kanal != CKanal)
                                 return;
                             TIANotiz n;
                             if (NotizLesen(text.toString(), n))
                                 Vormerken(std::move(n));
                             else
                                 FAlle = true;
                             FBuendeln.start();
                         });
        if (!db.driver()->subscribeToNotification(CKanal))
            throw std::runtime_error("LISTEN");
    } catch (const std::exception&) {
        FEmpfaenger.reset();
        TZEP_Connection::Schliessen(FName);
        FWarUnterbrochen = true;
        KanalSetzen(TKanal::Unterbrochen, false);
        return;
    }
    const bool wieder = FWarUnterbrochen;
    FWarUnterbrochen = false;
    if (wieder) {
        // what changed while the channel was down is unknown; the other connections of
        // this program died with the server too, when it restarted
        bool lebt = false;
        try {
            lebt = Lebt(TZEP_Connection::Database());
        } catch (const std::exception&) {
            // not reachable again yet: the next use opens it anew
        }
        if (!lebt)
            TZEP_Connection::Erneuern();
        FOffen.clear();
        FAlle = true;
    }
    KanalSetzen(TKanal::Live, wieder);
    if (wieder)
        Zustellen();
}

bool TIAAenderungen::PostgresLebt()
{
    return QSqlDatabase::contains(FName) && Lebt(QSqlDatabase::database(FName, false));
}

void TIAAenderungen::Vormerken(TIANotiz notiz)
{
    const auto gleich = [&](const TIANotiz& n) { return n.ZaehlDatum == notiz.ZaehlDatum && n.WGN == notiz.WGN && n.Filiale == notiz.Filiale; };
    if (std::any_of(FOffen.begin(), FOffen.end(), gleich))
        return;
    if (FOffen.size() >= CHoechstens)
        FAlle = true;
    else
        FOffen.push_back(std::move(notiz));
}

void TIAAenderungen::SqliteAbfragen()
{
    try {
        const qint64 version = DatenVersion();
        if (FLogStand < 0)
            LogStandLernen();
        else if (version != FDatenVersion)
            LogLesen();
        FDatenVersion = version;
        KanalSetzen(TKanal::Abfrage, false);
    } catch (const std::exception&) {
        KanalSetzen(TKanal::Unterbrochen, false);
    }
}

void TIAAenderungen::LogStandLernen()
{
    FLogStand = NeuesterEintrag();
    // what changed before is unknown
    FAlle = true;
}

void TIAAenderungen::LogLesen()
{
    qint64 naechster = FLogStand + 1;
    TZEP_Connection::Wiederholen(COrt, QStringLiteral("SELECT id, zaehldatum, wgn, filiale FROM ia_aenderung WHERE id > ? ORDER BY id"),
                                 {FLogStand}, [&](const QSqlQuery& q) {
                                     // a gap: entries not seen were removed meanwhile
                                     if (q.value(0).toLongLong() != naechster)
                                         FAlle = true;
                                     naechster = q.value(0).toLongLong() + 1;
                                     const QVariant datum = q.value(1);
                                     Vormerken({TDatumTraits::FromSql(&datum), q.value(2).toString(), q.value(3).toInt()});
                                 });
    FLogStand = naechster - 1;
}

void TIAAenderungen::Takt()
{
    if (!FGestartet || (Darf && !Darf()))
        return;
    if (TZEP_Connection::Verloren()) {
        // told by the work that met the loss: the connections are opened anew, and what
        // changed meanwhile is unknown
        TZEP_Connection::Erneuern();
        FAlle = true;
    }
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL) {
        SqliteAbfragen();
    } else if (!PostgresLebt()) {
        FWarUnterbrochen = true;
        PostgresOeffnen();
    }
    if (FKanal != TKanal::Unterbrochen)
        Zustellen();
}

void TIAAenderungen::Zustellen()
{
    if ((FOffen.empty() && !FAlle) || (Darf && !Darf()))
        return;
    std::vector<TIANotiz> notizen;
    notizen.swap(FOffen);
    const bool alle = FAlle;
    FAlle = false;
    if (OnGeaendert && !OnGeaendert(notizen, alle))
        FAlle = true;
}
