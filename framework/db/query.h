#pragma once

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

#include <memory>
#include <vector>

// A query whose statement a subclass supplies (SQL_Query_Get) and whose result fields it
// declares (CreateDatenfelder). Every value reaches SQL as a bound parameter, in the order
// of the "?" placeholders.
class TZEP_DB_Query {
public:
    TZEP_DB_Query();
    virtual ~TZEP_DB_Query();
    TZEP_DB_Query(const TZEP_DB_Query&) = delete;
    TZEP_DB_Query& operator=(const TZEP_DB_Query&) = delete;

    // Prepares the statement on the calling thread's connection, runs it in one round trip
    // and moves to the first row.
    bool Get_first();
    bool Get_next();
    bool Found() const { return FFound; }
    // Drops the running statement; a thread calls it before it closes its connection.
    void Schliessen() { FQuery.reset(); }

    void ParameterFelderClear() { FParameter.clear(); }
    void ParameterFeldAdd_Integer(int32_t wert);
    void ParameterFeldAdd_DateTime(TDateTime wert);
    // A text parameter; the two flags are accepted for the callers that pass them, the
    // text must fit the length of the column it is compared with.
    void ParameterFeldAdd_String(const QString& wert, bool flag1, bool flag2, TConnectorTyp typ, int laenge);
    const QVariantList& ParameterWerte() const { return FParameter; }

    const std::vector<TDatenfeld*>& Datenfelder() const { return FDatenfelder; }

protected:
    virtual QString SQL_Query_Get(TConnectorTyp connectorTyp) = 0;
    virtual void CreateDatenfelder() = 0;
    void DatenfeldAdd(TDatenfeld& feld) { FDatenfelder.push_back(&feld); }

private:
    bool Lesen();

    QVariantList FParameter;
    std::vector<TDatenfeld*> FDatenfelder;
    bool FDatenfelderErstellt = false;
    std::unique_ptr<QSqlQuery> FQuery;
    int FSpalten = 0;
    bool FFound = false;
};

// Statement building blocks. An empty operand of the joins yields the other operand.
namespace TZEP_DB_Query_Helper {
// a, the joining word and b
QString Command_Add_With(const QString& a, const QString& verbinder, const QString& b);
inline QString Command_Add_With_And(const QString& a, const QString& b) { return Command_Add_With(a, QStringLiteral("and"), b); }
inline QString Command_Add_With_Or(const QString& a, const QString& b) { return Command_Add_With(a, QStringLiteral("or"), b); }
inline QString Command_Add_With_Union(const QString& a, const QString& b) { return Command_Add_With(a, QStringLiteral("UNION"), b); }
QString Command_Add_Klammern(const QString& a);
// "table.column IN (v1, v2, ...)" over the single column of an integer field; the values
// are integers and are written inline. An empty value list gives a condition that never
// holds, so the statement stays valid.
QString Get_InBedingung(const QString& tableName, const TDatenfeld& feld, const std::vector<int16_t>& werte);
}

// The SQL table of a record file, from its full file name ("WWS/IV.DAT" -> "iv").
QString SQL_TableName_4_FilePath(const QString& path);
