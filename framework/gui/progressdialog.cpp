#include "framework/gui/progressdialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TORVProgressDialog::TORVProgressDialog(QWidget* owner) : QDialog(owner), FOwner(owner)
{
    setModal(false);
    auto* l = new QVBoxLayout(this);
    FAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    l->addStretch();
    l->addWidget(FAbbruch, 0, Qt::AlignHCenter);
    connect(FAbbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void TORVProgressDialog::SetAbbruchSichtbar(bool sichtbar)
{
    FAbbruch->setVisible(sichtbar);
}

void TORVProgressDialog::reject()
{
    if (!FAbbruch->isHidden())
        QDialog::reject();
}

void TORVProgressDialog::AnimationAdd(const QString& name)
{
    auto* bar = new QProgressBar(this);
    bar->setObjectName(name);
    bar->setRange(0, 0);   // a busy indicator that moves by itself
    bar->setTextVisible(false);
    static_cast<QVBoxLayout*>(layout())->insertWidget(layout()->count() - 2, bar);
    FAnimationen[name] = bar;
}

void TORVProgressDialog::ZaehlerAdd(const QString& name, const QString& caption, const QString& platzhalter)
{
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(caption, this));
    auto* wert = new QLabel(platzhalter, this);
    wert->setObjectName(name);
    wert->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette p = wert->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    wert->setPalette(p);
    zeile->addWidget(wert, 1);
    static_cast<QVBoxLayout*>(layout())->insertLayout(layout()->count() - 2, zeile);
    FZaehler[name] = wert;
}

void TORVProgressDialog::ZaehlerSetzen(const QString& name, const QString& text)
{
    const auto it = FZaehler.find(name);
    if (it != FZaehler.end())
        it->second->setText(text);
}

QString TORVProgressDialog::ZaehlerText(const QString& name) const
{
    const auto it = FZaehler.find(name);
    return it == FZaehler.end() ? QString() : it->second->text();
}

void TORVProgressDialog::Zeigen()
{
    if (FOwner)
        FOwner->setEnabled(false);
    setEnabled(true);
    show();
    QCoreApplication::processEvents();
}

void TORVProgressDialog::Verbergen()
{
    hide();
    if (FOwner)
        FOwner->setEnabled(true);
}
