#include "framework/gui/layoutform.h"

#include "framework/app/interaktion.h"
#include "framework/app/ordner.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString CTitel = QStringLiteral("Drucklayout");

QTableWidget* NameWertTabelle(QWidget* parent, const QString& name)
{
    auto* t = new QTableWidget(0, 2, parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Wert")});
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    return t;
}

void TabelleSetzen(QTableWidget* t, const QStringList& zeilen)
{
    t->setRowCount(0);
    for (const QString& z : zeilen) {
        const qsizetype gleich = z.indexOf(QLatin1Char('='));
        const int r = t->rowCount();
        t->insertRow(r);
        t->setItem(r, 0, new QTableWidgetItem(gleich < 0 ? z : z.left(gleich)));
        t->setItem(r, 1, new QTableWidgetItem(gleich < 0 ? QString() : z.mid(gleich + 1)));
    }
    t->insertRow(t->rowCount());   // an empty row to type a new entry into
}

// name=value lines of the table; empty rows are left out, a row without value keeps its "="
QStringList TabelleLesen(const QTableWidget* t)
{
    QStringList r;
    for (int i = 0; i < t->rowCount(); ++i) {
        const QString name = t->item(i, 0) ? t->item(i, 0)->text() : QString();
        const QString wert = t->item(i, 1) ? t->item(i, 1)->text() : QString();
        if (!name.trimmed().isEmpty() || !wert.trimmed().isEmpty())
            r << name.trimmed() + QLatin1Char('=') + wert.trimmed();
    }
    return r;
}

QPushButton* Knopf(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}

TLayoutform::TLayoutform(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("Layoutform"));
    setWindowTitle(CTitel);
    lstLayouts = new QTreeWidget(this);
    lstLayouts->setObjectName(QStringLiteral("lstLayouts"));
    lstLayouts->setHeaderLabels({QStringLiteral("Layout"), QStringLiteral("Reportdatei")});
    lstLayouts->setRootIsDecorated(false);
    lstLayouts->header()->setStretchLastSection(false);
    lstLayouts->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstLayouts->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    lstLayouts->setMinimumWidth(420);
    btnOK = Knopf(QStringLiteral("OK"), "btnOK", this);
    btnOK->setDefault(true);
    btnAbbruch = Knopf(QStringLiteral("Abbrechen"), "btnAbbruch", this);

    pnlGestaltung = new QWidget(this);
    edtTitel = new QLineEdit(pnlGestaltung);
    edtTitel->setObjectName(QStringLiteral("edtTitel"));
    edtTitel->setMaxLength(60);
    cmbReport = new QComboBox(pnlGestaltung);
    cmbReport->setObjectName(QStringLiteral("cmbReport"));
    chkStandard = new QCheckBox(QStringLiteral("Standardlayout (vorausgewählt)"), pnlGestaltung);
    chkStandard->setObjectName(QStringLiteral("chkStandard"));
    tblOptionen = NameWertTabelle(pnlGestaltung, QStringLiteral("tblOptionen"));
    tblParameter = NameWertTabelle(pnlGestaltung, QStringLiteral("tblParameter"));
    btnNeu = Knopf(QStringLiteral("&Neu"), "btnNeu", pnlGestaltung);
    btnKopieren = Knopf(QStringLiteral("&Kopieren"), "btnKopieren", pnlGestaltung);
    btnLoeschen = Knopf(QStringLiteral("&Löschen"), "btnLoeschen", pnlGestaltung);
    btnSpeichern = Knopf(QStringLiteral("&Speichern"), "btnSpeichern", pnlGestaltung);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Titel:"), edtTitel);
    form->addRow(QStringLiteral("Reportdatei:"), cmbReport);
    form->addRow(QString(), chkStandard);
    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* b : {btnNeu, btnKopieren, btnLoeschen, btnSpeichern})
        knoepfe->addWidget(b);
    auto* g = new QVBoxLayout(pnlGestaltung);
    g->setContentsMargins(0, 0, 0, 0);
    g->addLayout(form);
    g->addWidget(new QLabel(QStringLiteral("Optionen:"), pnlGestaltung));
    g->addWidget(tblOptionen);
    g->addWidget(new QLabel(QStringLiteral("Parameter:"), pnlGestaltung));
    g->addWidget(tblParameter);
    g->addLayout(knoepfe);

    auto* oben = new QHBoxLayout;
    oben->addWidget(lstLayouts, 1);
    oben->addWidget(pnlGestaltung, 1);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(btnOK);
    unten->addWidget(btnAbbruch);
    auto* l = new QVBoxLayout(this);
    l->addLayout(oben);
    l->addLayout(unten);

    connect(btnOK, &QPushButton::clicked, this, &TLayoutform::Waehlen);
    connect(btnAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstLayouts, &QTreeWidget::itemDoubleClicked, this, &TLayoutform::Waehlen);
    connect(lstLayouts, &QTreeWidget::currentItemChanged, this, [this] {
        if (FLaden)
            return;
        EditorUebernehmen();
        EditorLaden();
    });
    connect(btnNeu, &QPushButton::clicked, this, [this] { Neu(false); });
    connect(btnKopieren, &QPushButton::clicked, this, [this] { Neu(true); });
    connect(btnLoeschen, &QPushButton::clicked, this, &TLayoutform::Loeschen);
    connect(btnSpeichern, &QPushButton::clicked, this, &TLayoutform::Speichern);
    // a title typed in shows in the list at once
    connect(edtTitel, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (QTreeWidgetItem* it = lstLayouts->currentItem())
            it->setText(0, t);
    });
}

