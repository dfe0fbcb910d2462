#include "framework/app/interaktion.h"

#include <cstdio>

namespace {

class TKonsolenInteraktion : public IORVInteraktion {
public:
    int Meldung(int art, const QString& titel, const QString& text, QObject*) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titel), qPrintable(text));
        return art == maFrageJaNein ? maNein : maOK;
    }
    bool Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>&, int&, QObject*) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titel), qPrintable(text));
        return false;
    }
    void Versionsinfo(const QString& titel, const QString& text, QObject*) override
    {
        std::fprintf(stderr, "%s %s\n", qPrintable(titel), qPrintable(text));
    }
};

TKonsolenInteraktion GKonsole;
IORVInteraktion* GInteraktion = nullptr;

}

IORVInteraktion& ORVInteraktion()
{
    return GInteraktion ? *GInteraktion : GKonsole;
}

void ORVInteraktionSetzen(IORVInteraktion* interaktion)
{
    GInteraktion = interaktion;
}
