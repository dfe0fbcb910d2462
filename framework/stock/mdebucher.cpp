#include "framework/stock/mdebucher.h"

#include "framework/app/info.h"
#include "framework/app/ordner.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/stock/mde/zaehlimport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

const QString COrt = QStringLiteral("TMDEBucher");

QString Bericht(const QString& name, const TZaehlimport& r)
{
    QString t = QStringLiteral("Zähldatei %1 abgelehnt am %2; nichts daraus wurde gezählt.\n")
                    .arg(name, TDateTime_ToQDateTime(orv_Now()).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    for (const TZaehlfehler& f : r.Fehler)
        t += f.Nr == 0 ? QStringLiteral("Datei: %1\n").arg(f.Grund) : QStringLiteral("Zeile %1: %2 – %3\n").arg(f.Nr).arg(f.Text, f.Grund);
    return t;
}

QString Gefunden(const QString& name, const TZaehlfehler& f)
{
    return f.Nr == 0 ? QStringLiteral("%1: %2").arg(name, f.Grund) : QStringLiteral("%1, Zeile %2: %3 – %4").arg(name).arg(f.Nr).arg(f.Text, f.Grund);
}

}

QString TMDEErgebnis::Text() const
{
    const auto dateien = [](qsizetype n) { return n == 1 ? QStringLiteral("1 Zähldatei") : QStringLiteral("%1 Zähldateien").arg(n); };
    QString t = QStringLiteral("%1 eingelesen, %2 Stück.").arg(dateien(Dateien)).arg(Stueck);
    if (Abgelehnt.empty())
        return t;
    t += QStringLiteral("\n%1 abgelehnt (Ordner \"fehler\", je Datei ein Bericht):").arg(dateien(static_cast<qsizetype>(Abgelehnt.size())));
    for (const TMDEAbgelehnt& a : Abgelehnt) {
        for (const QString& g : a.Gruende.mid(0, CGruendeJeDatei))
            t += QLatin1Char('\n') + g;
        if (a.Gruende.size() > CGruendeJeDatei)
            t += QStringLiteral("\n%1: %2 weitere Zeilen im Bericht").arg(a.Datei).arg(a.Gruende.size() - CGruendeJeDatei);
    }
    return t;
}

TMDEBucher::TMDEBucher(QString ordner)
    : FOrdner(ordner.isEmpty() ? GetDirWwsByName(QStringLiteral("mde"), QString(), false) : std::move(ordner))
{
}

bool TMDEBucher::DateiSuche()
{
    const QStringList verwaist = FOrdner.Verwaiste();
    const QStringList wartend = FOrdner.Wartende();
    const int anzahl = static_cast<int>(verwaist.size() + wartend.size());
    int nr = 0;
    for (const QString& pfad : verwaist) {
        if (OnDatei)
            OnDatei(++nr, anzahl, QFileInfo(pfad).fileName());
        Einlesen(pfad, true);
    }
    for (const QString& name : wartend) {
        if (OnDatei)
            OnDatei(++nr, anzahl, name);
        if (const QString pfad = FOrdner.Beanspruchen(name); !pfad.isEmpty())
            Einlesen(pfad, false);
    }
    return anzahl > 0;
}

void TMDEBucher::Einlesen(const QString& pfad, bool nachAbbruch)
{
    const QString name = QFileInfo(pfad).fileName();
    TZaehlimport r;
    try {
        QFile f(pfad);
        if (!f.open(QIODevice::ReadOnly))
            FehlerRaise(COrt, {QStringLiteral("%1 kann nicht gelesen werden: %2").arg(pfad, f.errorString())});
        const QByteArray inhalt = f.readAll();
        const QString sha = QString::fromLatin1(QCryptographicHash::hash(inhalt, QCryptographicHash::Sha256).toHex());
        try {
            r = ZaehldateiEinlesen(ZaehldateiLesen(inhalt), name, sha);
        } catch (const std::exception&) {
            // another process recorded the same content meanwhile, or the database failed
            r.Frueher = Zaehldatei_Lesen(sha);
            if (!r.Frueher)
                throw;
            r.Art = TZaehlimport::SchonEingelesen;
        }
    } catch (const EVerbindungVerloren&) {
        // whether its import was committed is not known: it stays claimed, and the next run
        // takes it over as a file of a run that ended, imported once
        throw;
    } catch (const std::exception&) {
        FOrdner.Zurueckgeben(pfad);
        throw;
    }
    if (r.Art == TZaehlimport::SchonEingelesen && nachAbbruch && r.Frueher->Name == name) {
        // imported by a run that ended before it could move the file
        FOrdner.Archivieren(pfad);
        ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 war schon eingelesen und liegt jetzt im Archiv").arg(name), 0);
        return;
    }
    if (r.Art == TZaehlimport::SchonEingelesen)
        r.Fehler = {{0, QString(), QStringLiteral("derselbe Inhalt wurde schon am %1 als %2 eingelesen")
                                       .arg(TDateTime_ToQDateTime(r.Frueher->Zeit).toString(QStringLiteral("dd.MM.yyyy hh:mm")), r.Frueher->Name)}};
    if (r.Art != TZaehlimport::Eingelesen) {
        FOrdner.Ablehnen(pfad, Bericht(name, r));
        TMDEAbgelehnt a{name, {}};
        for (const TZaehlfehler& f : r.Fehler)
            a.Gruende << Gefunden(name, f);
        ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 abgelehnt: %2").arg(name, a.Gruende.join(QStringLiteral("; "))), 1);
        FErgebnis.Abgelehnt.push_back(std::move(a));
        return;
    }
    FOrdner.Archivieren(pfad);
    ++FErgebnis.Dateien;
    FErgebnis.Stueck += r.Stueck;
    ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 eingelesen: %2 Zeilen, %3 Stück").arg(name).arg(r.Zeilen).arg(r.Stueck), 0);
}