bool TLayoutform::Execute(const TZEP_LayoutDialog_InputData& AInput, TZEP_SelectedLayout_List& AList)
{
    FInput = AInput;
    pnlGestaltung->setVisible(FInput.Gestaltung);
    setWindowTitle(FInput.Gestaltung ? CTitel + QStringLiteral(" – Gestaltung") : CTitel);
    Laden(AList.empty() ? QString() : AList.front()->Titel);
    if (exec() != QDialog::Accepted)
        return false;
    const TLayoutSatz& l = FLayouts.at(static_cast<size_t>(Aktuell()));
    auto gewaehlt = std::make_unique<TZEP_SelectedLayout>();
    gewaehlt->ReportDatei = l.Report;
    gewaehlt->Titel = l.Titel;
    gewaehlt->Liste1 = l.Optionen;
    gewaehlt->Liste2 = l.Parameter;
    AList.clear();
    AList.push_back(std::move(gewaehlt));
    return true;
}

// Reads the layouts and marks the one of this title, else the default, else the first.
void TLayoutform::Laden(const QString& titel)
{
    FLayouts = TLayoutSpeicher::Lesen(ORVProgramm().Modul(), FInput.Praefixe);
    FGeaendert.assign(FLayouts.size(), false);
    FGeloescht.clear();
    FEditor = -1;
    int markiert = 0;
    for (size_t i = 0; i < FLayouts.size(); ++i)
        if (FLayouts[i].Standard && markiert == 0)
            markiert = static_cast<int>(i);
    for (size_t i = 0; i < FLayouts.size(); ++i)
        if (!titel.isEmpty() && FLayouts[i].Titel == titel)
            markiert = static_cast<int>(i);
    cmbReport->clear();
    for (const QString& datei : QDir(GetDirWwsByName(FInput.Ordner, QString(), false)).entryList({QStringLiteral("*.rpt")}, QDir::Files, QDir::Name))
        if (FInput.Praefixe.isEmpty() || std::any_of(FInput.Praefixe.begin(), FInput.Praefixe.end(), [&](const QString& p) {
                return datei.startsWith(p, Qt::CaseInsensitive);
            }))
            cmbReport->addItem(datei);
    ListeFuellen(markiert);
}

void TLayoutform::ListeFuellen(int markiert)
{
    FLaden = true;
    lstLayouts->clear();
    for (const TLayoutSatz& l : FLayouts)
        new QTreeWidgetItem(lstLayouts, {l.Titel, l.Report});
    FLaden = false;
    FEditor = -1;
    if (!FLayouts.empty())
        lstLayouts->setCurrentItem(lstLayouts->topLevelItem(std::clamp(markiert, 0, static_cast<int>(FLayouts.size()) - 1)));
    btnOK->setEnabled(!FLayouts.empty());
    btnKopieren->setEnabled(!FLayouts.empty());
    btnLoeschen->setEnabled(!FLayouts.empty());
    EditorLaden();
}

int TLayoutform::Aktuell() const
{
    return lstLayouts->indexOfTopLevelItem(lstLayouts->currentItem());
}

void TLayoutform::EditorLaden()
{
    FEditor = Aktuell();
    const bool da = FEditor >= 0;
    for (QWidget* w : std::initializer_list<QWidget*>{edtTitel, cmbReport, chkStandard, tblOptionen, tblParameter})
        w->setEnabled(da);
    if (!da)
        return;
    const TLayoutSatz& l = FLayouts[static_cast<size_t>(FEditor)];
    edtTitel->setText(l.Titel);
    chkStandard->setChecked(l.Standard);
    // a report file that is not among the templates still shows (the check names it)
    if (cmbReport->findText(l.Report, Qt::MatchFixedString) < 0)
        cmbReport->addItem(l.Report);
    cmbReport->setCurrentIndex(cmbReport->findText(l.Report, Qt::MatchFixedString));
    TabelleSetzen(tblOptionen, l.Optionen);
    TabelleSetzen(tblParameter, l.Parameter);
}

