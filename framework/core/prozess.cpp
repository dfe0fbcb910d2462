#include "framework/core/prozess.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

QString Rechner()
{
    return QSysInfo::machineHostName().left(60);
}

int EigenerProzess()
{
    return static_cast<int>(QCoreApplication::applicationPid());
}

bool ProzessLaeuft(int pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
}

qint64 ProzessBeginn(int pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    // "pid (name) state ppid ...": the name may hold spaces and parentheses, the fields after
    // its last ")" do not; the start time is the 22nd field, the 20th after the name
    const QByteArray zeile = stat.readAll();
    const QList<QByteArray> felder = zeile.mid(zeile.lastIndexOf(')') + 1).simplified().split(' ');
    bool zahl = false;
    const qint64 beginn = felder.size() > 19 ? felder[19].toLongLong(&zahl) : -1;
    return zahl ? beginn : -1;
}
