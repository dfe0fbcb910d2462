#include "framework/db/sqliteanweisung.h"

#include "framework/db/connection.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QScopeGuard>
#include <QSqlError>

#include <sqlite3.h>

namespace {

class TSqliteZeile : public TTextZeile {
public:
    explicit TSqliteZeile(sqlite3_stmt* s) : TTextZeile(sqlite3_column_count(s)), FAnweisung(s) {}

    bool Null(int spalte) const override { return Typ(spalte) == SQLITE_NULL; }
    int32_t Int(int spalte) const override
    {
        Gueltig(spalte);
        return sqlite3_column_int(FAnweisung, spalte);
    }
    qint64 Int64(int spalte) const override
    {
        Gueltig(spalte);
        return sqlite3_column_int64(FAnweisung, spalte);
    }
    double Double(int spalte) const override
    {
        Gueltig(spalte);
        return sqlite3_column_double(FAnweisung, spalte);
    }

protected:
    std::string_view Roh(int spalte) const override
    {
        if (Typ(spalte) == SQLITE_NULL)
            return {};
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(FAnweisung, spalte));
        return {text, static_cast<size_t>(sqlite3_column_bytes(FAnweisung, spalte))};
    }

private:
    int Typ(int spalte) const
    {
        Gueltig(spalte);
        return sqlite3_column_type(FAnweisung, spalte);
    }

    sqlite3_stmt* FAnweisung;
};

// What Qt's driver binds as NULL: a null text, byte array, or an invalid date or time.
bool IstNull(const QVariant& v)
{
    if (v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDateTime:
        return !v.toDateTime().isValid();
    case QMetaType::QDate:
        return !v.toDate().isValid();
    case QMetaType::QTime:
        return !v.toTime().isValid();
    default:
        return false;
    }
}

int TextBinden(sqlite3_stmt* s, int i, const QString& text, void (*art)(void*))
{
    return sqlite3_bind_text16(s, i, text.utf16(), static_cast<int>(text.size() * sizeof(char16_t)), art);
}

}

TSqliteAnweisung::TSqliteAnweisung(const QString& ort, const QString& sql, sqlite3* verbindung) : FVerbindung(verbindung), FSql(sql)
{
    const void* rest = nullptr;
    const int code = sqlite3_prepare16_v2(FVerbindung, sql.utf16(), static_cast<int>(sql.size() * sizeof(char16_t)), &FAnweisung, &rest);
    if (code != SQLITE_OK)
        Fehlgeschlagen(ort, QStringLiteral("Unable to execute statement"), code);
    // a second statement in the text would never run: refused, as Qt's driver refuses it
    const qsizetype gelesen = static_cast<const char16_t*>(rest) - reinterpret_cast<const char16_t*>(sql.utf16());
    if (!sql.mid(gelesen).trimmed().isEmpty()) {
        sqlite3_finalize(FAnweisung);
        TZEP_Connection::Fehlgeschlagen(
            ort, QSqlError(QStringLiteral("Unable to execute multiple statements at a time"), QString(), QSqlError::StatementError), {sql});
    }
}

TSqliteAnweisung::~TSqliteAnweisung()
{
    sqlite3_finalize(FAnweisung);
}

// The values as Qt's driver binds them: texts (and what it turns into text) as UTF-16,
// integers, doubles, byte arrays as blobs. A value that lives in werte is bound without a copy:
// the statement reads it only in the step that follows.
void TSqliteAnweisung::Binden(const QString& ort, const QVariantList& werte)
{
    if (werte.size() != sqlite3_bind_parameter_count(FAnweisung))
        TZEP_Connection::Fehlgeschlagen(ort, QSqlError(QStringLiteral("Parameter count mismatch"), QString(), QSqlError::StatementError),
                                        {FSql});
    for (int i = 0; i < werte.size(); ++i) {
        const QVariant& v = werte[i];
        const int n = i + 1;
        int code;
        if (IstNull(v)) {
            code = sqlite3_bind_null(FAnweisung, n);
        } else {
            switch (v.typeId()) {
            case QMetaType::QByteArray: {
                const auto* b = static_cast<const QByteArray*>(v.constData());
                code = sqlite3_bind_blob(FAnweisung, n, b->constData(), static_cast<int>(b->size()), SQLITE_STATIC);
                break;
            }
            case QMetaType::Int:
            case QMetaType::Bool:
                code = sqlite3_bind_int(FAnweisung, n, v.toInt());
                break;
            case QMetaType::Double:
                code = sqlite3_bind_double(FAnweisung, n, v.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                code = sqlite3_bind_int64(FAnweisung, n, v.toLongLong());
                break;
            case QMetaType::QDateTime:
                code = TextBinden(FAnweisung, n, v.toDateTime().toString(Qt::ISODateWithMs), SQLITE_TRANSIENT);
                break;
            case QMetaType::QTime:
                code = TextBinden(FAnweisung, n, v.toTime().toString(QStringLiteral("hh:mm:ss.zzz")), SQLITE_TRANSIENT);
                break;
            case QMetaType::QString:
                code = TextBinden(FAnweisung, n, *static_cast<const QString*>(v.constData()), SQLITE_STATIC);
                break;
            default:
                code = TextBinden(FAnweisung, n, v.toString(), SQLITE_TRANSIENT);
                break;
            }
        }
        if (code != SQLITE_OK)
            Fehlgeschlagen(ort, QStringLiteral("Unable to bind parameters"), code);
    }
}

int TSqliteAnweisung::Ausfuehren(const QString& ort, const QVariantList& werte, const std::function<void(const TBlockZeile&)>& proZeile)
{
    TZEP_Connection::Pruefen(ort);
    Binden(ort, werte);
    // reset on every way out: a statement left stepping would hold its read open
    const auto zuruecksetzen = qScopeGuard([this] { sqlite3_reset(FAnweisung); });
    TSqliteZeile zeile(FAnweisung);
    int code;
    while ((code = sqlite3_step(FAnweisung)) == SQLITE_ROW)
        if (proZeile)
            proZeile(zeile);
    if (code != SQLITE_DONE)
        Fehlgeschlagen(ort, QStringLiteral("Unable to fetch row"), code);
    const int geaendert = sqlite3_stmt_readonly(FAnweisung) ? 0 : sqlite3_changes(FVerbindung);
    TZEP_Connection::Pruefen(ort);
    return geaendert;
}

void TSqliteAnweisung::Fehlgeschlagen(const QString& ort, const QString& wobei, int code) const
{
    // worded as Qt's driver words it: its text, SQLite's message and the extended result code
    const QString meldung = QString::fromUtf8(sqlite3_errmsg(FVerbindung));
    const int erweitert = sqlite3_extended_errcode(FVerbindung);
    TZEP_Connection::Fehlgeschlagen(ort,
                                    QSqlError(wobei, meldung, QSqlError::ConnectionError, QString::number(erweitert ? erweitert : code)),
                                    {FSql});
}

sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0 || !handle.constData())
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}
