#include "framework/report/vorlage.h"

#include "framework/core/fehler.h"
#include "framework/core/geld.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>
#include <map>

namespace {

// The template file as a small tree, so that repeated elements can be expanded before they
// are read.
struct TKnoten {
    QString name;
    int zeile = 0;
    std::map<QString, QString> attribute;
    QString text;
    std::vector<TKnoten> kinder;
};

class TVorlagenLeser {
public:
    explicit TVorlagenLeser(QString datei) : FDatei(std::move(datei)) {}

    [[noreturn]] void Fehler(int zeile, const QString& was) const
    {
        FehlerRaise(QStringLiteral("VorlageLesen"),
                    {QStringLiteral("Vorlage %1, Zeile %2: %3").arg(QFileInfo(FDatei).fileName()).arg(zeile).arg(was)});
    }

    TKnoten Baum()
    {
        QFile f(FDatei);
        if (!f.open(QIODevice::ReadOnly))
            FehlerRaise(QStringLiteral("VorlageLesen"),
                        {QStringLiteral("Die Vorlage %1 kann nicht gelesen werden: %2").arg(FDatei, f.errorString())});
        QXmlStreamReader xml(&f);
        std::vector<TKnoten> stapel;
        TKnoten wurzel;
        while (!xml.atEnd()) {
            switch (xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                TKnoten k;
                k.name = xml.name().toString();
                k.zeile = static_cast<int>(xml.lineNumber());
                for (const QXmlStreamAttribute& a : xml.attributes())
                    k.attribute[a.name().toString()] = a.value().toString();
                stapel.push_back(std::move(k));
                break;
            }
            case QXmlStreamReader::Characters:
                if (!stapel.empty())
                    stapel.back().text += xml.text();
                break;
            case QXmlStreamReader::EndElement: {
                TKnoten k = std::move(stapel.back());
                stapel.pop_back();
                if (stapel.empty())
                    wurzel = std::move(k);
                else
                    stapel.back().kinder.push_back(std::move(k));
                break;
            }
            default:
                break;
            }
        }
        if (xml.hasError())
            Fehler(static_cast<int>(xml.lineNumber()), xml.errorString());
        if (wurzel.name != QLatin1String("bericht"))
            Fehler(wurzel.zeile, QStringLiteral("das Wurzelelement muss <bericht> sein"));
        return wurzel;
    }

    void NurAttribute(const TKnoten& k, std::initializer_list<const char*> erlaubt) const
    {
        for (const auto& [name, wert] : k.attribute) {
            bool gefunden = false;
            for (const char* e : erlaubt)
                gefunden |= name == QLatin1String(e);
            if (!gefunden)
                Fehler(k.zeile, QStringLiteral("unbekanntes Attribut „%1“ an <%2>").arg(name, k.name));
        }
    }

    QString Text(const TKnoten& k, const char* name, const QString& vorgabe = {}, bool pflicht = false) const
    {
        const auto it = k.attribute.find(QLatin1String(name));
        if (it == k.attribute.end()) {
            if (pflicht)
                Fehler(k.zeile, QStringLiteral("<%1> braucht das Attribut „%2“").arg(k.name, QLatin1String(name)));
            return vorgabe;
        }
        return it->second;
    }

