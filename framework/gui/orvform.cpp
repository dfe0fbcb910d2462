#include "framework/gui/orvform.h"

#include "framework/app/einstellungen.h"

#include <QEvent>
#include <QSettings>

TORVForm::TORVForm(QWidget* parent) : QDialog(parent) {}

TORVForm::~TORVForm() = default;

void TORVForm::ORVFormInit(const QString& key, bool)
{
    FKey = key;
    FGeometrieGeladen = restoreGeometry(FormEinstellungen()->value(QStringLiteral("Geometrie")).toByteArray());
}

std::unique_ptr<QSettings> TORVForm::FormEinstellungen() const
{
    std::unique_ptr<QSettings> s = BenutzerEinstellungen();
    s->beginGroup(FKey);
    return s;
}

void TORVForm::GeometrieSichern()
{
    if (FKey.isEmpty())
        return;
    const std::unique_ptr<QSettings> s = FormEinstellungen();
    s->setValue(QStringLiteral("Geometrie"), saveGeometry());
    ZustandSichern(*s);
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
