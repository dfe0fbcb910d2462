#pragma once

#include "framework/core/datetime.h"
#include "framework/gui/orvform.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

// Print options: the list at the count date, or calculated back to the end of the fiscal
// year or to another date before the count date. The caller sets EndeWirtsjahr and
// Zaehldatum, shows it and, on result 1, reads Rueckrechnung and Auswertungsdatum.
class TfrmSelDruck : public TORVForm {
    Q_OBJECT
public:
    explicit TfrmSelDruck(QWidget* parent = nullptr);

    TDateTime EndeWirtsjahr() const { return FEndeWirtsjahr; }
    void SetEndeWirtsjahr(TDateTime v) { FEndeWirtsjahr = v; }
    TDateTime Zaehldatum() const { return FZaehldatum; }
    void SetZaehldatum(TDateTime v) { FZaehldatum = v; }
    bool Rueckrechnung() const { return FRueckrechnung; }
    TDateTime Auswertungsdatum() const { return FAuswertungsdatum; }

    QRadioButton* rbtZaehldatum;
    QRadioButton* rbtEndeWirtsjahr;
    QRadioButton* rbtBelDatum;
    QLineEdit* edtWirtsjahr;
    QLineEdit* edtAuswertungsdatum;
    QPushButton* btnDruck;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormShow() override;
    void RadioClick();
    void edtAuswertungsdatumExit();
    void btnDruckClick();

    TDateTime FEndeWirtsjahr = 0;
    TDateTime FZaehldatum = 0;
    TDateTime FAuswertungsdatum = 0;
    bool FRueckrechnung = false;
    QString FGeprueft;   // the field's text the last check judged, and whether it passed
    bool FGueltig = true;
};

// Created at program start, lives until the end.
extern TfrmSelDruck* frmSelDruck;
