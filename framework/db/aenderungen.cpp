#include "framework/db/aenderungen.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace {

const QString CKanal = QStringLiteral("ia_geaendert");
// more notices than this at once: reading everything is cheaper than row by row
constexpr size_t CHoechstens = 200;

bool Lebt(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1"));
}

}

TIAAenderungen::TIAAenderungen()
    : FName(QStringLiteral("kalmet_notiz_%1").arg(reinterpret_cast<quintptr>(this)))
{
    FTakt.setInterval(1000);
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
    FOffen.clear();
    FAlle = false;
    FDatenVersion = -1;
    FWarUnterbrochen = false;
    if (TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL)
        PostgresOeffnen();
    else
        SqliteAbfragen();
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
                             if (!NotizLesen(text.toString(), n) || FOffen.size() >= CHoechstens)
                                 FAlle = true;
                             else
                                 FOffen.push_back(std::move(n));
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

void TIAAenderungen::SqliteAbfragen()
{
    try {
        QSqlQuery q = TZEP_Connection::Ausfuehren(QStringLiteral("TIAAenderungen"), QStringLiteral("PRAGMA data_version"));
        const qint64 version = q.next() ? q.value(0).toLongLong() : -1;
        if (FDatenVersion >= 0 && version != FDatenVersion)
            FAlle = true;
        FDatenVersion = version;
        KanalSetzen(TKanal::Abfrage, false);
    } catch (const std::exception&) {
        KanalSetzen(TKanal::Unterbrochen, false);
    }
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