    double Zahl(const TKnoten& k, const char* name, double vorgabe, bool pflicht = false) const
    {
        const QString t = Text(k, name, QString(), pflicht);
        if (t.isEmpty())
            return vorgabe;
        bool ok;
        const double z = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok || !std::isfinite(z))
            Fehler(k.zeile, QStringLiteral("„%1“ in „%2“ ist keine Zahl").arg(t, QLatin1String(name)));
        return z;
    }

    bool JaNein(const TKnoten& k, const char* name) const
    {
        const QString t = Text(k, name, QStringLiteral("nein"));
        if (t != QLatin1String("ja") && t != QLatin1String("nein"))
            Fehler(k.zeile, QStringLiteral("„%1“ verlangt ja oder nein, nicht „%2“").arg(QLatin1String(name), t));
        return t == QLatin1String("ja");
    }

    std::shared_ptr<TAusdruck> Ausdruck(const TKnoten& k, const char* name, bool pflicht) const
    {
        const QString t = Text(k, name, QString(), pflicht);
        if (t.isEmpty())
            return nullptr;
        try {
            return AusdruckLesen(t);
        } catch (const EORVFehler& e) {
            Fehler(k.zeile, e.Texts().join(QLatin1Char(' ')));
        }
    }

    QColor Farbe(const TKnoten& k, const char* name, QColor vorgabe) const
    {
        const QString t = Text(k, name);
        if (t.isEmpty())
            return vorgabe;
        const QColor c = QColor::fromString(t);
        if (!c.isValid())
            Fehler(k.zeile, QStringLiteral("„%1“ ist keine Farbe").arg(t));
        return c;
    }

    TFormat Format(const TKnoten& k) const
    {
        static const std::map<QString, TFormat::Art> arten = {
            {QStringLiteral("standard"), TFormat::Standard}, {QStringLiteral("betrag"), TFormat::Betrag},
            {QStringLiteral("ganz"), TFormat::Ganz},         {QStringLiteral("zahl"), TFormat::Zahl},
            {QStringLiteral("datum"), TFormat::Datum},       {QStringLiteral("text"), TFormat::Text}};
        TFormat f;
        const QString t = Text(k, "format", QStringLiteral("standard"));
        const auto it = arten.find(t);
        if (it == arten.end())
            Fehler(k.zeile, QStringLiteral("unbekanntes Format „%1“").arg(t));
        f.art = it->second;
        f.nachkomma = static_cast<int>(Zahl(k, "nachkomma", 2));
        if (f.nachkomma < 0 || f.nachkomma > 6)
            Fehler(k.zeile, QStringLiteral("nachkomma muss zwischen 0 und 6 liegen"));
        f.nullUnterdruecken = JaNein(k, "null-unterdruecken");
        return f;
    }

    TStil Stil(const TKnoten& k, const TStil& basis) const
    {
        TStil s = basis;
        s.schrift = Text(k, "schrift", s.schrift);
        s.groesse = Zahl(k, "groesse", s.groesse);
        if (s.groesse <= 0 || s.groesse > 100)
            Fehler(k.zeile, QStringLiteral("Schriftgröße %1 außerhalb 1 bis 100").arg(s.groesse));
        s.fett = JaNein(k, "fett");
        s.kursiv = JaNein(k, "kursiv");
        s.farbe = Farbe(k, "farbe", s.farbe);
        const QString a = Text(k, "ausrichtung", QStringLiteral("links"));
        if (a == QLatin1String("links"))
            s.ausrichtung = Qt::AlignLeft;
        else if (a == QLatin1String("rechts"))
            s.ausrichtung = Qt::AlignRight;
        else if (a == QLatin1String("mitte"))
            s.ausrichtung = Qt::AlignHCenter;
        else
            Fehler(k.zeile, QStringLiteral("ausrichtung verlangt links, rechts oder mitte, nicht „%1“").arg(a));
        return s;
    }

    // <reihe anzahl="17" dx="9"> repeats its elements, shifted by dx/dy each time; "{i}" in
    // their attributes and texts stands for the two-digit index, "{n}" for the plain index.
    std::vector<TKnoten> Ausgerollt(const std::vector<TKnoten>& kinder) const
    {
        std::vector<TKnoten> aus;
        for (const TKnoten& k : kinder) {
            if (k.name != QLatin1String("reihe")) {
                aus.push_back(k);
                continue;
            }
            NurAttribute(k, {"anzahl", "dx", "dy"});
            const int anzahl = static_cast<int>(Zahl(k, "anzahl", 0, true));
            if (anzahl < 1 || anzahl > 100)
                Fehler(k.zeile, QStringLiteral("anzahl muss zwischen 1 und 100 liegen"));
            const double dx = Zahl(k, "dx", 0), dy = Zahl(k, "dy", 0);
            for (int i = 0; i < anzahl; ++i)
                for (const TKnoten& kind : k.kinder) {
                    if (kind.name == QLatin1String("reihe"))
                        Fehler(kind.zeile, QStringLiteral("<reihe> darf nicht in <reihe> stehen"));
                    TKnoten c = kind;
                    const auto ersetzen = [i](QString& t) {
                        t.replace(QLatin1String("{i}"), QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
                        t.replace(QLatin1String("{n}"), QString::number(i));
                    };
                    for (auto& [name, wert] : c.attribute)
                        ersetzen(wert);
                    ersetzen(c.text);
                    c.attribute[QStringLiteral("x")] = QString::number(Zahl(c, "x", 0) + i * dx);
                    c.attribute[QStringLiteral("y")] = QString::number(Zahl(c, "y", 0) + i * dy);
                    aus.push_back(std::move(c));
                }
        }
        return aus;
    }

    TElement Element(const TKnoten& k, const TStil& basis) const
    {
        static const std::map<QString, TElement::Art> arten = {
            {QStringLiteral("text"), TElement::Text},     {QStringLiteral("feld"), TElement::Feld},
            {QStringLiteral("linie"), TElement::Linie},   {QStringLiteral("rahmen"), TElement::Rahmen},
            {QStringLiteral("bild"), TElement::Bild}};
        const auto it = arten.find(k.name);
        if (it == arten.end())
            Fehler(k.zeile, QStringLiteral("unbekanntes Element <%1>").arg(k.name));
        TElement e;
        e.art = it->second;
        e.zeile = k.zeile;
        switch (e.art) {
        case TElement::Text:
            NurAttribute(k, {"x", "y", "b", "h", "wachsen", "schrift", "groesse", "fett", "kursiv", "farbe", "ausrichtung"});
            e.text = k.text.trimmed();
            break;
        case TElement::Feld:
            NurAttribute(k, {"x", "y", "b", "h", "wachsen", "schrift", "groesse", "fett", "kursiv", "farbe", "ausrichtung",
                             "ausdruck", "format", "nachkomma", "null-unterdruecken"});
            e.ausdruck = Ausdruck(k, "ausdruck", true);
            e.format = Format(k);
            break;
        case TElement::Linie:
        case TElement::Rahmen:
            NurAttribute(k, {"x", "y", "b", "h", "staerke", "farbe", "fuellung", "bedingung"});
            e.bedingung = Ausdruck(k, "bedingung", false);
            e.staerke = Zahl(k, "staerke", e.staerke);
            if (k.attribute.count(QStringLiteral("fuellung")))
                e.fuellung = Farbe(k, "fuellung", Qt::white);
            break;
        case TElement::Bild:
            NurAttribute(k, {"x", "y", "b", "h", "name"});
            e.bildName = Text(k, "name", QString(), true);
            break;
        }
        e.x = Zahl(k, "x", 0);
        e.y = Zahl(k, "y", 0);
        e.b = Zahl(k, "b", 0, e.art != TElement::Linie);
        e.h = Zahl(k, "h", 0, e.art != TElement::Linie);
        if (e.art == TElement::Text || e.art == TElement::Feld) {
            e.stil = Stil(k, basis);
            e.wachsen = JaNein(k, "wachsen");
        } else {
            e.stil.farbe = Farbe(k, "farbe", Qt::black);
        }
        if (e.art != TElement::Linie && (e.b < 0 || e.h < 0))
            Fehler(k.zeile, QStringLiteral("Breite und Höhe dürfen nicht negativ sein"));
        return e;
    }

    TBand Band(const TKnoten& k, TBand::Art art, const TStil& basis, int gruppe = -1) const
    {
        if (art == TBand::Unterband)
            NurAttribute(k, {"hoehe", "bedingung", "mit-naechstem", "tabelle", "verbindung"});
        else
            NurAttribute(k, {"hoehe", "bedingung", "mit-naechstem"});
        TBand b;
        b.art = art;
        b.zeile = k.zeile;
        b.gruppe = gruppe;
        b.hoehe = Zahl(k, "hoehe", 0, true);
        if (b.hoehe < 0)
            Fehler(k.zeile, QStringLiteral("hoehe darf nicht negativ sein"));
        b.bedingung = Ausdruck(k, "bedingung", false);
        b.mitNaechstem = JaNein(k, "mit-naechstem");
        if (art == TBand::Unterband) {
            b.tabelle = Text(k, "tabelle", QString(), true);
            b.verbindung = Text(k, "verbindung", QString(), true).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (b.verbindung.isEmpty() || b.verbindung.size() > 3)
                Fehler(k.zeile, QStringLiteral("verbindung nennt eine bis drei Spalten"));
        }
        for (const TKnoten& e : Ausgerollt(k.kinder))
            b.elemente.push_back(Element(e, basis));
        return b;
    }

    void Einmal(std::optional<TBand>& ziel, const TKnoten& k, TBand::Art art, const TStil& basis) const
    {
        if (ziel)
            Fehler(k.zeile, QStringLiteral("<%1> darf nur einmal vorkommen").arg(k.name));
        ziel = Band(k, art, basis);
    }

    TVorlage Lesen()
    {
        const TKnoten w = Baum();
        NurAttribute(w, {"version", "papier", "ausrichtung", "rand-oben", "rand-unten", "rand-links", "rand-rechts",
                         "haupttabelle", "schrift", "groesse"});
        if (Text(w, "version", QString(), true) != QLatin1String("1"))
            Fehler(w.zeile, QStringLiteral("Version %1 wird nicht unterstützt").arg(Text(w, "version")));
        TVorlage v;
        v.datei = FDatei;
        const QString papier = Text(w, "papier", QStringLiteral("A4"));
        if (papier == QLatin1String("A3"))
            v.papier = QPageSize::A3;
        else if (papier == QLatin1String("Letter"))
            v.papier = QPageSize::Letter;
        else if (papier != QLatin1String("A4"))
            Fehler(w.zeile, QStringLiteral("unbekanntes Papier „%1“").arg(papier));
        const QString ausrichtung = Text(w, "ausrichtung", QStringLiteral("hoch"));
        if (ausrichtung != QLatin1String("hoch") && ausrichtung != QLatin1String("quer"))
            Fehler(w.zeile, QStringLiteral("ausrichtung verlangt hoch oder quer"));
        v.ausrichtung = ausrichtung == QLatin1String("quer") ? QPageLayout::Landscape : QPageLayout::Portrait;
        v.randOben = Zahl(w, "rand-oben", v.randOben);
        v.randUnten = Zahl(w, "rand-unten", v.randUnten);
        v.randLinks = Zahl(w, "rand-links", v.randLinks);
        v.randRechts = Zahl(w, "rand-rechts", v.randRechts);
        v.haupttabelle = Text(w, "haupttabelle", QString(), true);
        TStil basis;
        basis.schrift = Text(w, "schrift", basis.schrift);
        basis.groesse = Zahl(w, "groesse", basis.groesse);
        for (const TKnoten& k : w.kinder) {
            if (k.name == QLatin1String("sortierung")) {
                NurAttribute(k, {"ausdruck"});
                v.sortierung.push_back(Ausdruck(k, "ausdruck", true));
            } else if (k.name == QLatin1String("berichtskopf")) {
                Einmal(v.berichtskopf, k, TBand::Berichtskopf, basis);
            } else if (k.name == QLatin1String("seitenkopf")) {
                Einmal(v.seitenkopf, k, TBand::Seitenkopf, basis);
            } else if (k.name == QLatin1String("seitenfuss")) {
                Einmal(v.seitenfuss, k, TBand::Seitenfuss, basis);
            } else if (k.name == QLatin1String("berichtsfuss")) {
                Einmal(v.berichtsfuss, k, TBand::Berichtsfuss, basis);
            } else if (k.name == QLatin1String("gruppe")) {
                NurAttribute(k, {"ausdruck", "umbruch-vor"});
                TGruppe g;
                g.ausdruck = Ausdruck(k, "ausdruck", true);
                g.umbruchVor = JaNein(k, "umbruch-vor");
                const int stufe = static_cast<int>(v.gruppen.size());
                for (const TKnoten& b : k.kinder) {
                    if (b.name == QLatin1String("kopf"))
                        Einmal(g.kopf, b, TBand::Gruppenkopf, basis);
                    else if (b.name == QLatin1String("fuss"))
                        Einmal(g.fuss, b, TBand::Gruppenfuss, basis);
                    else
                        Fehler(b.zeile, QStringLiteral("unbekanntes Element <%1> in <gruppe>").arg(b.name));
                    (b.name == QLatin1String("kopf") ? g.kopf : g.fuss)->gruppe = stufe;
                }
                v.gruppen.push_back(std::move(g));
            } else if (k.name == QLatin1String("detail")) {
                v.details.push_back(Band(k, TBand::Detail, basis));
            } else if (k.name == QLatin1String("unterband")) {
                Einmal(v.unterband, k, TBand::Unterband, basis);
            } else if (k.name == QLatin1String("export")) {
                NurAttribute(k, {});
                for (const TKnoten& s : k.kinder) {
                    if (s.name != QLatin1String("spalte"))
                        Fehler(s.zeile, QStringLiteral("unbekanntes Element <%1> in <export>").arg(s.name));
                    NurAttribute(s, {"titel", "ausdruck", "format", "nachkomma", "null-unterdruecken"});
                    v.export_.push_back({Text(s, "titel", QString(), true), Ausdruck(s, "ausdruck", true), Format(s)});
                }
            } else {
                Fehler(k.zeile, QStringLiteral("unbekanntes Element <%1>").arg(k.name));
            }
        }
        if (v.details.empty())
            Fehler(w.zeile, QStringLiteral("die Vorlage braucht mindestens ein <detail>"));
        return v;
    }

private:
    QString FDatei;
};

}

