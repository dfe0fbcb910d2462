#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"

#include <QChar>
#include <QStringList>
#include <QVariant>

#include <array>
#include <cstdint>
#include <optional>

enum class TConnectorTyp;
class TBlockZeile;

// 100 per-size quantities; slot i holds size number i+1.
using TMengen100 = std::array<int32_t, 100>;

// One field of a record buffer. A field maps to one SQL column, or to several for
// compound values (a product id has three). Filters and key values are kept as the SQL
// column values they compare against.
class TDatenfeld {
public:
    TDatenfeld(QString name, QStringList columns);
    virtual ~TDatenfeld() = default;
    TDatenfeld(const TDatenfeld&) = delete;
    TDatenfeld& operator=(const TDatenfeld&) = delete;

    const QString& Name() const { return FName; }
    const QStringList& Columns() const { return FColumns; }

    virtual void Clear() = 0;
    virtual QVariantList SqlWerte() const = 0;
    // Reads the value from Columns().size() consecutive column values.
    virtual void SqlLesen(const QVariant* values) = 0;
    // What a record file selects to read the field on the engine, one value per expression
    // (by default its columns), and how the field reads them from a row, from column spalte on.
    virtual QStringList LeseAusdruecke(TConnectorTyp) const { return FColumns; }
    virtual void ZeileLesen(const TBlockZeile& z, int spalte) = 0;
    // The values ZeileLesen would read, as the field itself would bind them (a timestamp the
    // driver handed over as a QDateTime becomes the field's own SQL form); the field keeps its value.
    virtual QVariantList ZeileNormiert(const TBlockZeile& z, int spalte) const = 0;

    const std::optional<QVariantList>& FilterMin() const { return FFilterMin; }
    const std::optional<QVariantList>& FilterMax() const { return FFilterMax; }
    const std::optional<QVariantList>& KeyWert() const { return FKeyWert; }
    void FilterClear();
    void KeyClear() { FKeyWert.reset(); }

protected:
    void SetFilterMinSql(QVariantList v) { FFilterMin = std::move(v); }
    void SetFilterMaxSql(QVariantList v) { FFilterMax = std::move(v); }
    void SetKeyWertSql(QVariantList v) { FKeyWert = std::move(v); }

private:
    QString FName;
    QStringList FColumns;
    std::optional<QVariantList> FFilterMin;
    std::optional<QVariantList> FFilterMax;
    std::optional<QVariantList> FKeyWert;
};

// Conversion of a value type to and from its SQL columns.
template <class T> struct TFeldTraits;

template <> struct TFeldTraits<int32_t> {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(int32_t v) { return {QVariant(v)}; }
    static int32_t FromSql(const QVariant* v) { return v[0].toInt(); }
    static int32_t FromZeile(const TBlockZeile& z, int s);
};

template <> struct TFeldTraits<double> {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(double v) { return {QVariant(v)}; }
    static double FromSql(const QVariant* v) { return v[0].toDouble(); }
    static double FromZeile(const TBlockZeile& z, int s);
};

template <> struct TFeldTraits<bool> {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(bool v) { return {QVariant(v ? 1 : 0)}; }
    static bool FromSql(const QVariant* v) { return v[0].toInt() != 0; }
    static bool FromZeile(const TBlockZeile& z, int s);
};

template <> struct TFeldTraits<QString> {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(const QString& v) { return {QVariant(v.isNull() ? QStringLiteral("") : v)}; }
    static QString FromSql(const QVariant* v) { return v[0].toString(); }
    static QString FromZeile(const TBlockZeile& z, int s);
};

// A character is stored as a text of length 0 (no character) or 1.
template <> struct TFeldTraits<QChar> {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(QChar v) { return {QVariant(v.isNull() ? QStringLiteral("") : QString(v))}; }
    static QChar FromSql(const QVariant* v)
    {
        return Zeichen(v[0].toString());
    }
    static QChar FromZeile(const TBlockZeile& z, int s);
    static QChar Zeichen(const QString& s) { return s.isEmpty() ? QChar() : s.at(0); }
};

template <> struct TFeldTraits<TInt32Trio> {
    static QStringList Columns(const QString& c) { return {c + "_1", c + "_2", c + "_3"}; }
    static QVariantList ToSql(const TInt32Trio& v) { return {QVariant(v.Int1), QVariant(v.Int2), QVariant(v.Int3)}; }
    static TInt32Trio FromSql(const QVariant* v) { return {v[0].toInt(), v[1].toInt(), v[2].toInt()}; }
    static TInt32Trio FromZeile(const TBlockZeile& z, int s);
};

template <> struct TFeldTraits<TIntPair> {
    static QStringList Columns(const QString& c) { return {c + "_1", c + "_2"}; }
    static QVariantList ToSql(const TIntPair& v) { return {QVariant(v.Int1), QVariant(v.Int2)}; }
    static TIntPair FromSql(const QVariant* v) { return {v[0].toInt(), v[1].toInt()}; }
    static TIntPair FromZeile(const TBlockZeile& z, int s);
};

// Dates are SQL timestamps; they travel as "yyyy-MM-dd HH:mm:ss.zzz" so that SQLite keeps
// them in an order-preserving text form and PostgreSQL reads them as timestamps.
struct TDatumTraits {
    static QStringList Columns(const QString& c) { return {c}; }
    static QVariantList ToSql(TDateTime v);
    static TDateTime FromSql(const QVariant* v);
    static TDateTime FromZeile(const TBlockZeile& z, int s);
    // The date of a text as FromSql reads it.
    static TDateTime FromText(QLatin1StringView s);
};

