#include "framework/dbf/printfile.h"

QString DbfProduktIdText(const TInt32Trio& id)
{
    return id.IsNull() ? QString() : id.ToText();
}

TInt32Trio DbfProduktIdAusText(const QString& text)
{
    const QStringList teile = text.split(QLatin1Char('.'));
    if (teile.size() != 3)
        return {};
    return {teile[0].toInt(), teile[1].toInt(), teile[2].toInt()};
}
