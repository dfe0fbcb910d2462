#include "framework/stock/mde/mdeordner.h"

#include "framework/core/fehler.h"
#include "framework/core/prozess.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString COrt = QStringLiteral("TMDEBucher");

// Renames a file unless the new name is taken; false when the file is gone or the name taken.
bool Verschieben(const QString& von, const QString& nach)
{
    const QByteArray a = QFile::encodeName(von), b = QFile::encodeName(nach);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // a file system without that flag: a hard link is refused on a name that is taken
    if (::link(a.constData(), b.constData()) != 0)
        return false;
    ::unlink(a.constData());
    return true;
}

// The name itself, else "name-2.ext", "name-3.ext" ...
QString Kandidat(const QString& name, int n)
{
    if (n == 1)
        return name;
    const QFileInfo fi(name);
    const QString endung = fi.suffix().isEmpty() ? QString() : QLatin1Char('.') + fi.suffix();
    return QStringLiteral("%1-%2%3").arg(fi.completeBaseName()).arg(n).arg(endung);
}

void Anlegen(const QString& ordner)
{
    if (!QDir().mkpath(ordner))
        FehlerRaise(COrt, {QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(ordner)});
}

}

TMDEOrdner::TMDEOrdner(QString pfad)
    : FPfad(QDir::cleanPath(std::move(pfad))),
      FArbeit(Unterordner(QStringLiteral("arbeit/%1-%2").arg(Rechner()).arg(EigenerProzess())))
{
}

QString TMDEOrdner::Unterordner(const QString& name) const
{
    return FPfad + QLatin1Char('/') + name;
}

QStringList TMDEOrdner::Wartende() const
{
    return QDir(FPfad).entryList({QStringLiteral("*.mde")}, QDir::Files, QDir::Name);
}

QString TMDEOrdner::Beanspruchen(const QString& name)
{
    Anlegen(FArbeit);
    const QString ziel = FArbeit + QLatin1Char('/') + name;
    return Verschieben(Unterordner(name), ziel) ? ziel : QString();
}

QStringList TMDEOrdner::Verwaiste()
{
    QStringList r;
    const QDir arbeit(Unterordner(QStringLiteral("arbeit")));
    const QString praefix = Rechner() + QLatin1Char('-');
    for (const QString& prozess : arbeit.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        bool zahl = false;
        const int pid = prozess.mid(praefix.size()).toInt(&zahl);
        if (!prozess.startsWith(praefix) || !zahl)
            continue;   // another machine's: only that machine knows whether it still runs
        const QString ordner = arbeit.filePath(prozess);
        const bool eigener = pid == EigenerProzess();
        if (!eigener && ProzessLaeuft(pid))
            continue;
        for (const QString& name : QDir(ordner).entryList({QStringLiteral("*.mde")}, QDir::Files, QDir::Name)) {
            const QString ziel = FArbeit + QLatin1Char('/') + name;
            Anlegen(FArbeit);
            if (eigener || Verschieben(ordner + QLatin1Char('/') + name, ziel))
                r << ziel;
        }
        if (!eigener)
            QDir(arbeit).rmdir(prozess);
    }
    return r;
}

QString TMDEOrdner::Archivieren(const QString& pfad)
{
    const QString ordner = Unterordner(QStringLiteral("archiv"));
    Anlegen(ordner);
    const QString name = QFileInfo(pfad).fileName();
    for (int n = 1; n < 10000; ++n) {
        const QString ziel = ordner + QLatin1Char('/') + Kandidat(name, n);
        if (Verschieben(pfad, ziel))
            return ziel;
        if (!QFileInfo::exists(pfad))
            break;
    }
    FehlerRaise(COrt, {QStringLiteral("%1 kann nicht nach %2 verschoben werden.").arg(pfad, ordner)});
}

QString TMDEOrdner::Ablehnen(const QString& pfad, const QString& bericht)
{
    const QString ordner = Unterordner(QStringLiteral("fehler"));
    Anlegen(ordner);
    const QString name = QFileInfo(pfad).fileName();
    for (int n = 1; n < 10000; ++n) {
        const QString ziel = ordner + QLatin1Char('/') + Kandidat(name, n);
        if (QFileInfo::exists(ziel) || QFileInfo::exists(ziel + QStringLiteral(".txt")))
            continue;
        // the report first: a rejected file is never found without it
        QSaveFile f(ziel + QStringLiteral(".txt"));
        if (!f.open(QIODevice::WriteOnly) || f.write(bericht.toUtf8()) < 0 || !f.commit())
            FehlerRaise(COrt, {QStringLiteral("Der Bericht %1.txt kann nicht geschrieben werden.").arg(ziel)});
        if (Verschieben(pfad, ziel))
            return ziel;
        QFile::remove(ziel + QStringLiteral(".txt"));
        if (!QFileInfo::exists(pfad))
            break;
    }
    FehlerRaise(COrt, {QStringLiteral("%1 kann nicht nach %2 verschoben werden.").arg(pfad, ordner)});
}

void TMDEOrdner::Zurueckgeben(const QString& pfad)
{
    Verschieben(pfad, Unterordner(QFileInfo(pfad).fileName()));
}
