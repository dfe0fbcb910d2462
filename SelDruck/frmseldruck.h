#pragma once

#include "framework/core/datetime.h"
#include "framework/gui/orvform.h"

class QPushButton;
class QRadioButton;
class QLineEdit;

// Print options: count date, end of the fiscal year or another evaluation date.
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

private:
    TDateTime FEndeWirtsjahr = 0;
    TDateTime FZaehldatum = 0;
    TDateTime FAuswertungsdatum = 0;
    bool FRueckrechnung = false;
};

// Created at program start, lives until the end.
extern TfrmSelDruck* frmSelDruck;
