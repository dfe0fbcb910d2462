#include "framework/app/ordner.h"

#include "framework/app/programm.h"
#include "framework/core/fehler.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

QString Standardordner(const QString& ordner)
{
    if (ordner == QLatin1String("Reports")) {
        const QString installiert = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kalmet/reports");
        return QDir(installiert).exists() ? installiert : QStringLiteral(KALMET_SOURCE_DIR "/reports");
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kalmet/") + ordner;
}

}

QString C_ORVFolder_Value(int nr)
{
    return nr == 19 ? QStringLiteral("Reports") : QStringLiteral("Ordner%1").arg(nr);
}

QString GetDirWwsByName(const QString& ordner, const QString& datei, bool anlegen)
{
    QString pfad = ORVParameter().GetStringValueByName(QStringLiteral("ORDNER_") + ordner.toUpper());
    if (pfad.isEmpty())
        pfad = Standardordner(ordner);
    const QDir d(pfad);
    if (anlegen && !d.exists() && !d.mkpath(QStringLiteral(".")))
        FehlerRaise(QStringLiteral("GetDirWwsByName"), {QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(pfad)});
    return QDir::cleanPath(d.absoluteFilePath(datei));
}

QString GetDirWwsByName(int ordner, const QString& datei, bool anlegen)
{
    return GetDirWwsByName(C_ORVFolder_Value(ordner), datei, anlegen);
}
