#include "framework/gui/orvform.h"

#include <QEvent>
#include <QSettings>

TORVForm::TORVForm(QWidget* parent) : QDialog(parent) {}

TORVForm::~TORVForm() = default;

void TORVForm::ORVFormInit(const QString& key, bool)
{
    FKey = key;
    QSettings s(QStringLiteral("Kalmet"), QStringLiteral("Fenster"));
    const QByteArray g = s.value(FKey).toByteArray();
    if (!g.isEmpty())
        restoreGeometry(g);
}

void TORVForm::GeometrieSichern()
{
    if (FKey.isEmpty())
        return;
    QSettings s(QStringLiteral("Kalmet"), QStringLiteral("Fenster"));
    s.setValue(FKey, saveGeometry());
}

void TORVForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!FGezeigt) {
        FGezeigt = true;
        FormShow();
    }
}

bool TORVForm::event(QEvent* e)
{
    const bool r = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return r;
}

void TORVForm::done(int r)
{
    GeometrieSichern();
    QDialog::done(r);
}
