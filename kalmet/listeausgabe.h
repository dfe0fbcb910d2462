#pragma once

#include "framework/report/export.h"
#include "inventurliste/druckconfig.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>
#include <vector>

class TInventurliste;

// One file or folder a batch command was asked for: a report export, or the print tables
// when there is no format.
struct TAusgabe {
    QString Pfad;
    std::optional<TExportFormat> Format;
};

// The outputs of --pdf, --csv, --xlsx and --tables, each checked before anything is computed:
// its folder exists or can be made, and it can be written there. With pflicht, no output is
// a wrong --pdf.
std::vector<TAusgabe> Ausgaben(const QCommandLineParser& p, bool pflicht);

// Builds the list of the request and writes the outputs: the report as F10 starts it for the
// branch, written to files instead of shown, and the tables. Every file appears under its
// name only when complete. The exit code: 0, or 1 when the build failed.
int ListeAusgeben(TInventurliste& liste, const TDruckConfig& c, TDateTime auswertung, int32_t filiale,
                  const std::vector<TAusgabe>& ausgaben);
