#include "framework/stock/mde/mdeordner.h"

#include "framework/core/fehler.h"
#include "framework/core/prozess.h"
#include "framework/core/zitat.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString COrt = QStringLiteral("TMDEBucher");
constexpr int CNummernMax = 10000;
// What is read of a file whose header lines are wanted.
constexpr qint64 CKopfBytes = 64 * 1024;

// The name itself, else "name-2.ext", "name-3.ext" ...
QString Kandidat(const QString& name, int n)
{
    if (n == 1)
        return name;
    const QFileInfo fi(name);
    const QString endung = fi.suffix().isEmpty() ? QString() : QLatin1Char('.') + fi.suffix();
    return QStringLiteral("%1-%2%3").arg(fi.completeBaseName()).arg(n).arg(endung);
}

std::vector<TEintrag> NachNamen(std::vector<TEintrag> e)
{
    std::sort(e.begin(), e.end(), [](const TEintrag& a, const TEintrag& b) { return a.Name < b.Name; });
    return e;
}

// Whether the process whose work folder this is still runs; nothing for another machine's
// folder (only that machine knows). A pid alone is reused, so the folder names the process's
// start as well; folders of older versions name only the pid.
std::optional<bool> Laeuft(const QString& ordner)
{
    const QString praefix = Rechner() + QLatin1Char('-');
    if (!ordner.startsWith(praefix))
        return std::nullopt;
    const QStringList teile = ordner.mid(praefix.size()).split(QLatin1Char('-'));
    bool zahl = false, beginnZahl = false;
    const int pid = teile[0].toInt(&zahl);
    if (!zahl || teile.size() > 2)
        return std::nullopt;
    if (teile.size() == 1)
        return ProzessLaeuft(pid);
    const qint64 beginn = teile[1].toLongLong(&beginnZahl);
    if (!beginnZahl)
        return std::nullopt;
    const qint64 jetzt = ProzessBeginn(pid);
    // a process whose start this one may not see (another user's, /proc hidden) counts as running
    return jetzt == -1 ? ProzessLaeuft(pid) : jetzt == beginn;
}

// This process's work folder: machine, process id and start (the start left out where the
// system does not tell it).
QString EigeneArbeit()
{
    const qint64 beginn = ProzessBeginn(EigenerProzess());
    const QString r = QStringLiteral("%1-%2").arg(Rechner()).arg(EigenerProzess());
    return beginn < 0 ? r : QStringLiteral("%1-%2").arg(r).arg(beginn);
}

}

bool IstZaehldateiName(const QString& name)
{
    return name.endsWith(QLatin1String(".mde"), Qt::CaseInsensitive);
}

TMDEOrdner::TMDEOrdner(QString pfad)
    : FPfad(QDir::cleanPath(std::move(pfad))),
      FArbeitName(EigeneArbeit())
{
}

TMDEOrdner::~TMDEOrdner()
{
    // an empty work folder goes; one that holds a file stays for the next run
    if (FArbeitOrdner && FArbeit)
        FArbeitOrdner->OrdnerEntfernen(FArbeitName);
}

bool TMDEOrdner::Oeffnen()
{
    if (!QFileInfo(FPfad).isDir())
        return false;
    FOrdner = TVerzeichnis::Oeffnen(FPfad);
    return true;
}

TMDEWarteliste TMDEOrdner::Wartende(qint64 ruheMs) const
{
    TMDEWarteliste r;
    const qint64 jetzt = QDateTime::currentMSecsSinceEpoch();
    for (const TEintrag& e : NachNamen(FOrdner->Eintraege())) {
        if (!IstZaehldateiName(e.Name))
            continue;
        if (!e.Datei || !e.NameLesbar)
            r.KeineDateien << e.Name;
        else if (std::abs(jetzt - e.GeaendertMs) < ruheMs)
            r.Unfertig << e.Name;
        else
            r.Bereit << e.Name;
    }
    return r;
}

bool TMDEOrdner::HatArbeit() const
{
    return FOrdner->UnterordnerFalls(QStringLiteral("arbeit")) != nullptr;
}

void TMDEOrdner::Vorbereiten()
{
    FArbeitOrdner = FOrdner->Unterordner(QStringLiteral("arbeit"));
    FArbeit = FArbeitOrdner->Unterordner(FArbeitName);
    FArchiv = FOrdner->Unterordner(QStringLiteral("archiv"));
    FFehler = FOrdner->Unterordner(QStringLiteral("fehler"));
    for (const TVerzeichnis* v : {&*FOrdner, &*FArbeit, &*FArchiv, &*FFehler})
        v->Beschreibbar();
}

