#pragma once

#include "inventurliste/zeileanzeige.h"
#include "tests/support/demokette.h"
#include "tests/support/skriptinteraktion.h"

#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

// An inventory of the test chain, read from the raw tables.
struct TKettenInventur {
    TZeileAnzeige Zeile;
    QString Status;
    double SollEK = 0, IstEK = 0;
    bool Lagerfiliale = false;
};

// What a booking must leave, computed from the raw tables alone.
namespace Kette {
QVariant Wert(const QString& sql);
void Sql(const QString& sql);
// Open inventories (status 2 or 3) of the fiscal year 2026, branch-wide ones last.
std::vector<TKettenInventur> OffeneInventuren();
// Articles of the inventory, by product id text: those with target records and those counted.
QStringList Artikel(const TZeileAnzeige& z);
// Articles of the inventory nobody counted, by product id text, with their target in pieces:
// a target of counted stock types not posted and not nothing in every size, and no total count
// record with a count (fiscal year 2026).
std::map<QString, qint64> Ungezaehlt(const TZeileAnzeige& z);
// Each article's counted stock at the end of the count day: current stock less the
// movements after it, over the counted stock types.
std::map<QString, std::array<qint64, 100>> BestandAmZaehltag(const TZeileAnzeige& z);
// Articles whose counted stock at the end of the count day differs from their count.
QStringList AbweichendVomZaehlbestand(const TZeileAnzeige& z);
// Stock per (article, branch, stock type, slot) summed: the whole stock table as one map.
std::map<QString, qint64> Bestand();
// The same, built from a stock snapshot and the movements with an id above bisId.
std::map<QString, qint64> BestandPlusBewegungen(const std::map<QString, qint64>& vorher, qint64 bisId);
QString Status(const TZeileAnzeige& z);
// The rows of the tables without their ids, sorted: what two runs left, compared.
QStringList Abbild(const QStringList& tabellen);
}
