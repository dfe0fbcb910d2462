#include "tests/support/sqlwarnungen.h"

#include "framework/db/sqlwarnung.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include <execinfo.h>

namespace {

std::atomic<int> GErwartet{0};
QtMessageHandler GVorher = nullptr;

std::string Stapel()
{
    void* adressen[40];
    const int n = backtrace(adressen, 40);
    char** namen = backtrace_symbols(adressen, n);
    std::string r;
    for (int i = 2; i < n && namen; ++i)   // without this handler and Qt's dispatch to it
        r += std::string("\n  ") + namen[i];
    free(namen);
    return r;
}

void Behandeln(QtMsgType typ, const QMessageLogContext& kontext, const QString& meldung)
{
    GVorher(typ, kontext, meldung);
    if (typ == QtWarningMsg && SqlDatenverlust(meldung) && GErwartet == 0)
        ADD_FAILURE() << "Qt SQL warning: " << qPrintable(meldung) << Stapel();
}

}

void SqlWarnungenAlsTestfehler()
{
    SqlWarnungenZaehlen();
    GVorher = qInstallMessageHandler(Behandeln);
}

TSqlWarnungErwartet::TSqlWarnungErwartet()
{
    ++GErwartet;
}

TSqlWarnungErwartet::~TSqlWarnungErwartet()
{
    --GErwartet;
}
