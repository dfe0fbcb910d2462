#include "framework/gui/wgnsuche.h"

#include "framework/db/files/wgnzugriff.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWGNSuchDialog::TWGNSuchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WGNSuchDlg"));
    setWindowTitle(QStringLiteral("Warengruppe suchen"));
    edtSuche = new QLineEdit(this);
    edtSuche->setObjectName(QStringLiteral("edtSuche"));
    edtSuche->setPlaceholderText(QStringLiteral("Anfang der Warengruppe oder Teil der Bezeichnung"));
    lstWGN = new QTreeWidget(this);
    lstWGN->setObjectName(QStringLiteral("lstWGN"));
    lstWGN->setHeaderLabels({QStringLiteral("WGN"), QStringLiteral("Bezeichnung")});
    lstWGN->setRootIsDecorated(false);
    lstWGN->header()->setStretchLastSection(true);
    lstWGN->setMinimumSize(360, 300);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbruch->setObjectName(QStringLiteral("btnAbbruch"));
    auto* suche = new QHBoxLayout;
    suche->addWidget(new QLabel(QStringLiteral("Suche:"), this));
    suche->addWidget(edtSuche);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(btnOK);
    unten->addWidget(btnAbbruch);
    auto* l = new QVBoxLayout(this);
    l->addLayout(suche);
    l->addWidget(lstWGN);
    l->addLayout(unten);
    connect(edtSuche, &QLineEdit::textChanged, this, &TWGNSuchDialog::Filtern);
    connect(btnOK, &QPushButton::clicked, this, &TWGNSuchDialog::Waehlen);
    connect(btnAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstWGN, &QTreeWidget::itemDoubleClicked, this, &TWGNSuchDialog::Waehlen);
}

bool TWGNSuchDialog::Execute(QWidget* owner)
{
    if (owner)
        setParent(owner, windowFlags());
    lstWGN->clear();
    for (const TWGNEintrag& w : WGN_Alle(QStringLiteral("TWGNSuchDialog.Execute")))
        new QTreeWidgetItem(lstWGN, {w.WGN, w.Bezeichnung});
    Filtern(edtSuche->text());
    edtSuche->setFocus();
    return exec() == QDialog::Accepted;
}

// Shows the groups whose code starts with the text or whose name contains it.
void TWGNSuchDialog::Filtern(const QString& text)
{
    const QString t = text.trimmed();
    QTreeWidgetItem* erster = nullptr;
    for (int i = 0; i < lstWGN->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = lstWGN->topLevelItem(i);
        const bool passt = it->text(0).startsWith(t, Qt::CaseInsensitive) || it->text(1).contains(t, Qt::CaseInsensitive);
        it->setHidden(!passt);
        if (passt && !erster)
            erster = it;
    }
    lstWGN->setCurrentItem(erster);
    btnOK->setEnabled(erster != nullptr);
}

void TWGNSuchDialog::Waehlen()
{
    const QTreeWidgetItem* it = lstWGN->currentItem();
    if (!it || it->isHidden())
        return;
    FWGN = it->text(0);
    accept();
}
