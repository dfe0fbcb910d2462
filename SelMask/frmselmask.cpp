#include "SelMask/frmselmask.h"

#include "framework/app/info.h"
#include "framework/article/filialtabelle.h"
#include "framework/gui/wgnsuche.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TfrmSelMask* frmSelMask = nullptr;

namespace {

// A sunken panel with a caption, as the dialogs' titles are drawn.
QFrame* Titelpanel(const QString& text, QWidget* parent)
{
    auto* p = new QFrame(parent);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    auto* l = new QVBoxLayout(p);
    auto* t = new QLabel(text, p);
    QFont f = t->font();
    f.setBold(true);
    t->setFont(f);
    l->addWidget(t);
    return p;
}

}

TfrmSelMask::TfrmSelMask(QWidget* parent) : TORVForm(parent)
{
    setObjectName(QStringLiteral("frmSelMask"));
    setWindowTitle(QStringLiteral("Selektion der Daten"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    edtWGN = new QLineEdit(this);
    edtWGN->setObjectName(QStringLiteral("edtWGN"));
    edtWGN->setMaxLength(6);
    edtWGN->setToolTip(QStringLiteral("Hier können Sie die Auswahl der Warengruppe weiter einschränken"));
    spbWGNSuche = new QToolButton(this);
    spbWGNSuche->setObjectName(QStringLiteral("spbWGNSuche"));
    spbWGNSuche->setText(QStringLiteral("..."));
    spbWGNSuche->setFocusPolicy(Qt::NoFocus);
    cmbFilialen = new QComboBox(this);
    cmbFilialen->setObjectName(QStringLiteral("cmbFilialen"));
    cmbFilialen->setMinimumWidth(220);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setToolTip(QStringLiteral("Weiter zur Auswahl der Druckliste"));
    btnOK->setDefault(true);
    btnAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbruch->setObjectName(QStringLiteral("btnAbbruch"));
    btnAbbruch->setToolTip(QStringLiteral("Zurück zur Übersicht"));
    btnAbbruch->setAutoDefault(false);
    actDruck = new QAction(QStringLiteral("Drucken"), this);
    actDruck->setObjectName(QStringLiteral("actDruck"));
    actDruck->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(actDruck);
    WGNSuchDlg = new TWGNSuchDialog(this);

    // two nested title panels above the two edit rows; the inner one covers the outer's
    // caption, so the title shows once
    auto* aussen = new QFrame(this);
    aussen->setFrameShape(QFrame::Panel);
    aussen->setFrameShadow(QFrame::Sunken);
    aussen->setAccessibleName(QStringLiteral("Datenselektion "));
    auto* aussenLayout = new QVBoxLayout(aussen);
    aussenLayout->setContentsMargins(2, 2, 2, 2);
    aussenLayout->addWidget(Titelpanel(QStringLiteral("Datenselektion "), aussen));
    auto* felder = new QGridLayout;
    felder->addWidget(new QLabel(QStringLiteral("WGN:"), this), 0, 0);
    felder->addWidget(edtWGN, 0, 1);
    felder->addWidget(spbWGNSuche, 0, 2);
    felder->addWidget(new QLabel(QStringLiteral("Filiale:"), this), 1, 0);
    felder->addWidget(cmbFilialen, 1, 1, 1, 2);
    auto* unten = new QHBoxLayout;
    unten->addWidget(btnAbbruch);
    unten->addStretch();
    unten->addWidget(btnOK);
    auto* l = new QVBoxLayout(this);
    l->addWidget(aussen);
    l->addLayout(felder);
    l->addLayout(unten);
    l->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, [this] { done(1); });
    connect(actDruck, &QAction::triggered, this, [this] { done(1); });
    connect(btnAbbruch, &QPushButton::clicked, this, [this] { done(2); });
    connect(spbWGNSuche, &QToolButton::clicked, this, &TfrmSelMask::spbWGNSucheClick);
    FormCreate();
}

void TfrmSelMask::FormCreate()
{
    ORVGuard(QStringLiteral("TfrmSelMask.FormCreate"), [this] {
        ORVFormInit(QStringLiteral("KALMET") + objectName(), true);
        const std::shared_ptr<const TFilialTabelle> tabelle = GlobFilialTabelle_GetInstance();
        cmbFilialen->clear();
        cmbFilialen->addItems(FilialEintraege(*tabelle));
        // the empty first entry stands for all branches
        cmbFilialen->insertItem(0, QString());
        cmbFilialen->setCurrentIndex(0);
    });
}

void TfrmSelMask::spbWGNSucheClick()
{
    ORVGuard(QStringLiteral("TfrmSelMask.spbWGNSucheClick"), [this] {
        if (WGNSuchDlg->Execute(this))
            edtWGN->setText(WGNSuchDlg->GetWGN());
    });
}

QString TfrmSelMask::SelWGN() const
{
    return edtWGN->text().trimmed();
}

int TfrmSelMask::SelFil() const
{
    return FilialNrAusEintrag(cmbFilialen->currentText());
}
