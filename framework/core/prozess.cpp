#include "framework/core/prozess.h"

#include <QCoreApplication>
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