struct TMengenTraits {
    static QVariantList ToSql(const TMengen100& v);
    static TMengen100 FromSql(const QVariant* v);
    static TMengen100 FromZeile(const TBlockZeile& z, int s);
};

template <class T, class Traits = TFeldTraits<T>>
class TDatenfeld_Gen : public TDatenfeld {
public:
    using ValueType = T;

    TDatenfeld_Gen(const QString& name, const QString& column) : TDatenfeld(name, Traits::Columns(column)) {}

    const T& GetWert() const { return FWert; }
    void SetWert(const T& v) { FWert = v; }

    void SetFilterMin(const T& v) { SetFilterMinSql(Traits::ToSql(v)); }
    void SetFilterMax(const T& v) { SetFilterMaxSql(Traits::ToSql(v)); }
    // Minimum and maximum equal: a filter on equality.
    void SetFilterMinMax(const T& v) { SetFilterMinMax(v, v); }
    void SetFilterMinMax(const T& min, const T& max)
    {
        SetFilterMin(min);
        SetFilterMax(max);
    }

    void Clear() override { FWert = T{}; }
    QVariantList SqlWerte() const override { return Traits::ToSql(FWert); }
    void SqlLesen(const QVariant* values) override { FWert = Traits::FromSql(values); }
    void ZeileLesen(const TBlockZeile& z, int spalte) override { FWert = Traits::FromZeile(z, spalte); }
    QVariantList ZeileNormiert(const TBlockZeile& z, int spalte) const override { return Traits::ToSql(Traits::FromZeile(z, spalte)); }

protected:
    TDatenfeld_Gen(const QString& name, QStringList columns) : TDatenfeld(name, std::move(columns)) {}
    static QVariantList ToSql(const T& v) { return Traits::ToSql(v); }

private:
    T FWert{};
};

using TIntegerDatenFeld = TDatenfeld_Gen<int32_t>;
using TDoubleDatenFeld = TDatenfeld_Gen<double>;
using TBoolDatenFeld = TDatenfeld_Gen<bool>;
using TCharDatenFeld = TDatenfeld_Gen<QChar>;
using TInt32TrioDatenFeld = TDatenfeld_Gen<TInt32Trio>;
using TIntPairDatenFeld = TDatenfeld_Gen<TIntPair>;

// A date field. PostgreSQL hands its dates over as fixed-form text, which FromSql reads
// without the driver's general timestamp parser.
class TDatumDatenFeld : public TDatenfeld_Gen<TDateTime, TDatumTraits> {
public:
    using TDatenfeld_Gen::TDatenfeld_Gen;
    QStringList LeseAusdruecke(TConnectorTyp typ) const override;
};

// Text of a fixed width. SetWert refuses a longer text; SetWertCut shortens it.
class TStringDatenFeld : public TDatenfeld_Gen<QString> {
public:
    TStringDatenFeld(const QString& name, const QString& column, int width);
    int Width() const { return FWidth; }
    void SetWert(const QString& v);
    void SetWertCut(const QString& v) { TDatenfeld_Gen<QString>::SetWert(v.left(FWidth)); }

private:
    int FWidth;
};

// The 100 quantity columns "<column>_<base>" ... "<column>_<base + 99>".
QStringList MengenSpalten(const QString& column, int base);
// What a statement selects to read the quantity columns on the engine: one text
// "{q1,...,q100}", because the drivers' work per column and value (type look-up, conversion)
// costs more than the database's scan.
QStringList MengenLeseAusdruecke(const QStringList& spalten, TConnectorTyp typ);
// The quantities from the value of that expression; a malformed text raises under the name.
TMengen100 MengenLesen(const QVariant& wert, const QString& name);
TMengen100 MengenLesen(QLatin1StringView text, const QString& name);

// A field over the 100 quantity columns, read as MengenLeseAusdruecke selects them.
class TMengenDatenFeld : public TDatenfeld_Gen<TMengen100, TMengenTraits> {
public:
    TMengenDatenFeld(const QString& name, const QString& column, int base);
    QStringList LeseAusdruecke(TConnectorTyp typ) const override;
    // a malformed text raises under the field's name
    void ZeileLesen(const TBlockZeile& z, int spalte) override;
};

// A key field of a key index. SetKeyWert sets the start key of a scan; SetKeyWertAndFilter
// also ends the scan where the field's value differs.
template <class Base>
class TKeyFeld : public Base {
public:
    using Base::Base;
    using T = typename Base::ValueType;

    void SetKeyWert(const T& v)
    {
        Base::SetWert(v);
        TDatenfeld::SetKeyWertSql(Base::SqlWerte());
    }
    void SetKeyWertAndFilter(const T& v)
    {
        SetKeyWert(v);
        Base::SetFilterMinMax(v);
    }
};

using TIntegerDatenKeyFeld = TKeyFeld<TIntegerDatenFeld>;
using TDatumDatenKeyFeld = TKeyFeld<TDatumDatenFeld>;
using TInt32TrioDatenKeyFeld = TKeyFeld<TInt32TrioDatenFeld>;
using TStringDatenKeyFeld = TKeyFeld<TStringDatenFeld>;
using TCharDatenKeyFeld = TKeyFeld<TCharDatenFeld>;
