#pragma once

#include "framework/report/crystalrdcn.h"
#include "inventurliste/inventurliste.h"

#include <QProcess>
#include <QString>

// The text of a PDF as pdftotext reads it, laid out as on the page.
inline QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The list of one inventory with the stored layout of the given report file, built as the
// print action builds it (in a folder of the list), and the report component set as F10 sets
// it for branch 0.
void ListeBauen(TInventurliste& liste, const TZeileAnzeige& inventur, const QString& report, const QString& ordner);
void ReportSetzen(TInventurliste& liste, TCrystalRDCn& crystal);
