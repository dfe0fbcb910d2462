#pragma once

#include "framework/report/bildspeicher.h"

#include <QDialog>
#include <QImage>

#include <list>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QTimer;
class QToolButton;
class TReportLauf;
class TSeitenFlaeche;

struct TViewerOptionen {
    QString caption;
    QString exportDatei;   // the PDF the Kom action writes
    bool exportAktiv = true;
    bool komAktiv = false;
    QString komGrund;   // why Kom cannot write (its folder): shown disabled with the reason
};

// Shows a report run: pages one below the other, laid out and painted a page at a time while
// the window answers; page navigation, zoom, search, print, export and the Kom action.
class TReportViewer : public QDialog {
    Q_OBJECT
public:
    TReportViewer(TReportLauf& lauf, TViewerOptionen optionen, QWidget* eltern = nullptr);
    ~TReportViewer() override;

    int AktuelleSeite() const;
    int Seitenanzahl() const;   // 0 while counting
    void ZuSeite(int nr);
    // Looks for the text from the page after the last hit on; answers the page or 0.
    int Suchen(const QString& text);
    void ZoomSetzen(int index);   // index into the zoom list: fit width, fit page, then percent
    void ZoomStufe(int richtung);   // one percent step larger (1) or smaller (-1)

    QScrollArea* Flaeche() const { return FScroll; }
    QAction* ExportAktion() const { return FExport; }
    QAction* KomAktion() const { return FKom; }

    // The Kom action: the PDF under the export file name, then its folder opened.
    void Kom();

private:
    void resizeEvent(QResizeEvent* e) override;

    friend class TSeitenFlaeche;
    void Weiterzaehlen();
    void Aufbereiten();
    void Anordnen();
    void Drucken();
    void Exportieren();
    void StatusZeigen();
    const QImage* Bild(int nr);   // the painted page, or nullptr until it is ready
    double PxProMm() const;

    TReportLauf& FLauf;
    TViewerOptionen FOptionen;
    TSeitenFlaeche* FSeiten = nullptr;
    QScrollArea* FScroll = nullptr;
    QSpinBox* FSeite = nullptr;
    QLabel* FVon = nullptr;
    QLabel* FStatus = nullptr;
    QComboBox* FZoom = nullptr;
    QLineEdit* FSuche = nullptr;
    QAction* FExport = nullptr;
    QAction* FKom = nullptr;
    QTimer* FTakt = nullptr;
    std::list<std::pair<int, QImage>> FBilder;   // painted pages, most recent first
    TBildSpeicher FArtikelBilder;                 // the pictures on them
    std::list<int> FWarteschlange;
    double FBildZoom = 0;
    int FTrefferSeite = 0;
    QString FTrefferText;
    std::vector<QRectF> FTreffer;   // millimetres on FTrefferSeite
};

// The file name, or with "_2", "_3", ... before its extension the first that is not taken.
QString FreierName(const QString& pfad);
