#include "framework/core/geheimnis.h"

#include <QMutex>
#include <QStringList>

namespace {
QMutex GMutex;
QStringList GGeheimnisse;
}

void GeheimnisMerken(const QString& geheimnis)
{
    QMutexLocker lock(&GMutex);
    if (!geheimnis.isEmpty() && !GGeheimnisse.contains(geheimnis))
        GGeheimnisse << geheimnis;
}

void GeheimnisseVergessen()
{
    QMutexLocker lock(&GMutex);
    GGeheimnisse.clear();
}

QString OhneGeheimnisse(QString text)
{
    QMutexLocker lock(&GMutex);
    for (const QString& g : GGeheimnisse)
        text.replace(g, QStringLiteral("***"));
    return text;
}
