#include "framework/app/info.h"

#include "framework/app/interaktion.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/core/geheimnis.h"
#include "framework/db/connection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>
#include <utility>

TORVInfo& ORVInfo()
{
    static TORVInfo info;
    return info;
}

namespace {
thread_local int tKanten = 0;     // TVerlustKante alive on this thread: guards pass a loss on
std::atomic<int> GKanten = 0;     // on any thread: a loss is told by one of them
}

TVerlustKante::TVerlustKante()
{
    ++tKanten;
    ++GKanten;
}

TVerlustKante::~TVerlustKante()
{
    --tKanten;
    --GKanten;
}

bool TVerlustKante::Weiterreichen(const std::exception& e)
{
    return tKanten > 0 && dynamic_cast<const EVerbindungVerloren*>(&e);
}

void ORVInfoProcessMessages(int ms)
{
    const int kanten = std::exchange(tKanten, 0);
    const auto zurueck = qScopeGuard([kanten] { tKanten = kanten; });
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
}

void TORVInfo::RegisterException(const QString& ort, const std::exception& e, bool anzeigen)
{
    const QString text = QString::fromUtf8(e.what());
    if (!dynamic_cast<const EVerbindungVerloren*>(&e)) {
        RegisterException(ort, text, anzeigen);
        return;
    }
    // one loss is told once: by the edge that ends the work, else by the first who meets it,
    // once the work has unwound (it may meet it while it cleans up)
    const int generation = TZEP_Connection::Generation();
    if (GKanten > 0 || FVerlustGemeldet.exchange(generation) == generation)
        return;
    RegisterException(ort, text, false);
    if (FStumm == 0)
        Zeigen(ort, text, true);
}

void TORVInfo::RegisterException(const QString& ort, const QString& roh, bool anzeigen)
{
    const QString text = OhneGeheimnisse(roh);
    {
        QMutexLocker lock(&FMutex);
        FRegister.push_back({ort, text, anzeigen, TDateTime_FromQDateTime(QDateTime::currentDateTime())});
        FGesammelt[ort] << text;
    }
    Protokollieren(1, ort + QStringLiteral(": ") + text);
    if (anzeigen && FStumm == 0)
        Zeigen(ort, text, false);
}

void TORVInfo::Zeigen(const QString& ort, const QString& text, bool spaeter)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || (!spaeter && QThread::currentThread() == app->thread()))
        ORVInteraktion().Meldung(maFehler, ort, text, nullptr);
    else   // dialogs belong to the user-interface thread
        QMetaObject::invokeMethod(app, [ort, text] { ORVInteraktion().Meldung(maFehler, ort, text, nullptr); },
                                  Qt::QueuedConnection);
}

std::vector<TRegistrierteException> TORVInfo::Register() const
{
    QMutexLocker lock(&FMutex);
    return FRegister;
}

void TORVInfo::RegisterLeeren()
{
    QMutexLocker lock(&FMutex);
    FRegister.clear();
}

bool TORVInfo::Registriert(const QString& ort) const
{
    QMutexLocker lock(&FMutex);
    for (const TRegistrierteException& r : FRegister)
        if (r.Ort == ort)
            return true;
    return false;
}

void TORVInfo::FehlerRaise(const QString& ort)
{
    QStringList texte;
    {
        QMutexLocker lock(&FMutex);
        const auto it = FGesammelt.find(ort);
        if (it == FGesammelt.end() || it->second.isEmpty())
            return;
        texte = it->second;
        FGesammelt.erase(it);
    }
    ::FehlerRaise(ort, texte);
}

void TORVInfo::FehlerTerminate(const QString& ort)
{
    QMutexLocker lock(&FMutex);
    FGesammelt.erase(ort);
}

void TORVInfo::FehlerCheckpoint(const QString& ort, int code)
{
    QStringList texte;
    {
        QMutexLocker lock(&FMutex);
        const auto it = FGesammelt.find(ort);
        if (it != FGesammelt.end())
            texte = it->second;
        FGesammelt.erase(ort);
    }
    if (!texte.isEmpty() && code == 0)
        ORVInteraktion().Meldung(maFehler, ort, texte.join(QLatin1Char('\n')), nullptr);
}

QString TORVInfo::MeldungsText(const QString& modul, int nr)
{
    try {
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare(QStringLiteral("SELECT text FROM meldung WHERE modul = ? AND nr = ?"));
        q.addBindValue(modul);
        q.addBindValue(nr);
        if (q.exec() && q.next())
            return q.value(0).toString();
    } catch (const std::exception&) {
        // no database: the message still names itself
    }
    return QStringLiteral("Meldung %1 %2 fehlt im Meldungskatalog.").arg(modul).arg(nr);
}

int TORVInfo::ShowMeldung(int art, const QStringList& argumente, QObject* owner, const QString& modul, int nr)
{
    QString text = MeldungsText(modul, nr);
    for (const QString& a : argumente)
        text = text.arg(a);
    return ORVInteraktion().Meldung(art, QStringLiteral("%1 %2").arg(modul).arg(nr), text, owner);
}

void TORVInfo::WriteStamp(const QString& zeile, int protokoll)
{
    Protokollieren(protokoll, zeile);
}

void TORVInfo::WriteTextWithStamp(const QString& text)
{
    Protokollieren(0, text);
}

void TORVInfo::Protokollieren(int art, const QString& roh)
{
    const QString text = OhneGeheimnisse(roh);
    const QDateTime jetzt = QDateTime::currentDateTime();
    std::fprintf(stderr, "%s %s\n", qPrintable(jetzt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))), qPrintable(text));
    try {
        QSqlQuery q(TZEP_Connection::Database());
        q.prepare(QStringLiteral("INSERT INTO protokoll (zeit, art, modul, benutzer, text) VALUES (?, ?, ?, ?, ?)"));
        q.addBindValue(jetzt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
        q.addBindValue(art);
        // a null text binds as NULL, which the columns refuse: the line would be lost
        const auto text0 = [](const QString& t) { return t.isNull() ? QStringLiteral("") : t; };
        q.addBindValue(text0(ORVProgramm().Modul()));
        q.addBindValue(text0(ORVProgramm().Benutzer()));
        q.addBindValue(text.left(2000));
        q.exec();
    } catch (const std::exception&) {
        // the protocol must never turn an error into a second one
    }
}

TFehlerSammler::TFehlerSammler() : FVorher(ORVInfo().Register().size())
{
    ORVInfo().StummAn();
}

TFehlerSammler::~TFehlerSammler()
{
    ORVInfo().StummAus();
}

QString TFehlerSammler::Bericht() const
{
    const std::vector<TRegistrierteException> r = ORVInfo().Register();
    if (r.size() <= FVorher)
        return {};
    const TRegistrierteException& erste = r[FVorher];
    QString text = erste.Ort + QStringLiteral(": ") + erste.Text;
    if (const size_t weitere = r.size() - FVorher - 1; weitere > 0)
        text += QStringLiteral(" (und %1 weitere Fehler im Protokoll)").arg(weitere);
    return text;
}
