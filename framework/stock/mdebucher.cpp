#include "framework/stock/mdebucher.h"

#include <QDir>
#include <QStandardPaths>

TMDEBucher::TMDEBucher(QString ordner) : FOrdner(std::move(ordner))
{
    if (FOrdner.isEmpty())
        FOrdner = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kalmet/mde");
}

bool TMDEBucher::DateiSuche()
{
    FDateien = QDir(FOrdner).entryList({QStringLiteral("*.mde")}, QDir::Files, QDir::Name);
    return !FDateien.isEmpty();
}
