#include "framework/db/datenfeld.h"

#include "framework/core/fehler.h"
#include "framework/db/blockzeile.h"
#include "framework/db/connection.h"

#include <cstdio>

namespace {
const QString CSqlDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
}

TDatenfeld::TDatenfeld(QString name, QStringList columns) : FName(std::move(name)), FColumns(std::move(columns)) {}

int32_t TFeldTraits<int32_t>::FromZeile(const TBlockZeile& z, int s) { return z.Int(s); }
double TFeldTraits<double>::FromZeile(const TBlockZeile& z, int s) { return z.Double(s); }
bool TFeldTraits<bool>::FromZeile(const TBlockZeile& z, int s) { return z.Int(s) != 0; }
QString TFeldTraits<QString>::FromZeile(const TBlockZeile& z, int s) { return z.Text(s); }
QChar TFeldTraits<QChar>::FromZeile(const TBlockZeile& z, int s) { return Zeichen(z.Text(s)); }
TInt32Trio TFeldTraits<TInt32Trio>::FromZeile(const TBlockZeile& z, int s) { return {z.Int(s), z.Int(s + 1), z.Int(s + 2)}; }
TIntPair TFeldTraits<TIntPair>::FromZeile(const TBlockZeile& z, int s) { return {z.Int(s), z.Int(s + 1)}; }
TDateTime TDatumTraits::FromZeile(const TBlockZeile& z, int s) { return z.Datum(s); }
TMengen100 TMengenTraits::FromZeile(const TBlockZeile& z, int s) { return z.Mengen(s, QStringLiteral("Mengen")); }

void TDatenfeld::FilterClear()
{
    FFilterMin.reset();
    FFilterMax.reset();
}

QVariantList TDatumTraits::ToSql(TDateTime v)
{
    const QDateTime dt = TDateTime_ToQDateTime(v);
    const QDate d = dt.date();
    const QTime t = dt.time();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                  t.second(), t.msec());
    return {QVariant(QString::fromLatin1(text))};
}

namespace {

// Reads "yyyy-MM-dd HH:mm:ss.zzz" (also with "T", without a fraction, or with one to six
// fraction digits as PostgreSQL writes them, cut to milliseconds) without the cost of a
// general date parser; false for any other form. C is the text's character type.
template <class C>
bool SchnellLesen(const C* s, qsizetype laenge, TDateTime& ergebnis)
{
    if (laenge < 19)
        return false;
    const auto zahl = [&](int pos, int n, int& wert) {
        wert = 0;
        for (int i = pos; i < pos + n; ++i) {
            const char16_t c = static_cast<char16_t>(s[i]);
            if (c < u'0' || c > u'9')
                return false;
            wert = wert * 10 + (c - u'0');
        }
        return true;
    };
    int j, mo, t, h, mi, se, ms = 0;
    if (!zahl(0, 4, j) || s[4] != '-' || !zahl(5, 2, mo) || s[7] != '-' || !zahl(8, 2, t) || !zahl(11, 2, h)
        || !zahl(14, 2, mi) || !zahl(17, 2, se))
        return false;
    if (laenge > 19) {
        const qsizetype stellen = laenge - 20;
        int bruch;
        if (s[19] != '.' || stellen < 1 || stellen > 6 || !zahl(20, static_cast<int>(stellen), bruch))
            return false;
        static constexpr int CTeiler[] = {1, 1, 1, 1, 10, 100, 1000};
        static constexpr int CFaktor[] = {1, 100, 10, 1, 1, 1, 1};
        ms = bruch * CFaktor[stellen] / CTeiler[stellen];
    }
    const QDate d(j, mo, t);
    if (!d.isValid())
        return false;
    ergebnis = EncodeDateTime(j, mo, t, h, mi, se, ms);
    return true;
}

TDateTime LangsamLesen(const QString& s)
{
    QDateTime dt = QDateTime::fromString(s, CSqlDateFormat);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid())
        FehlerRaise(QStringLiteral("TDatumTraits.FromSql"), {QStringLiteral("Ungültiges Datum: ") + s});
    return TDateTime_FromQDateTime(dt);
}

}

TDateTime TDatumTraits::FromSql(const QVariant* v)
{
    if (v[0].isNull())
        return 0;
    if (v[0].metaType().id() == QMetaType::QDateTime)
        return TDateTime_FromQDateTime(v[0].toDateTime());
    if (v[0].metaType().id() == QMetaType::QDate)
        return TDateTime_FromQDate(v[0].toDate());
    const QString s = v[0].toString();
    TDateTime schnell;
    return SchnellLesen(s.utf16(), s.size(), schnell) ? schnell : LangsamLesen(s);
}

