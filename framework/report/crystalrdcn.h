#pragma once

#include "framework/report/export.h"
#include "framework/report/lauf.h"

#include <QString>

#include <memory>

class QWidget;
class TDBFFiles_4_Crystal;

// The report component of the framework: takes a template, the print tables, parameters,
// margins, the picture link, captions and the export file, then shows the report in its
// viewer or writes it to a file without a window. The report index of the calls is kept for
// the callers' sake; there is one report per component.
class TCrystalRDCn {
public:
    explicit TCrystalRDCn(QWidget* eltern = nullptr);
    ~TCrystalRDCn();

    void Clear();
    // Reads the template; its tables are read when the report is shown or exported. The flag
    // asks for the tables of the set to be the report's data; the component has no other.
    void SetReport(const QString& pfad, bool tabellenDesSatzes, TDBFFiles_4_Crystal& tabellen);
    void SetParameter(int index, const QString& name, const QString& wert);
    void SetTopMargin(int index, int twips);
    void SetBottomMargin(int index, int twips);
    void SetLeftMargin(int index, int twips);
    void SetRightMargin(int index, int twips);
    // Links a picture of the template to a column ("INVLFile.Produkt_ID"): the picture of a
    // row is the article picture of the product id in that column.
    void AddPictureConnectionByName(int index, const QString& bild, const QString& spalte);
    void SetViewerCaption(const QString& caption);
    void SetTitle(int index, const QString& titel);
    void SetExportDiskfileName(const QString& pfad);
    void SetEnableExportAction(bool an);
    void SetEnableKomAction(bool an);
    // Why Kom cannot write its file (its folder cannot be made): Kom shows disabled with it.
    void SetKomGrund(const QString& grund) { FKomGrund = grund; }
    void SetViewerWindowState(Qt::WindowStates zustand);

    // Shows the report in the viewer until the user closes it. Throws EORVFehler when the
    // template does not fit the tables. Defined with the viewer (kalmet_reportviewer).
    void ShowReport();
    // Writes the report as PDF or its main table as CSV or XLSX, without a window.
    void Export(const QString& pfad, TExportFormat format, const TExportFortschritt& fortschritt = {});

    // A run of the report as set, for the viewer, the export and tests.
    std::unique_ptr<TReportLauf> LaufBilden() const;

    const TReportEinstellungen& Einstellungen() const { return FEinstellungen; }
    const QString& ViewerCaption() const { return FCaption; }
    const QString& ExportDatei() const { return FExportDatei; }
    bool ExportAktiv() const { return FExportAktiv; }
    bool KomAktiv() const { return FKomAktiv; }

private:
    QWidget* FEltern;
    std::optional<TVorlage> FVorlage;
    QString FVorlagenPfad;
    std::map<QString, QString> FTabellen;
    TReportEinstellungen FEinstellungen;
    QString FCaption;
    QString FExportDatei;
    bool FExportAktiv = true;
    bool FKomAktiv = false;
    QString FKomGrund;
    Qt::WindowStates FFensterZustand = Qt::WindowNoState;
};