// Takes what the editor shows into the layout it belongs to.
void TLayoutform::EditorUebernehmen()
{
    if (!FInput.Gestaltung || FEditor < 0 || FEditor >= static_cast<int>(FLayouts.size()))
        return;
    TLayoutSatz& l = FLayouts[static_cast<size_t>(FEditor)];
    const TLayoutSatz neu{l.Id, edtTitel->text().trimmed(), cmbReport->currentText(), TabelleLesen(tblOptionen),
                          TabelleLesen(tblParameter), chkStandard->isChecked(), l.Aenderung, l.Benutzer, l.Geaendert};
    if (neu.Titel != l.Titel || neu.Report != l.Report || neu.Optionen != l.Optionen || neu.Parameter != l.Parameter
        || neu.Standard != l.Standard) {
        l = neu;
        FGeaendert[static_cast<size_t>(FEditor)] = true;
    }
    // a new default takes the mark from the one before
    if (neu.Standard)
        for (size_t i = 0; i < FLayouts.size(); ++i)
            if (static_cast<int>(i) != FEditor && FLayouts[i].Standard) {
                FLayouts[i].Standard = false;
                FGeaendert[i] = true;
            }
}

void TLayoutform::Neu(bool kopie)
{
    EditorUebernehmen();
    TLayoutSatz l;
    if (kopie && Aktuell() >= 0)
        l = FLayouts[static_cast<size_t>(Aktuell())];
    l.Id = 0;
    l.Standard = false;
    l.Titel = kopie ? QStringLiteral("Kopie von ") + l.Titel : QStringLiteral("Neues Layout");
    if (!kopie && cmbReport->count() > 0)
        l.Report = cmbReport->itemText(0);
    FLayouts.push_back(l);
    FGeaendert.push_back(true);
    ListeFuellen(static_cast<int>(FLayouts.size()) - 1);
    edtTitel->setFocus();
    edtTitel->selectAll();
}

void TLayoutform::Loeschen()
{
    const int i = Aktuell();
    if (i < 0)
        return;
    const TLayoutSatz& l = FLayouts[static_cast<size_t>(i)];
    if (ORVInteraktion().Meldung(maFrageJaNein, CTitel, QStringLiteral("Das Layout \"%1\" löschen?").arg(l.Titel), this) != maJa)
        return;
    if (l.Id != 0)
        FGeloescht.push_back(l);
    FEditor = -1;
    FLayouts.erase(FLayouts.begin() + i);
    FGeaendert.erase(FGeaendert.begin() + i);
    ListeFuellen(i);
}

bool TLayoutform::Speichern()
{
    EditorUebernehmen();
    QStringList vorlagen;
    for (int i = 0; i < cmbReport->count(); ++i)
        if (QFileInfo::exists(GetDirWwsByName(FInput.Ordner, cmbReport->itemText(i), false)))
            vorlagen << cmbReport->itemText(i);
    std::vector<TLayoutSatz> geaendert;
    QStringList titel;
    for (size_t i = 0; i < FLayouts.size(); ++i) {
        const TLayoutSatz& l = FLayouts[i];
        QString fehler = TLayoutSpeicher::Pruefen(l, vorlagen);
        if (fehler.isEmpty() && titel.contains(l.Titel))
            fehler = QStringLiteral("Den Titel \"%1\" tragen zwei Layouts.").arg(l.Titel);
        titel << l.Titel;
        if (!fehler.isEmpty()) {
            lstLayouts->setCurrentItem(lstLayouts->topLevelItem(static_cast<int>(i)));
            ORVInteraktion().Meldung(maFehler, CTitel, fehler + QStringLiteral("\nEs wurde nichts gespeichert."), this);
            return false;
        }
        if (FGeaendert[i])
            geaendert.push_back(l);
    }
    const QString markiert = Aktuell() >= 0 ? FLayouts[static_cast<size_t>(Aktuell())].Titel : QString();
    try {
        TLayoutSpeicher::Speichern(ORVProgramm().Modul(), geaendert, FGeloescht);
    } catch (const EORVFehler& e) {
        ORVInteraktion().Meldung(maFehler, CTitel,
                                 e.Texts().join(QLatin1Char('\n'))
                                     + QStringLiteral("\nDie Layouts wurden neu gelesen; bitte tragen Sie Ihre Änderungen erneut ein."),
                                 this);
        Laden(markiert);
        return false;
    }
    Laden(markiert);
    return true;
}

// OK or double click: in design mode the changes are stored first.
void TLayoutform::Waehlen()
{
    if (Aktuell() < 0)
        return;
    if (FInput.Gestaltung) {
        EditorUebernehmen();
        const bool offen = !FGeloescht.empty() || std::find(FGeaendert.begin(), FGeaendert.end(), true) != FGeaendert.end();
        if (offen && !Speichern())
            return;
    }
    accept();
}
