#include "kalmet/importbefehl.h"

#include "framework/stock/mdebucher.h"
#include "kalmet/befehl.h"

#include <QDir>
#include <QFileInfo>

namespace {

int Ausfuehren(const QCommandLineParser& p)
{
    const QString ordner = p.value(QStringLiteral("folder"));
    if (p.isSet(QStringLiteral("folder")) && !QFileInfo(ordner).isDir())
        Falsch(QStringLiteral("--folder"), QStringLiteral("den Ordner %1 gibt es nicht").arg(ordner));
    if (!Anmelden(p))
        return 3;
    TMDEBucher bucher(ordner.isEmpty() ? QString() : QDir(ordner).absolutePath());
    bucher.OnDatei = [](int nr, int anzahl, const QString& name) { Melden(QStringLiteral("%1 von %2: %3").arg(nr).arg(anzahl).arg(name)); };
    if (!bucher.DateiSuche()) {
        Melden(QStringLiteral("im Ordner %1 liegen keine Zähldateien").arg(bucher.Ordner()));
        return 0;
    }
    const TMDEErgebnis& e = bucher.Ergebnis();
    for (const QString& zeile : e.Text().split(QLatin1Char('\n')))
        Melden(zeile);
    return e.Abgelehnt.empty() ? 0 : 1;
}

}

int ImportBefehl(const QStringList& args)
{
    return BefehlAusfuehren(
        QStringLiteral("kalmet import"), QStringLiteral("Zähldateien von Handscannern einlesen"), args,
        [](QCommandLineParser& p) { WertOption(p, "folder", "Ordner der Zähldateien (Standard: Parameter ORDNER_MDE)", "ordner"); },
        Ausfuehren, false);
}
