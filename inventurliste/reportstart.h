#pragma once

#include "framework/core/datetime.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

class TInventurliste;

// Everything the report component is given to show the print tables of a build with the
// first selected layout.
struct TReportStart {
    QString ReportPfad;   // the layout's template in the report folder
    std::vector<std::pair<QString, QString>> Parameter;   // name, value, in the order they are set
    // margins in twips; top and left stay the component's own unless the layout sets them
    int RechterRand = 10;
    int UntererRand = 500;
    std::optional<int> ObererRand;
    std::optional<int> LinkerRand;
    QString BildName = QStringLiteral("Bild1");
    QString BildSpalte = QStringLiteral("INVLFile.Produkt_ID");
    QString Caption = QStringLiteral("Inventurauswertung");
    QString Titel;   // "Inventuren - " and the layout's title
    QString ExportDatei;   // "Inventurauswertung" + yyyymmdd + ".pdf" in the folder "Listen"
    QString KomGrund;      // why the list cannot be filed there (the folder cannot be made)
};

// The report start for branch AFilNr (0: all). With back-calculation (RR) the evaluation date
// goes into "Param_RRDatum". Throws EORVFehler for a margin that is no number or without a
// selected layout.
TReportStart ReportStartBilden(TInventurliste& AListe, int32_t AFilNr, bool RR, TDateTime AAuswertungsDatum);

// A margin in millimetres ("10", "2,5") as twips: times 56.7, truncated toward zero. Throws
// EORVFehler naming the option when the value is no number.
int RandInTwips(const QString& wert, const QString& option = QString());
