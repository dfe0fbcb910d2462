#include "SelDruck/frmseldruck.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TfrmSelDruck* frmSelDruck = nullptr;

TfrmSelDruck::TfrmSelDruck(QWidget* parent) : TORVForm(parent)
{
    setObjectName(QStringLiteral("frmSelDruck"));
    setWindowTitle(QStringLiteral("Einstellung für die Listenerzeugung"));
    auto* l = new QGridLayout(this);
    rbtZaehldatum = new QRadioButton(QStringLiteral("Zähldatum"), this);
    rbtZaehldatum->setObjectName(QStringLiteral("rbtZaehldatum"));
    rbtEndeWirtsjahr = new QRadioButton(QStringLiteral("Ende Wirtschaftsjahr"), this);
    rbtEndeWirtsjahr->setObjectName(QStringLiteral("rbtEndeWirtsjahr"));
    rbtBelDatum = new QRadioButton(QStringLiteral("Beliebiges Datum"), this);
    rbtBelDatum->setObjectName(QStringLiteral("rbtBelDatum"));
    edtWirtsjahr = new QLineEdit(this);
    edtWirtsjahr->setObjectName(QStringLiteral("edtWirtsjahr"));
    edtWirtsjahr->setReadOnly(true);
    edtWirtsjahr->setMaxLength(10);
    edtAuswertungsdatum = new QLineEdit(this);
    edtAuswertungsdatum->setObjectName(QStringLiteral("edtAuswertungsdatum"));
    edtAuswertungsdatum->setMaxLength(10);
    btnDruck = new QPushButton(QStringLiteral("Drucken"), this);
    btnDruck->setObjectName(QStringLiteral("btnDruck"));
    rbtZaehldatum->setChecked(true);
    l->addWidget(rbtZaehldatum, 0, 0);
    l->addWidget(rbtEndeWirtsjahr, 1, 0);
    l->addWidget(edtWirtsjahr, 1, 1);
    l->addWidget(rbtBelDatum, 2, 0);
    l->addWidget(edtAuswertungsdatum, 2, 1);
    l->addWidget(btnDruck, 3, 1);
    ORVFormInit(QStringLiteral("KALMET") + objectName(), true);
}
