#include "framework/report/ausdruck.h"

#include "framework/core/fehler.h"

#include <cmath>

double TWert::AlsZahl() const
{
    if (art == Zahl)
        return zahl;
    if (art != Text)
        return 0;
    bool ok;
    double z = text.trimmed().toDouble(&ok);
    if (!ok)
        z = QString(text.trimmed()).remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? z : 0;
}

bool TWert::Gleich(const TWert& w) const
{
    if (art == Zahl || w.art == Zahl)
        return AlsZahl() == w.AlsZahl();
    if (art == Datum || w.art == Datum)
        return art == w.art && datum == w.datum;
    return text == w.text;
}

bool TWert::Kleiner(const TWert& w) const
{
    if (art == Zahl || w.art == Zahl)
        return AlsZahl() < w.AlsZahl();
    if (art == Datum && w.art == Datum)
        return datum < w.datum;
    return text < w.text;
}

bool Wahr(const TWert& w)
{
    switch (w.art) {
    case TWert::Zahl:
        return w.zahl != 0;
    case TWert::Text:
        return !w.text.isEmpty();
    case TWert::Datum:
        return true;
    case TWert::Leer:
        break;
    }
    return false;
}

namespace {

class TLeser {
public:
    explicit TLeser(const QString& t) : FText(t) {}

    TAusdruckPtr Ganz()
    {
        TAusdruckPtr a = Oder();
        Leerraum();
        if (FPos < FText.size())
            Fehler(QStringLiteral("unerwartetes Zeichen „%1“").arg(FText[FPos]));
        return a;
    }

private:
    [[noreturn]] void Fehler(const QString& was) const
    {
        FehlerRaise(QStringLiteral("AusdruckLesen"),
                    {QStringLiteral("Ausdruck „%1“, Stelle %2: %3").arg(FText).arg(FPos + 1).arg(was)});
    }

    void Leerraum()
    {
        while (FPos < FText.size() && FText[FPos].isSpace())
            ++FPos;
    }

    bool Nimm(const QString& zeichen)
    {
        Leerraum();
        if (FText.mid(FPos, zeichen.size()) != zeichen)
            return false;
        FPos += zeichen.size();
        return true;
    }

    static TAusdruckPtr Knoten(TAusdruck::Art art, QString name = {})
    {
        auto a = std::make_unique<TAusdruck>();
        a->art = art;
        a->name = std::move(name);
        return a;
    }

    static TAusdruckPtr Binaer(TOperator op, TAusdruckPtr l, TAusdruckPtr r)
    {
        TAusdruckPtr a = Knoten(TAusdruck::Binaer);
        a->op = op;
        a->kinder.push_back(std::move(l));
        a->kinder.push_back(std::move(r));
        return a;
    }

    // a word operator: the word and no letter, digit or underscore right after it
    bool NimmWort(const char* wort)
    {
        Leerraum();
        const QLatin1String w(wort);
        if (!FText.mid(FPos).startsWith(w))
            return false;
        const qsizetype ende = FPos + w.size();
        if (ende < FText.size() && (FText[ende].isLetterOrNumber() || FText[ende] == QLatin1Char('_')))
            return false;
        FPos = ende;
        return true;
    }

    TAusdruckPtr Oder()
    {
        TAusdruckPtr l = Und();
        while (NimmWort("oder"))
            l = Binaer(TOperator::Oder, std::move(l), Und());
        return l;
    }

    TAusdruckPtr Und()
    {
        TAusdruckPtr l = Vergleich();
        while (NimmWort("und"))
            l = Binaer(TOperator::Und, std::move(l), Vergleich());
        return l;
    }

    TAusdruckPtr Vergleich()
    {
        TAusdruckPtr l = Summe();
        static const std::pair<const char*, TOperator> vergleiche[] = {{"<=", TOperator::Hoechstens}, {">=", TOperator::Mindestens},
                                                                       {"<>", TOperator::Ungleich},   {"=", TOperator::Gleich},
                                                                       {"<", TOperator::Kleiner},     {">", TOperator::Groesser}};
        for (const auto& [zeichen, op] : vergleiche)
            if (Nimm(QLatin1String(zeichen)))
                return Binaer(op, std::move(l), Summe());
        return l;
    }

    TAusdruckPtr Summe()
    {
        TAusdruckPtr l = Produkt();
        for (;;) {
            if (Nimm(QStringLiteral("+")))
                l = Binaer(TOperator::Plus, std::move(l), Produkt());
            else if (Nimm(QStringLiteral("-")))
                l = Binaer(TOperator::Minus, std::move(l), Produkt());
            else if (Nimm(QStringLiteral("&")))
                l = Binaer(TOperator::Verketten, std::move(l), Produkt());
            else
                return l;
        }
    }