QString TBand::Bezeichnung() const
{
    static const char* const namen[] = {"Berichtskopf", "Seitenkopf", "Gruppenkopf", "Detail",
                                        "Unterband",    "Gruppenfuß", "Seitenfuß",   "Berichtsfuß"};
    return QStringLiteral("%1 (Zeile %2)").arg(QString::fromUtf8(namen[art])).arg(zeile);
}

QSizeF TVorlage::SeitenGroesse() const
{
    const QSizeF s = QPageSize(papier).size(QPageSize::Millimeter);
    return ausrichtung == QPageLayout::Landscape ? s.transposed() : s;
}

std::vector<TBand*> TVorlage::Baender()
{
    std::vector<TBand*> b;
    for (std::optional<TBand>* o : {&berichtskopf, &seitenkopf})
        if (*o)
            b.push_back(&**o);
    for (TGruppe& g : gruppen)
        if (g.kopf)
            b.push_back(&*g.kopf);
    for (TBand& d : details)
        b.push_back(&d);
    if (unterband)
        b.push_back(&*unterband);
    for (auto g = gruppen.rbegin(); g != gruppen.rend(); ++g)
        if (g->fuss)
            b.push_back(&*g->fuss);
    for (std::optional<TBand>* o : {&seitenfuss, &berichtsfuss})
        if (*o)
            b.push_back(&**o);
    return b;
}

