#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"
#include "framework/core/uhr.h"
#include "framework/dbf/dbf.h"

#include <functional>
#include <memory>
#include <vector>

// One column of a print table and how it is read from and written to a record.
template <class S>
struct TDbfFeld {
    TDbfSpalte Spalte;
    std::function<QVariant(const S&)> Lesen;
    std::function<void(S&, const QVariant&)> Schreiben;
    // Writes the value into the record being appended; without it, Lesen's value is written.
    std::function<void(const S&, TDbfSatz&)> Kodieren = {};
};

template <class S>
TDbfFeld<S> DbfFeld(const QString& name, int32_t S::*m)
{
    return {DbfInteger(name), [m](const S& s) { return QVariant(s.*m); },
            [m](S& s, const QVariant& v) { s.*m = v.toInt(); }, [m](const S& s, TDbfSatz& z) { z.Integer(s.*m); }};
}

template <class S>
TDbfFeld<S> DbfFeld(const QString& name, double S::*m)
{
    return {DbfDouble(name), [m](const S& s) { return QVariant(s.*m); },
            [m](S& s, const QVariant& v) { s.*m = v.toDouble(); }, [m](const S& s, TDbfSatz& z) { z.Double(s.*m); }};
}

template <class S>
TDbfFeld<S> DbfDatumFeld(const QString& name, TDateTime S::*m)
{
    return {DbfDatum(name), [m](const S& s) { return QVariant(s.*m); },
            [m](S& s, const QVariant& v) { s.*m = v.toDate().isValid() ? TDateTime_FromQDate(v.toDate()) : 0; },
            [m](const S& s, TDbfSatz& z) { z.Datum(s.*m); }};
}

template <class S>
TDbfFeld<S> DbfFeld(const QString& name, QString S::*m, int laenge)
{
    return {DbfText(name, laenge), [m](const S& s) { return QVariant(s.*m); },
            [m](S& s, const QVariant& v) { s.*m = v.toString(); }, [m](const S& s, TDbfSatz& z) { z.Text(s.*m); }};
}

template <class S>
TDbfFeld<S> DbfFeld(const QString& name, QChar S::*m)
{
    return {DbfText(name, 1), [m](const S& s) { return QVariant(s.*m == QChar() ? QString() : QString(s.*m)); },
            [m](S& s, const QVariant& v) {
                const QString t = v.toString();
                s.*m = t.isEmpty() ? QChar() : t.at(0);
            },
            [m](const S& s, TDbfSatz& z) { z.Text(s.*m == QChar() ? QString() : QString(s.*m)); }};
}

// A product id is one text column "Int1.Int2.Int3" (empty for the null id), so that the
// report can address it by one name.
QString DbfProduktIdText(const TInt32Trio& id);
TInt32Trio DbfProduktIdAusText(const QString& text);

template <class S>
TDbfFeld<S> DbfFeld(const QString& name, TInt32Trio S::*m)
{
    return {DbfText(name, 35), [m](const S& s) { return QVariant(DbfProduktIdText(s.*m)); },
            [m](S& s, const QVariant& v) { s.*m = DbfProduktIdAusText(v.toString()); },
            [m](const S& s, TDbfSatz& z) { z.Text(DbfProduktIdText(s.*m)); }};
}

// A print data file: a record buffer of type S and the column layout of its table.
// Subclasses give the layout in record order.
template <class S>
class TDbfSatzDatei {
public:
    using TSatz = S;
    virtual ~TDbfSatzDatei() = default;

    S& Satz() { return FSatz; }
    const S& Satz() const { return FSatz; }
    S GetSatz() const { return FSatz; }
    void SetSatz(const S& s) { FSatz = s; }
    void Clear() { FSatz = S{}; }

    std::vector<TDbfSpalte> Spalten() const
    {
        std::vector<TDbfSpalte> r;
        for (const TDbfFeld<S>& f : Layout())
            r.push_back(f.Spalte);
        return r;
    }

    // An empty table with this file's layout, dated by the framework clock; the second
    // argument is kept for callers.
    std::unique_ptr<TDbf> DBF_Create_Table_Empty(const QString& pfad, int = 0) const
    {
        return std::make_unique<TDbf>(pfad, Spalten(), TDateTime_ToQDate(orv_Date()));
    }

    // Appends the buffer to a table of this layout.
    void DBF_InsertSatz(TDbf& tabelle) const
    {
        tabelle.Anfuegen([this](TDbfSatz& z) {
            for (const TDbfFeld<S>& f : Layout()) {
                if (f.Kodieren)
                    f.Kodieren(FSatz, z);
                else
                    z.Wert(f.Lesen(FSatz));
            }
        });
    }

    // The text shortened to the width of a text column (the column must exist).
    QString SetWertCut(const QString& spalte, const QString& text) const
    {
        for (const TDbfFeld<S>& f : Layout())
            if (f.Spalte.Name == spalte)
                return text.left(f.Spalte.Laenge);
        return text;
    }

    // Reads record nr of a table with this layout into a record.
    S SatzLesen(const TDbfLeser& leser, uint32_t nr) const
    {
        S s{};
        for (const TDbfFeld<S>& f : Layout())
            f.Schreiben(s, leser.Wert(nr, f.Spalte.Name));
        return s;
    }

    virtual const std::vector<TDbfFeld<S>>& Layout() const = 0;

private:
    S FSatz{};
};