    TAusdruckPtr Produkt()
    {
        TAusdruckPtr l = Einzeln();
        for (;;) {
            if (Nimm(QStringLiteral("*")))
                l = Binaer(TOperator::Mal, std::move(l), Einzeln());
            else if (Nimm(QStringLiteral("/")))
                l = Binaer(TOperator::Durch, std::move(l), Einzeln());
            else
                return l;
        }
    }

    TAusdruckPtr Einzeln()
    {
        if (Nimm(QStringLiteral("-"))) {
            TAusdruckPtr a = Knoten(TAusdruck::Minus);
            a->kinder.push_back(Einzeln());
            return a;
        }
        if (Nimm(QStringLiteral("("))) {
            TAusdruckPtr a = Oder();
            if (!Nimm(QStringLiteral(")")))
                Fehler(QStringLiteral("„)“ fehlt"));
            return a;
        }
        Leerraum();
        if (FPos >= FText.size())
            Fehler(QStringLiteral("Ausdruck endet zu früh"));
        const QChar c = FText[FPos];
        if (c == QLatin1Char('"'))
            return TextKonstante();
        if (c.isDigit())
            return ZahlKonstante();
        if (c.isLetter() || c == QLatin1Char('_'))
            return Name();
        Fehler(QStringLiteral("unerwartetes Zeichen „%1“").arg(c));
    }

    TAusdruckPtr TextKonstante()
    {
        const qsizetype ende = FText.indexOf(QLatin1Char('"'), FPos + 1);
        if (ende < 0)
            Fehler(QStringLiteral("Text ohne schließendes \""));
        TAusdruckPtr a = Knoten(TAusdruck::Konstante);
        a->wert = TWert::AusText(FText.mid(FPos + 1, ende - FPos - 1));
        FPos = ende + 1;
        return a;
    }

    TAusdruckPtr ZahlKonstante()
    {
        const qsizetype anfang = FPos;
        while (FPos < FText.size() && (FText[FPos].isDigit() || FText[FPos] == QLatin1Char('.')))
            ++FPos;
        bool ok;
        const QString t = FText.mid(anfang, FPos - anfang);
        const double z = t.toDouble(&ok);
        if (!ok)
            Fehler(QStringLiteral("„%1“ ist keine Zahl").arg(t));
        TAusdruckPtr a = Knoten(TAusdruck::Konstante);
        a->wert = TWert::AusZahl(z, !t.contains(QLatin1Char('.')));
        return a;
    }

    QString Bezeichner()
    {
        const qsizetype anfang = FPos;
        while (FPos < FText.size() && (FText[FPos].isLetterOrNumber() || FText[FPos] == QLatin1Char('_')))
            ++FPos;
        return FText.mid(anfang, FPos - anfang);
    }

    TAusdruckPtr Name()
    {
        const QString n = Bezeichner();
        if (FPos < FText.size() && FText[FPos] == QLatin1Char('.')) {
            ++FPos;
            const QString spalte = Bezeichner();
            if (spalte.isEmpty())
                Fehler(QStringLiteral("Spaltenname fehlt nach „%1.“").arg(n));
            return Knoten(TAusdruck::Spalte, n + QLatin1Char('.') + spalte);
        }
        if (n.startsWith(QLatin1String("Param_")))
            return Knoten(TAusdruck::Parameter, n);
        if (!Nimm(QStringLiteral("(")))
            Fehler(QStringLiteral("„%1“ ist weder Spalte noch Parameter noch Funktion").arg(n));
        std::vector<TAusdruckPtr> argumente;
        if (!Nimm(QStringLiteral(")"))) {
            do
                argumente.push_back(Oder());
            while (Nimm(QStringLiteral(",")));
            if (!Nimm(QStringLiteral(")")))
                Fehler(QStringLiteral("„)“ fehlt nach den Argumenten von %1").arg(n));
        }
        struct TFunktion {
            const char* name;
            TAusdruck::Art art;
            size_t argumente;
            TAggregat aggregat;
        };
        static const TFunktion funktionen[] = {
            {"wenn", TAusdruck::Wenn, 3, TAggregat::Summe},          {"summe", TAusdruck::Aggregat, 1, TAggregat::Summe},
            {"anzahl", TAusdruck::Aggregat, 0, TAggregat::Anzahl},   {"min", TAusdruck::Aggregat, 1, TAggregat::Min},
            {"max", TAusdruck::Aggregat, 1, TAggregat::Max},         {"seite", TAusdruck::Seite, 0, TAggregat::Summe},
            {"seiten", TAusdruck::Seiten, 0, TAggregat::Summe},      {"druckdatum", TAusdruck::Druckdatum, 0, TAggregat::Summe},
            {"titel", TAusdruck::Titel, 0, TAggregat::Summe},
        };
        for (const TFunktion& f : funktionen) {
            if (n != QLatin1String(f.name))
                continue;
            if (argumente.size() != f.argumente)
                Fehler(QStringLiteral("%1 verlangt %2 Argumente").arg(n).arg(f.argumente));
            TAusdruckPtr a = Knoten(f.art, n);
            a->aggregat = f.aggregat;
            a->kinder = std::move(argumente);
            return a;
        }
        Fehler(QStringLiteral("unbekannte Funktion „%1“").arg(n));
    }