TVorlage VorlageLesen(const QString& pfad)
{
    return TVorlagenLeser(pfad).Lesen();
}

double Gerundet(double zahl, int stellen)
{
    if (stellen == 2)
        return AufCentRunden(zahl);   // amounts in cents round as the money they are: half to even
    const double faktor = std::pow(10.0, stellen);
    return std::round(std::round(zahl * faktor * 1e6) / 1e6) / faktor;
}

QString Formatieren(const TWert& w, const TFormat& f)
{
    static const QLocale deutsch(QLocale::German, QLocale::Germany);
    if (f.nullUnterdruecken && (w.art == TWert::Leer || (w.art == TWert::Zahl && w.zahl == 0)
                                || (w.art == TWert::Text && w.text.trimmed().isEmpty())))
        return {};
    if (w.art == TWert::Leer)
        return {};
    if (f.art == TFormat::Text || w.art == TWert::Text)
        return w.art == TWert::Text ? w.text : AlsText(w);
    if (w.art == TWert::Datum)
        return w.datum.toString(QStringLiteral("dd.MM.yyyy"));
    switch (f.art) {
    case TFormat::Betrag:
        return deutsch.toString(Gerundet(w.zahl, 2), 'f', 2);
    case TFormat::Ganz:
        return deutsch.toString(static_cast<qlonglong>(std::llround(w.zahl)));
    case TFormat::Zahl:
        return deutsch.toString(Gerundet(w.zahl, f.nachkomma), 'f', f.nachkomma);
    default:
        return AlsText(w);
    }
}

QString AlsText(const TWert& w)
{
    static const QLocale deutsch(QLocale::German, QLocale::Germany);
    switch (w.art) {
    case TWert::Leer:
        return {};
    case TWert::Text:
        return w.text;
    case TWert::Datum:
        return w.datum.toString(QStringLiteral("dd.MM.yyyy"));
    case TWert::Zahl:
        break;
    }
    if (w.ganz)
        return QString::number(static_cast<qlonglong>(std::llround(w.zahl)));
    return deutsch.toString(Gerundet(w.zahl, 2), 'f', 2);
}
