#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class TReportLauf;

enum class TExportFormat { Pdf, Csv, Xlsx };

// Called after each page or row with done and total; answering false cancels.
using TExportFortschritt = std::function<bool(qint64 erledigt, qint64 gesamt)>;

// Writes the report as PDF, or its main table as CSV (semicolons, UTF-8 with byte-order
// mark, decimal comma) or XLSX (numbers as numeric cells). The file appears only when it is
// complete: it is written under a temporary name and renamed. Throws EORVFehler when the file
// cannot be written or the export was cancelled.
void ReportExportieren(TReportLauf& lauf, const QString& pfad, TExportFormat format, const TExportFortschritt& fortschritt = {});

// Paints pages von..bis (1-based) onto a printer, one page at a time.
void SeitenDrucken(TReportLauf& lauf, QPagedPaintDevice& geraet, int von, int bis, const TExportFortschritt& fortschritt = {});

// Raises when the target cannot be replaced by an export: it is replaced as a whole, by a new
// file renamed over it, so what stands there must be a regular file, never a device, a pipe or
// a link, nor a database or one of its log files.
void ExportZielPruefen(const QString& pfad);

// The format of a file name's extension (".pdf", ".csv", ".xlsx"); throws for any other.
TExportFormat ExportFormatAusDatei(const QString& pfad);
