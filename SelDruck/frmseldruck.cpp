#include "SelDruck/frmseldruck.h"

#include "framework/app/datumtext.h"
#include "framework/app/info.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmSelDruck* frmSelDruck = nullptr;

namespace {

QLabel* Text(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

QLineEdit* Datumsfeld(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(10);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    return e;
}

// A date row indented under its radio button: label and field.
QHBoxLayout* Datumszeile(const QString& label, QLineEdit* feld, QWidget* parent)
{
    auto* z = new QHBoxLayout;
    z->addSpacing(24);
    z->addWidget(new QLabel(label, parent));
    z->addWidget(feld);
    z->addStretch();
    return z;
}

}

TfrmSelDruck::TfrmSelDruck(QWidget* parent) : TORVForm(parent)
{
    setObjectName(QStringLiteral("frmSelDruck"));
    setWindowTitle(QStringLiteral("Einstellung für die Listenerzeugung"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    rbtZaehldatum = new QRadioButton(QStringLiteral("Liste zum Zähldatum"), this);
    rbtZaehldatum->setObjectName(QStringLiteral("rbtZaehldatum"));
    rbtEndeWirtsjahr = new QRadioButton(QStringLiteral("Rückrechnung zum Ende des Wirtschaftsjahres"), this);
    rbtEndeWirtsjahr->setObjectName(QStringLiteral("rbtEndeWirtsjahr"));
    rbtBelDatum = new QRadioButton(QStringLiteral("Rückrechnung auf beliebiges Datum vor dem Zähldatum"), this);
    rbtBelDatum->setObjectName(QStringLiteral("rbtBelDatum"));
    edtWirtsjahr = Datumsfeld("edtWirtsjahr", this);
    edtWirtsjahr->setEnabled(false);   // shows the end of the fiscal year, never entered
    edtAuswertungsdatum = Datumsfeld("edtAuswertungsdatum", this);
    edtAuswertungsdatum->installEventFilter(this);
    btnDruck = new QPushButton(QStringLiteral("Drucken"), this);
    btnDruck->setObjectName(QStringLiteral("btnDruck"));
    btnDruck->setDefault(true);
    rbtZaehldatum->setChecked(true);

    auto* kopf = new QFrame(this);
    kopf->setFrameShape(QFrame::Panel);
    kopf->setFrameShadow(QFrame::Raised);
    auto* kopfText = new QLabel(QStringLiteral("Druck zum Zähldatum oder mit Rückrechnung"), kopf);
    QFont f = kopfText->font();
    f.setBold(true);
    kopfText->setFont(f);
    (new QVBoxLayout(kopf))->addWidget(kopfText);

    auto* l = new QVBoxLayout(this);
    l->addWidget(kopf);
    l->addWidget(Text(QStringLiteral("Sie können zu Inventuren eine Liste zum Zähldatum erzeugen und drucken.  "), this));
    l->addWidget(rbtZaehldatum);
    l->addSpacing(8);
    l->addWidget(Text(QStringLiteral("Oder Sie können eine Rückrechnung auf das Ende des Wirtschaftsjahres der Inventur vornehmen, "
                                     "wenn das Zähldatum nach dem Ende des Wirtschaftsjahres liegt.  "),
                      this));
    l->addWidget(rbtEndeWirtsjahr);
    l->addLayout(Datumszeile(QStringLiteral("Ende des Wirtschaftjahres:"), edtWirtsjahr, this));
    l->addSpacing(8);
    l->addWidget(Text(QStringLiteral("Oder Sie können eine Rückrechnung auf ein beliebiges Datum vor dem Zähldatum vornehmen.  "), this));
    l->addWidget(rbtBelDatum);
    l->addLayout(Datumszeile(QStringLiteral("Auswertungsdatum:"), edtAuswertungsdatum, this));
    l->addSpacing(8);
    l->addWidget(Text(QStringLiteral("Sie sollten vermeiden, eine Rückrechnung zu einem Datum, das mehr als 2 Monate vor dem "
                                     "Zähldatum liegt, durchzuführen. Die gesetzlichen Bestimmungen klären Sie bitte mit Ihrem "
                                     "Steuerberater. "),
                      this));
    l->addWidget(Text(QStringLiteral("Eine Rückrechnung über einen Zeitraum, in dem eine andere Inventur für die gleiche Filiale / "
                                     "Warengruppe gebucht wurde, ist nicht zu empfehlen."),
                      this));
    l->addWidget(btnDruck);
    setFixedWidth(520);

    for (QRadioButton* r : {rbtZaehldatum, rbtEndeWirtsjahr, rbtBelDatum})
        connect(r, &QRadioButton::clicked, this, &TfrmSelDruck::RadioClick);
    connect(btnDruck, &QPushButton::clicked, this, &TfrmSelDruck::btnDruckClick);
    ORVGuard(QStringLiteral("TfrmSelDruck.FormCreate"), [this] { ORVFormInit(QStringLiteral("KALMET") + objectName(), true); });
}

// Every showing starts at the count date: FormShow runs each time, not only on the first.
void TfrmSelDruck::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TfrmSelDruck::FormShow()
{
    ORVGuard(QStringLiteral("TfrmSelDruck.FormShow"), [this] {
        edtAuswertungsdatum->setText(TDateTime_FormatDatum(FZaehldatum));
        edtAuswertungsdatum->setEnabled(false);
        edtWirtsjahr->setText(TDateTime_FormatDatum(FEndeWirtsjahr));
        rbtEndeWirtsjahr->setEnabled(FEndeWirtsjahr < FZaehldatum);
        rbtZaehldatum->setChecked(true);
        FRueckrechnung = false;
        FAuswertungsdatum = FZaehldatum;
        FGeprueft = edtAuswertungsdatum->text();
        FGueltig = true;
    });
}

void TfrmSelDruck::RadioClick()
{
    edtAuswertungsdatum->setEnabled(rbtBelDatum->isChecked());
}

bool TfrmSelDruck::eventFilter(QObject* o, QEvent* e)
{
    if (o == edtAuswertungsdatum && e->type() == QEvent::FocusOut && edtAuswertungsdatum->isEnabled())
        edtAuswertungsdatumExit();
    return TORVForm::eventFilter(o, e);
}

// A date that passes the check (not after the count date) becomes the evaluation date;
// otherwise the field gets the focus back and the last accepted date stays.
void TfrmSelDruck::edtAuswertungsdatumExit()
{
    ORVGuard(QStringLiteral("TfrmSelDruck.edtAuswertungsdatumExit"), [this] {
        const QString text = edtAuswertungsdatum->text();
        if (text == FGeprueft)
            return;   // judged and told already
        FGeprueft = text;
        FGueltig = orv_TestDatumString(text, 0, FZaehldatum, edtAuswertungsdatum->objectName());
        if (FGueltig)
            FAuswertungsdatum = orv_StrToDate(text);
        else
            edtAuswertungsdatum->setFocus();
    });
}

void TfrmSelDruck::btnDruckClick()
{
    // the date is judged before the dialog closes, whether Enter or the mouse pressed the
    // button: a refused date keeps the dialog open
    if (rbtBelDatum->isChecked()) {
        edtAuswertungsdatumExit();
        if (!FGueltig) {
            edtAuswertungsdatum->setFocus();
            return;
        }
    }
    ORVGuard(QStringLiteral("TfrmSelDruck.btnDruckClick"), [this] {
        if (rbtZaehldatum->isChecked()) {
            FRueckrechnung = false;
            FAuswertungsdatum = 0;
        } else if (rbtEndeWirtsjahr->isChecked()) {
            FRueckrechnung = true;
            FAuswertungsdatum = FEndeWirtsjahr;
        } else {
            FRueckrechnung = true;
        }
    });
    done(1);
}
