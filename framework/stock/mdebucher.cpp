#include "framework/stock/mdebucher.h"

#include "framework/app/info.h"
#include "framework/app/ordner.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/core/zitat.h"
#include "framework/db/connection.h"
#include "framework/stock/mde/zaehlimport.h"

#include <QCryptographicHash>

#include <exception>

namespace {

const QString COrt = QStringLiteral("TMDEBucher");

QString Sha256(const QByteArray& b)
{
    return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
}

// The keys a content is found by: its normal form's, and its bytes' (imports recorded
// before the normal form was the key).
QStringList Schluessel(const TZaehldatei& d, const QByteArray& inhalt)
{
    return {Sha256(ZaehldateiNormalform(d)), Sha256(inhalt)};
}

QString Zeit(TDateTime t, const QString& format)
{
    return TDateTime_ToQDateTime(t).toString(format);
}

QByteArray Bericht(const QString& ziel, const QString& name, const TZaehlfehlerListe& fehler)
{
    QString t = QStringLiteral("Zähldatei %1 abgelehnt am %2; nichts daraus wurde gezählt.\n")
                    .arg(Zitat(ziel), Zeit(orv_Now(), QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    if (ziel != name)
        t += QStringLiteral("Eingegangen als %1.\n").arg(Zitat(name));
    for (const TZaehlfehler& f : fehler)
        t += f.Nr == 0 ? QStringLiteral("Datei: %1\n").arg(f.Grund)
                       : QStringLiteral("Zeile %1: %2 – %3\n").arg(f.Nr).arg(Zitat(f.Text), f.Grund);
    if (fehler.Weitere() > 0)
        t += QStringLiteral("… und %1 weitere fehlerhafte Zeilen.\n").arg(fehler.Weitere());
    return t.toUtf8();
}

QString Gefunden(const QString& name, const TZaehlfehler& f)
{
    return f.Nr == 0 ? QStringLiteral("%1: %2").arg(Zitat(name), f.Grund)
                     : QStringLiteral("%1, Zeile %2: %3 – %4").arg(Zitat(name)).arg(f.Nr).arg(Zitat(f.Text), f.Grund);
}

QString DateienText(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 Zähldatei") : QStringLiteral("%1 Zähldateien").arg(n);
}

QStringList Zitate(const QStringList& namen)
{
    QStringList r;
    for (const QString& n : namen)
        r << Zitat(n);
    return r;
}

qint64 Parameter(const char* name, qint64 standard)
{
    bool zahl = false;
    const qint64 wert = ORVParameter().GetStringValueByName(QLatin1String(name)).trimmed().toLongLong(&zahl);
    return zahl && wert >= 0 ? wert : standard;
}

// A file claimed by this run: given back to the folder when its import stops for a reason
// that is not the file's. After a lost connection it stays claimed, since whether its import
// was committed is not known; the next run takes it over as a file of a run that ended.
class TBeansprucht {
public:
    TBeansprucht(TMDEOrdner& ordner, QString name) : FOrdner(ordner), FName(std::move(name)) {}
    TBeansprucht(const TBeansprucht&) = delete;
    TBeansprucht& operator=(const TBeansprucht&) = delete;
    ~TBeansprucht()
    {
        if (FErledigt || std::uncaught_exceptions() == 0 || TZEP_Connection::Verloren())
            return;
        try {
            FOrdner.Zurueckgeben(FName);
        } catch (const std::exception&) {
            // it stays claimed; the error that stops the run is already on its way
        }
    }
    void Erledigt() { FErledigt = true; }

private:
    TMDEOrdner& FOrdner;
    QString FName;
    bool FErledigt = false;
};

// The import of a file whose content the database refused: a duplicate that another process
// recorded meanwhile (the unique key), or a value it cannot take, which rejects the file.
TZaehlimport Importieren(const TZaehldatei& d, const QString& name, const QStringList& schluessel)
{
    try {
        return ZaehldateiEinlesen(d, name, schluessel);
    } catch (const EDatenAbgelehnt& e) {
        TZaehlimport r;
        if ((r.Frueher = Zaehldatei_Lesen(schluessel))) {
            r.Art = TZaehlimport::SchonEingelesen;
            return r;
        }
        r.Fehler.push_back({0, {}, QStringLiteral("die Datenbank nimmt den Inhalt nicht an: %1").arg(Zitat(e.Texts().join(QLatin1Char(' ')), 300))});
        return r;
    }
}

}

QString TMDEErgebnis::Text() const
{
    QString t = QStringLiteral("%1 eingelesen, %2 Stück.").arg(DateienText(Dateien)).arg(Stueck);
    if (!Abgelehnt.empty())
        t += QStringLiteral("\n%1 abgelehnt (Ordner \"fehler\", je Datei ein Bericht):").arg(DateienText(static_cast<qsizetype>(Abgelehnt.size())));
    for (const TMDEAbgelehnt& a : Abgelehnt) {
        for (const QString& g : a.Gruende.mid(0, CGruendeJeDatei))
            t += QLatin1Char('\n') + g;
        if (a.Gruende.size() > CGruendeJeDatei)
            t += QStringLiteral("\n%1: %2 weitere Zeilen im Bericht").arg(a.Datei).arg(a.Gruende.size() - CGruendeJeDatei);
    }
    if (!Unfertig.isEmpty())
        t += QStringLiteral("\n%1 noch nicht fertig geschrieben, beim nächsten Einlesen: %2")
                 .arg(DateienText(Unfertig.size()), Zitate(Unfertig).join(QStringLiteral(", ")));
    if (!KeineDateien.isEmpty())
        t += QStringLiteral("\nKeine gewöhnlichen Dateien (Verweise, Ordner), nicht eingelesen: %1").arg(Zitate(KeineDateien).join(QStringLiteral(", ")));
    return t;
}

bool TMDEOffen::Betrifft(TDateTime zaehlDatum, int32_t filiale) const
{
    return (Filiale == 0 || Filiale == filiale) && (ZaehlDatum == 0 || ZaehlDatum == zaehlDatum);
}

TMDEBucher::TMDEBucher(QString ordner)
    : FOrdner(ordner.isEmpty() ? GetDirWwsByName(QStringLiteral("mde"), QString(), false) : std::move(ordner)), FGrenzen(Grenzen())
{
}

TMDEBucher::TGrenzen TMDEBucher::Grenzen()
{
    return {Parameter("MDE_RUHE_SEKUNDEN", 5) * 1000, Parameter("MDE_MAX_BYTE", 64 << 20), Parameter("MDE_MAX_ZEILEN", 2000000)};
}

bool TMDEBucher::DateiSuche()
{
    // a run that stops says what it did until then
    const auto bisDahin = [this] { return QStringLiteral("Bis dahin: %1").arg(FErgebnis.Text()); };
    try {
        return Suchen();
    } catch (const EVerbindungVerloren& e) {
        throw EVerbindungVerloren(e.Location(), e.Texts() + QStringList{bisDahin()});
    } catch (const EORVFehler& e) {
        throw EORVFehler(e.Location(), e.Texts() + QStringList{bisDahin()});
    }
}

bool TMDEBucher::Suchen()
{
    if (!FOrdner.Oeffnen())
        return false;
    const TMDEWarteliste liste = FOrdner.Wartende(FGrenzen.RuheMs);
    FErgebnis.Unfertig = liste.Unfertig;
    FErgebnis.KeineDateien = liste.KeineDateien;
    const bool etwas = !liste.Unfertig.isEmpty() || !liste.KeineDateien.isEmpty();
    if (liste.Bereit.isEmpty() && !FOrdner.HatArbeit())
        return etwas;
    // the folders are checked before the first file is touched
    FOrdner.Vorbereiten();
    const std::vector<TMDEVerwaist> verwaist = FOrdner.Verwaiste();
    const int anzahl = static_cast<int>(verwaist.size() + liste.Bereit.size());
    int nr = 0;
    for (const TMDEVerwaist& v : verwaist) {
        if (OnDatei)
            OnDatei(++nr, anzahl, Zitat(v.Name));
        Einlesen(v.Name, v.Vorher);
    }
    for (const QString& name : liste.Bereit) {
        if (OnDatei)
            OnDatei(++nr, anzahl, Zitat(name));
        if (FOrdner.Beanspruchen(name))
            Einlesen(name, {});
    }
    return anzahl > 0 || etwas;
}

void TMDEBucher::Einlesen(const QString& name, const QString& vorher)
{
    TBeansprucht beansprucht(FOrdner, name);
    const TDateiGelesen g = FOrdner.Lesen(name, FGrenzen.Bytes, vorher.isEmpty() ? FGrenzen.RuheMs : 0);
    switch (g.Art) {
    case TDateiGelesen::Weg:
        beansprucht.Erledigt();
        return;
    case TDateiGelesen::Veraendert:
        // still being written: it waits for the next run
        beansprucht.Erledigt();
        FOrdner.Zurueckgeben(name);
        FErgebnis.Unfertig << name;
        return;
    case TDateiGelesen::KeineDatei:
        beansprucht.Erledigt();
        return Ablehnen(name, TZaehlfehlerListe::Einer(QStringLiteral("keine gewöhnliche Datei (ein Verweis wird nicht verfolgt)")));
    case TDateiGelesen::Unlesbar:
        beansprucht.Erledigt();
        return Ablehnen(name, TZaehlfehlerListe::Einer(QStringLiteral("kann nicht gelesen werden: %1").arg(g.Grund)));
    case TDateiGelesen::ZuGross:
        beansprucht.Erledigt();
        return Ablehnen(name, TZaehlfehlerListe::Einer(QStringLiteral("%1 Byte, größer als erlaubt (Parameter MDE_MAX_BYTE: %2)")
                                                           .arg(g.Groesse)
                                                           .arg(FGrenzen.Bytes)));
    case TDateiGelesen::Gelesen:
        break;
    }
    const TZaehldatei d = ZaehldateiLesen(g.Inhalt, FGrenzen.Zeilen);
    TZaehlimport r = Importieren(d, name, Schluessel(d, g.Inhalt));
    beansprucht.Erledigt();
    if (r.Art == TZaehlimport::SchonEingelesen && !vorher.isEmpty() && r.Frueher->Name == vorher) {
        // imported by a run that ended before it could move the file
        FOrdner.Archivieren(name);
        ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 war schon eingelesen und liegt jetzt im Archiv").arg(Zitat(name)), 0);
        return;
    }
    if (r.Art == TZaehlimport::SchonEingelesen)
        r.Fehler.push_back({0, QString(), QStringLiteral("derselbe Inhalt wurde schon am %1 als %2 eingelesen")
                                              .arg(Zeit(r.Frueher->Zeit, QStringLiteral("dd.MM.yyyy hh:mm")), Zitat(r.Frueher->Name))});
    if (r.Art != TZaehlimport::Eingelesen)
        return Ablehnen(name, r.Fehler);
    // counted: said before the move, which may still fail
    ++FErgebnis.Dateien;
    FErgebnis.Stueck += r.Stueck;
    ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 eingelesen: %2 Zeilen, %3 Stück").arg(Zitat(name)).arg(r.Zeilen).arg(r.Stueck), 0);
    try {
        FOrdner.Archivieren(name);
    } catch (const EORVFehler& e) {
        throw EORVFehler(e.Location(), e.Texts()
                                           + QStringList{QStringLiteral("Die Zähldatei %1 ist eingelesen und liegt noch im Ordner arbeit; "
                                                                        "der nächste Lauf legt sie ins Archiv.")
                                                             .arg(Zitat(name))});
    }
}

void TMDEBucher::Ablehnen(const QString& name, const TZaehlfehlerListe& fehler)
{
    const QString ziel = FOrdner.Ablehnen(name, [&](const QString& z) { return Bericht(z, name, fehler); });
    TMDEAbgelehnt a{Zitat(ziel), {}};
    for (const TZaehlfehler& f : fehler)
        a.Gruende << Gefunden(ziel, f);
    if (fehler.Weitere() > 0)
        a.Gruende << QStringLiteral("%1: %2 weitere fehlerhafte Zeilen").arg(Zitat(ziel)).arg(fehler.Weitere());
    ORVInfo().WriteStamp(QStringLiteral("Zähldatei %1 abgelehnt: %2").arg(Zitat(ziel), a.Gruende.mid(0, TMDEErgebnis::CGruendeJeDatei).join(QStringLiteral("; "))), 1);
    FErgebnis.Abgelehnt.push_back(std::move(a));
}

std::vector<TMDEOffen> TMDEBucher::NichtEingelesene()
{
    std::vector<TMDEOffen> r;
    if (!FOrdner.Oeffnen())
        return r;
    for (const TMDENichtEingelesen& n : FOrdner.NichtEingelesene(FGrenzen.Bytes)) {
        const TZaehldatei d = ZaehldateiLesen(n.Gelesen.Inhalt, FGrenzen.Zeilen);
        if ((d.Filiale == 0 && d.ZaehlDatum == 0) || (n.Ganz && d.Fehler.empty() && Zaehldatei_Lesen(Schluessel(d, n.Gelesen.Inhalt))))
            continue;   // names nothing, or its content was imported since
        r.push_back({n.Wartet ? Zitat(n.Name) : QStringLiteral("fehler/") + Zitat(n.Name), d.Filiale, d.ZaehlDatum});
    }
    return r;
}
