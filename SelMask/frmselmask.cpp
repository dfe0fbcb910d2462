#include "SelMask/frmselmask.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TfrmSelMask* frmSelMask = nullptr;

TfrmSelMask::TfrmSelMask(QWidget* parent) : TORVForm(parent)
{
    setObjectName(QStringLiteral("frmSelMask"));
    setWindowTitle(QStringLiteral("Selektion der Daten"));
    auto* l = new QGridLayout(this);
    edtWGN = new QLineEdit(this);
    edtWGN->setObjectName(QStringLiteral("edtWGN"));
    edtWGN->setMaxLength(6);
    spbWGNSuche = new QToolButton(this);
    spbWGNSuche->setObjectName(QStringLiteral("spbWGNSuche"));
    spbWGNSuche->setText(QStringLiteral("..."));
    spbWGNSuche->setFocusPolicy(Qt::NoFocus);
    cmbFilialen = new QComboBox(this);
    cmbFilialen->setObjectName(QStringLiteral("cmbFilialen"));
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnAbbruch = new QPushButton(QStringLiteral("Abbruch"), this);
    btnAbbruch->setObjectName(QStringLiteral("btnAbbruch"));
    l->addWidget(new QLabel(QStringLiteral("Warengruppe"), this), 0, 0);
    l->addWidget(edtWGN, 0, 1);
    l->addWidget(spbWGNSuche, 0, 2);
    l->addWidget(new QLabel(QStringLiteral("Filiale"), this), 1, 0);
    l->addWidget(cmbFilialen, 1, 1, 1, 2);
    l->addWidget(btnOK, 2, 1);
    l->addWidget(btnAbbruch, 2, 2);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    ORVFormInit(QStringLiteral("KALMET") + objectName(), true);
}
