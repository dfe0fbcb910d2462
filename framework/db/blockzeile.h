#pragma once

#include "framework/core/datetime.h"
#include "framework/core/fehler.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>
#include <QString>

#include <cstdint>
#include <string_view>

// One row of a block read (TProduktBlockAbfrage), its values by column number. A NULL reads
// as 0, an empty text or date 0, as the driver's values convert.
class TBlockZeile {
public:
    virtual ~TBlockZeile() = default;
    virtual bool Null(int spalte) const = 0;
    virtual int32_t Int(int spalte) const = 0;
    virtual qint64 Int64(int spalte) const = 0;
    virtual double Double(int spalte) const = 0;
    virtual QString Text(int spalte) const = 0;
    // A timestamp, or its text in the form TDatumTraits reads.
    virtual TDateTime Datum(int spalte) const = 0;
    // The quantities a statement selected with MengenLeseAusdruecke; name tells a malformed
    // text's origin.
    virtual TMengen100 Mengen(int spalte, const QString& name) const = 0;
};

// The rows of a read kept after its statement ended, by number.
class TZeilen {
public:
    virtual ~TZeilen() = default;
    virtual int Anzahl() const = 0;
    // Row i; the row handed out before is not to be read any more.
    virtual const TBlockZeile& Zeile(int i) = 0;
};

// A row whose values Qt's driver handed over.
class TWertZeile : public TBlockZeile {
public:
    bool Null(int spalte) const override { return Wert(spalte).isNull(); }
    int32_t Int(int spalte) const override { return Wert(spalte).toInt(); }
    qint64 Int64(int spalte) const override { return Wert(spalte).toLongLong(); }
    double Double(int spalte) const override { return Wert(spalte).toDouble(); }
    QString Text(int spalte) const override { return Wert(spalte).toString(); }
    TDateTime Datum(int spalte) const override
    {
        const QVariant v = Wert(spalte);
        return TDatumTraits::FromSql(&v);
    }
    TMengen100 Mengen(int spalte, const QString& name) const override { return MengenLesen(Wert(spalte), name); }

protected:
    virtual QVariant Wert(int spalte) const = 0;
};

// The row a Qt query stands on.
class TSqlZeile : public TWertZeile {
public:
    explicit TSqlZeile(const QSqlQuery& q) : FQuery(q) {}

protected:
    QVariant Wert(int spalte) const override { return FQuery.value(spalte); }

private:
    const QSqlQuery& FQuery;
};

// A row of values kept after its query moved on; a column beyond them reads as NULL.
class TVariantZeile : public TWertZeile {
public:
    explicit TVariantZeile(const QVariantList& werte) : FWerte(werte) {}

protected:
    QVariant Wert(int spalte) const override { return FWerte.value(spalte); }

private:
    const QVariantList& FWerte;
};

// A row read past Qt's driver, whose texts, dates and quantities the engine hands over as
// text. A column beyond those selected raises instead of reading as 0: a statement whose
// columns moved would otherwise go on with wrong values.
class TTextZeile : public TBlockZeile {
public:
    QString Text(int spalte) const override
    {
        const std::string_view w = Roh(spalte);
        return w.data() ? QString::fromUtf8(w.data(), static_cast<qsizetype>(w.size())) : QString();
    }
    TDateTime Datum(int spalte) const override
    {
        const std::string_view w = Roh(spalte);
        return w.data() ? TDatumTraits::FromText(QLatin1StringView(w.data(), static_cast<qsizetype>(w.size()))) : 0;
    }
    TMengen100 Mengen(int spalte, const QString& name) const override
    {
        const std::string_view w = Roh(spalte);
        return MengenLesen(QLatin1StringView(w.data() ? w.data() : "", static_cast<qsizetype>(w.size())), name);
    }

protected:
    explicit TTextZeile(int spalten) : FSpalten(spalten) {}
    // Raises for a column the statement did not select.
    void Gueltig(int spalte) const
    {
        if (spalte < 0 || spalte >= FSpalten)
            FehlerRaise(QStringLiteral("TTextZeile"), {QStringLiteral("Spalte %1 gelesen, die Abfrage liefert %2.").arg(spalte).arg(FSpalten)});
    }
    // The column's value as text, a null view for NULL; calls Gueltig.
    virtual std::string_view Roh(int spalte) const = 0;

private:
    int FSpalten;
};