const TVerzeichnis& TMDEOrdner::Arbeit() const
{
    if (!FArbeit)
        FehlerRaise(COrt, {QStringLiteral("Der Ordner %1 ist nicht vorbereitet.").arg(FPfad)});
    return *FArbeit;
}

bool TMDEOrdner::Beanspruchen(const QString& name)
{
    return FOrdner->Verschieben(name, Arbeit(), name);
}

std::vector<TMDEVerwaist> TMDEOrdner::Verwaiste()
{
    std::vector<TMDEVerwaist> r;
    for (const TEintrag& e : NachNamen(Arbeit().Eintraege()))
        if (IstZaehldateiName(e.Name) && e.NameLesbar)
            r.push_back({e.Name, e.Name});
    for (const TEintrag& e : NachNamen(FArbeitOrdner->Eintraege())) {
        const std::optional<bool> laeuft = Laeuft(e.Name);
        if (e.Name == FArbeitName || !laeuft || *laeuft)
            continue;
        const std::unique_ptr<TVerzeichnis> tot = FArbeitOrdner->UnterordnerFalls(e.Name);
        if (!tot)
            continue;
        for (const TEintrag& f : NachNamen(tot->Eintraege())) {
            if (!IstZaehldateiName(f.Name) || !f.NameLesbar)
                continue;
            for (int n = 1; n < CNummernMax; ++n)
                if (const QString ziel = Kandidat(f.Name, n); tot->Verschieben(f.Name, *FArbeit, ziel)) {
                    r.push_back({ziel, f.Name});
                    break;
                } else if (!tot->Vorhanden(f.Name)) {
                    break;   // another run took it over
                }
        }
        FArbeitOrdner->OrdnerEntfernen(e.Name);
    }
    return r;
}

TDateiGelesen TMDEOrdner::Lesen(const QString& name, qint64 max, qint64 ruheMs) const
{
    return Arbeit().Lesen(name, max, ruheMs);
}

QString TMDEOrdner::Archivieren(const QString& name)
{
    for (int n = 1; n < CNummernMax && Arbeit().Vorhanden(name); ++n)
        if (const QString ziel = Kandidat(name, n); FArbeit->Verschieben(name, *FArchiv, ziel))
            return ziel;
    FehlerRaise(COrt, {QStringLiteral("%1 kann nicht nach %2 verschoben werden.").arg(Zitat(name), FArchiv->Pfad())});
}

QString TMDEOrdner::Ablehnen(const QString& name, const std::function<QByteArray(const QString&)>& bericht)
{
    // the file first, then its report under the name it got: a report never names a file
    // that is not there
    const TVerzeichnis* quelle = &Arbeit();
    QString jetzt = name;
    for (int n = 1; n < CNummernMax && quelle->Vorhanden(jetzt); ++n) {
        const QString ziel = Kandidat(name, n), zielBericht = ziel + QStringLiteral(".txt");
        if (FFehler->Vorhanden(ziel) || FFehler->Vorhanden(zielBericht) || !quelle->Verschieben(jetzt, *FFehler, ziel))
            continue;
        quelle = &*FFehler;
        jetzt = ziel;
        if (FFehler->Anlegen(zielBericht, bericht(ziel)))
            return ziel;
    }
    FehlerRaise(COrt, {QStringLiteral("%1 kann nicht nach %2 verschoben werden.").arg(Zitat(name), FFehler->Pfad())});
}

bool TMDEOrdner::Zurueckgeben(const QString& name)
{
    return Arbeit().Verschieben(name, *FOrdner, name);
}

std::vector<TMDENichtEingelesen> TMDEOrdner::NichtEingelesene(qint64 max) const
{
    std::vector<TMDENichtEingelesen> r;
    if (!FOrdner)
        return r;
    if (const std::unique_ptr<TVerzeichnis> fehler = FOrdner->UnterordnerFalls(QStringLiteral("fehler")))
        for (const TEintrag& e : NachNamen(fehler->Eintraege()))
            if (IstZaehldateiName(e.Name) && e.Datei && e.NameLesbar) {
                TDateiGelesen g = fehler->Lesen(e.Name, max);
                const bool ganz = g.Art == TDateiGelesen::Gelesen;
                r.push_back({e.Name, ganz ? std::move(g) : fehler->Anfang(e.Name, CKopfBytes), ganz, false});
            }
    for (const TEintrag& e : NachNamen(FOrdner->Eintraege()))
        if (IstZaehldateiName(e.Name) && e.Datei && e.NameLesbar)
            r.push_back({e.Name, FOrdner->Anfang(e.Name, CKopfBytes), false, true});
    return r;
}