    QString FText;
    qsizetype FPos = 0;
};

TWert Rechnen(TOperator op, const TWert& l, const TWert& r)
{
    const auto wahrheit = [](bool e) { return TWert::AusZahl(e ? 1 : 0, true); };
    switch (op) {
    case TOperator::Oder:
        return wahrheit(Wahr(l) || Wahr(r));
    case TOperator::Und:
        return wahrheit(Wahr(l) && Wahr(r));
    case TOperator::Gleich:
        return wahrheit(l.Gleich(r));
    case TOperator::Ungleich:
        return wahrheit(!l.Gleich(r));
    case TOperator::Kleiner:
        return wahrheit(l.Kleiner(r));
    case TOperator::Groesser:
        return wahrheit(r.Kleiner(l));
    case TOperator::Hoechstens:
        return wahrheit(!r.Kleiner(l));
    case TOperator::Mindestens:
        return wahrheit(!l.Kleiner(r));
    case TOperator::Verketten:
        return TWert::AusText(AlsText(l) + AlsText(r));
    case TOperator::Plus:
        if (l.art == TWert::Text || r.art == TWert::Text)
            return TWert::AusText(AlsText(l) + AlsText(r));
        break;
    case TOperator::Minus:
    case TOperator::Mal:
    case TOperator::Durch:
        break;
    }
    const double a = l.AlsZahl(), b = r.AlsZahl();
    // a text that is a whole number, as a parameter often is, counts as an integer
    const auto ganzzahlig = [](const TWert& w) {
        bool ok = w.art == TWert::Zahl && w.ganz;
        if (w.art == TWert::Text)
            w.text.trimmed().toLongLong(&ok);
        return ok;
    };
    const bool ganz = ganzzahlig(l) && ganzzahlig(r);
    switch (op) {
    case TOperator::Plus:
        return TWert::AusZahl(a + b, ganz);
    case TOperator::Minus:
        return TWert::AusZahl(a - b, ganz);
    case TOperator::Mal:
        return TWert::AusZahl(a * b, ganz);
    default:
        return b == 0 ? TWert{} : TWert::AusZahl(a / b);   // nothing to show for a division by zero
    }
}

}

TAusdruckPtr AusdruckLesen(const QString& text)
{
    return TLeser(text).Ganz();
}

TWert Auswerten(const TAusdruck& a, const TAuswertungsKontext& k)
{
    switch (a.art) {
    case TAusdruck::Konstante:
        return a.wert;
    case TAusdruck::Spalte:
        return k.SpaltenWert(a.tabelle, a.spalte);
    case TAusdruck::Parameter:
        return TWert::AusText(k.ParameterWert(a.name));
    case TAusdruck::Seite:
        return TWert::AusZahl(k.SeitenNr(), true);
    case TAusdruck::Seiten:
        return TWert::AusZahl(k.SeitenAnzahl(), true);
    case TAusdruck::Druckdatum:
        return TWert::AusDatum(k.DruckDatum());
    case TAusdruck::Titel:
        return TWert::AusText(k.TitelText());
    case TAusdruck::Wenn:
        return Auswerten(*a.kinder[Wahr(Auswerten(*a.kinder[0], k)) ? 1 : 2], k);
    case TAusdruck::Aggregat:
        return k.AggregatWert(a.slot);
    case TAusdruck::Minus: {
        const TWert w = Auswerten(*a.kinder[0], k);
        return TWert::AusZahl(-w.AlsZahl(), w.ganz);
    }
    case TAusdruck::Binaer:
        return Rechnen(a.op, Auswerten(*a.kinder[0], k), Auswerten(*a.kinder[1], k));
    }
    return {};
}
