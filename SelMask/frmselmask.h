#pragma once

#include "framework/gui/orvform.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TWGNSuchDialog;

// Selection of product group and branch for printing and the takeover. It keeps its last
// input; the caller reads the two controls after it closed with 1 (OK; 2 is cancel).
class TfrmSelMask : public TORVForm {
    Q_OBJECT
public:
    explicit TfrmSelMask(QWidget* parent = nullptr);

    // the product group typed in and the branch chosen (0: all branches)
    QString SelWGN() const;
    int SelFil() const;

    QLineEdit* edtWGN;
    QComboBox* cmbFilialen;
    QToolButton* spbWGNSuche;
    QPushButton* btnOK;
    QPushButton* btnAbbruch;
    QAction* actDruck;
    TWGNSuchDialog* WGNSuchDlg;

private:
    void FormCreate();
    void spbWGNSucheClick();
};

// Created at program start, lives until the end.
extern TfrmSelMask* frmSelMask;
