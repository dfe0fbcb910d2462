#pragma once

#include "framework/gui/orvform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

// Selection of product group and branch for printing and the takeover.
class TfrmSelMask : public TORVForm {
    Q_OBJECT
public:
    explicit TfrmSelMask(QWidget* parent = nullptr);

    QLineEdit* edtWGN;
    QComboBox* cmbFilialen;
    QToolButton* spbWGNSuche;
    QPushButton* btnOK;
    QPushButton* btnAbbruch;
};

// Created at program start, lives until the end.
extern TfrmSelMask* frmSelMask;
