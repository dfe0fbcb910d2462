#include "inventurliste/reportstart.h"
#include "inventurliste/inventurliste.h"

#include "framework/app/ordner.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"

#include <QDate>

#include <cmath>

int RandInTwips(const QString& wert, const QString& option)
{
    bool zahl;
    const double mm = QString(wert.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&zahl);
    if (!zahl)
        FehlerRaise(QStringLiteral("TfrmKalmetMain.StarteCrystal"),
                    {QStringLiteral("Layoutoption %1: \"%2\" ist keine Zahl (Millimeter)").arg(option, wert)});
    return static_cast<int>(std::trunc(mm * 56.7));
}

TReportStart ReportStartBilden(TInventurliste& AListe, int32_t AFilNr, bool RR, TDateTime AAuswertungsDatum)
{
    if (AListe.SelectedLayouts().empty())
        FehlerRaise(QStringLiteral("TfrmKalmetMain.StarteCrystal"), {QStringLiteral("Kein Layout ausgewählt")});
    const TZEP_SelectedLayout& layout = *AListe.SelectedLayouts().front();
    TReportStart r;
    r.ReportPfad = GetDirWwsByName(19, layout.ReportDatei, true);
    r.Parameter = {{QStringLiteral("Param_TextMandant"), ORVProgramm().GetTextMandant()},
                   {QStringLiteral("Param_RRDatum"), RR ? TDateTime_FormatDatum(AAuswertungsDatum) : QString()},
                   {QStringLiteral("Param_FilNr"), QString::number(AFilNr)}};
    for (const QString& zeile : layout.Liste2) {
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (gleich > 0)
            r.Parameter.emplace_back(QStringLiteral("Param_") + zeile.left(gleich), zeile.mid(gleich + 1));
    }
    // a margin option takes the value of the first line of its name; of "XPosition" and
    // "LinkerRand" the later line sets the left margin
    for (const QString& zeile : layout.Liste1) {
        const QString name = zeile.section(QLatin1Char('='), 0, 0);
        std::optional<int>* rand = name == QLatin1String("ObererRand") ? &r.ObererRand
            : name == QLatin1String("XPosition") || name == QLatin1String("LinkerRand") ? &r.LinkerRand
                                                                                        : nullptr;
        if (name == QLatin1String("UntererRand") || rand) {
            QString wert;
            AListe.ReadParam(name, true, wert);
            if (rand)
                *rand = RandInTwips(wert, name);
            else
                r.UntererRand = RandInTwips(wert, name);
        }
    }
    r.Titel = QStringLiteral("Inventuren - ") + layout.Titel;
    const QDate heute = TDateTime_ToQDate(orv_Date());
    // only filing the list needs its folder: without it the list is still shown
    try {
        r.ExportDatei = GetDirWwsByName(QStringLiteral("Listen"),
                                        QStringLiteral("Inventurauswertung%1.pdf").arg(heute.toString(QStringLiteral("yyyyMMdd"))), true);
    } catch (const EORVFehler& e) {
        r.KomGrund = QString::fromUtf8(e.what());
    }
    return r;
}
