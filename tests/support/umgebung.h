#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

// Sets an environment variable for the lifetime of the object; TZ takes effect at once.
class TUmgebung {
public:
    TUmgebung(const char* name, const char* wert) : FName(name), FAlt(qgetenv(name)), FHatteAlt(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, wert);
        tzset();
    }
    ~TUmgebung()
    {
        if (FHatteAlt)
            qputenv(FName, FAlt);
        else
            qunsetenv(FName);
        tzset();
    }
    TUmgebung(const TUmgebung&) = delete;
    TUmgebung& operator=(const TUmgebung&) = delete;

private:
    const char* FName;
    QByteArray FAlt;
    bool FHatteAlt;
};