TDateTime TDatumTraits::FromText(QLatin1StringView s)
{
    TDateTime schnell;
    return SchnellLesen(s.data(), s.size(), schnell) ? schnell : LangsamLesen(s);
}

QStringList TDatumDatenFeld::LeseAusdruecke(TConnectorTyp typ) const
{
    if (typ != TConnectorTyp::PostgreSQL)
        return Columns();
    return {QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS.MS')").arg(Columns().first())};
}

QVariantList TMengenTraits::ToSql(const TMengen100& v)
{
    QVariantList r;
    r.reserve(100);
    for (int32_t m : v)
        r.append(QVariant(m));
    return r;
}

TMengen100 TMengenTraits::FromSql(const QVariant* v)
{
    TMengen100 r{};
    for (int i = 0; i < 100; ++i)
        r[i] = v[i].toInt();
    return r;
}

TStringDatenFeld::TStringDatenFeld(const QString& name, const QString& column, int width)
    : TDatenfeld_Gen<QString>(name, column), FWidth(width)
{
}

void TStringDatenFeld::SetWert(const QString& v)
{
    if (v.size() > FWidth)
        FehlerRaise(QStringLiteral("TStringDatenFeld.SetWert"),
                    {QStringLiteral("Text zu lang für Feld %1 (%2 > %3 Zeichen)").arg(Name()).arg(v.size()).arg(FWidth)});
    TDatenfeld_Gen<QString>::SetWert(v);
}

QStringList MengenSpalten(const QString& column, int base)
{
    QStringList r;
    r.reserve(100);
    for (int i = 0; i < 100; ++i)
        r.append(QStringLiteral("%1_%2").arg(column).arg(base + i));
    return r;
}

TMengenDatenFeld::TMengenDatenFeld(const QString& name, const QString& column, int base)
    : TDatenfeld_Gen<TMengen100, TMengenTraits>(name, MengenSpalten(column, base))
{
}

QStringList MengenLeseAusdruecke(const QStringList& spalten, TConnectorTyp typ)
{
    if (typ == TConnectorTyp::PostgreSQL)
        return {QStringLiteral("ARRAY[%1]::text").arg(spalten.join(QStringLiteral(", ")))};
    return {QStringLiteral("printf('{%1}', %2)").arg(QStringList(spalten.size(), QStringLiteral("%d")).join(QLatin1Char(',')),
                                                     spalten.join(QStringLiteral(", ")))};
}

namespace {

// "{q1,q2,...,q100}", each an optionally negative integer; C is the text's character type.
template <class C>
bool MengenParsen(const C* text, qsizetype laenge, TMengen100& r)
{
    int n = 0;
    qsizetype i = 1;
    bool ok = laenge > 0 && text[0] == '{';
    while (ok && n < 100) {
        const bool negativ = i < laenge && text[i] == '-';
        if (negativ)
            ++i;
        const int64_t grenze = negativ ? -int64_t(INT32_MIN) : INT32_MAX;
        const qsizetype anfang = i;
        int64_t wert = 0;
        for (; i < laenge && text[i] >= '0' && text[i] <= '9' && wert <= grenze; ++i)
            wert = wert * 10 + (text[i] - '0');
        const char16_t ende = i < laenge ? static_cast<char16_t>(text[i]) : u'\0';
        ok = i > anfang && wert <= grenze && (ende == u',' ? n < 99 : ende == u'}' && n == 99 && i + 1 == laenge);
        r[n++] = static_cast<int32_t>(negativ ? -wert : wert);
        ++i;
    }
    return ok;
}

[[noreturn]] void MengenUnlesbar(const QString& name, const QString& text)
{
    FehlerRaise(QStringLiteral("MengenLesen"), {name, QStringLiteral("Unlesbare Mengen: ") + text.left(80)});
}

}

TMengen100 MengenLesen(const QVariant& wert, const QString& name)
{
    const QString text = wert.toString();
    TMengen100 r{};
    if (!MengenParsen(text.utf16(), text.size(), r))
        MengenUnlesbar(name, text);
    return r;
}

TMengen100 MengenLesen(QLatin1StringView text, const QString& name)
{
    TMengen100 r{};
    if (!MengenParsen(text.data(), text.size(), r))
        MengenUnlesbar(name, text);
    return r;
}

QStringList TMengenDatenFeld::LeseAusdruecke(TConnectorTyp typ) const
{
    return MengenLeseAusdruecke(Columns(), typ);
}

void TMengenDatenFeld::ZeileLesen(const TBlockZeile& z, int spalte)
{
    SetWert(z.Mengen(spalte, Name()));
}
