#pragma once

#include <QDate>
#include <QString>

#include <memory>
#include <vector>

// A value of a report expression.
struct TWert {
    enum Art { Leer, Zahl, Text, Datum };
    Art art = Leer;
    double zahl = 0;
    bool ganz = false;   // from an integer column or integer arithmetic
    QString text;
    QDate datum;

    static TWert AusZahl(double z, bool g = false) { return {Zahl, z, g, {}, {}}; }
    static TWert AusText(const QString& t) { return {Text, 0, false, t, {}}; }
    static TWert AusDatum(const QDate& d) { return d.isValid() ? TWert{Datum, 0, false, {}, d} : TWert{}; }
    double AlsZahl() const;   // text that is a number (German or C notation) counts; else 0
    bool Gleich(const TWert& w) const;
    bool Kleiner(const TWert& w) const;   // numbers by value, dates by day, else as text
};

enum class TAggregat { Summe, Anzahl, Min, Max };
enum class TOperator { Oder, Und, Gleich, Ungleich, Kleiner, Groesser, Hoechstens, Mindestens, Plus, Minus, Verketten, Mal, Durch };

// One node of a parsed expression. Columns are bound to table and column numbers and
// aggregates to their accumulator before the expression is evaluated.
struct TAusdruck {
    enum Art { Konstante, Spalte, Parameter, Seite, Seiten, Druckdatum, Titel, Wenn, Aggregat, Minus, Binaer };
    Art art = Konstante;
    TWert wert;            // Konstante
    QString name;          // Spalte: "TABLE.Column"; Parameter: "Param_..."
    TOperator op = TOperator::Plus;   // Binaer
    int tabelle = -1, spalte = -1;   // Spalte once bound
    TAggregat aggregat = TAggregat::Summe;
    int slot = -1;         // Aggregat once bound
    std::vector<std::unique_ptr<TAusdruck>> kinder;

    // Every node of the tree, this one first.
    template <class F>
    void Besuchen(F&& f)
    {
        f(*this);
        for (auto& k : kinder)
            k->Besuchen(f);
    }
};

using TAusdruckPtr = std::unique_ptr<TAusdruck>;

// Parses an expression: numbers ("12", "2.5"), texts in double quotes, columns
// ("INVL.Soll_EKWert"), parameters ("Param_FilNr"), + - * / on numbers, & on texts (+ also
// joins when one side is text), comparisons = <> < > <= >=, "und", "oder", and the functions
// wenn(c, a, b),
// summe(x), anzahl(), min(x), max(x), seite(), seiten(), druckdatum(), titel().
// Throws EORVFehler with the position of the fault.
TAusdruckPtr AusdruckLesen(const QString& text);

// What an expression reads when it is evaluated.
class TAuswertungsKontext {
public:
    virtual ~TAuswertungsKontext() = default;
    virtual TWert SpaltenWert(int tabelle, int spalte) const = 0;
    virtual QString ParameterWert(const QString& name) const = 0;   // empty when not set
    virtual TWert AggregatWert(int slot) const = 0;
    virtual int SeitenNr() const = 0;
    virtual int SeitenAnzahl() const = 0;
    virtual QDate DruckDatum() const = 0;
    virtual QString TitelText() const = 0;
};

TWert Auswerten(const TAusdruck& a, const TAuswertungsKontext& k);
bool Wahr(const TWert& w);

// How a value stands in a text: integers plain, other numbers with two decimals, German style;
// dates "dd.mm.yyyy".
QString AlsText(const TWert& w);   // non-zero number, non-empty text, a date
