#include "kalmetmain/frmkalmetmain.h"

#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/app/interaktion.h"
#include "framework/report/crystalrdcn.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/db/aenderungen.h"
#include "framework/db/files/lsnfile.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "framework/stock/sperre.h"
#include "framework/stock/verkmani.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace {

QAction* Aktion(QWidget* fenster, const QString& name, const QString& caption, const QKeySequence& taste)
{
    auto* a = new QAction(caption, fenster);
    a->setObjectName(name);
    a->setShortcut(taste);
    a->setShortcutContext(Qt::WindowShortcut);
    fenster->addAction(a);
    return a;
}

QPushButton* Knopf(QWidget* parent, const QString& name, const QString& caption, const QKeySequence& taste)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setText(taste.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, taste.toString(QKeySequence::NativeText)));
    b->setAutoDefault(false);
    return b;
}

// A button bound to an action shows the action's caption and shortcut and follows its state.
void Binden(QPushButton* b, QAction* a)
{
    b->setText(QStringLiteral("%1 (%2)").arg(a->text(), a->shortcut().toString(QKeySequence::NativeText)));
    QObject::connect(b, &QPushButton::clicked, a, &QAction::trigger);
    QObject::connect(a, &QAction::enabledChanged, b, &QPushButton::setEnabled);
}

QFrame* Panel(QWidget* parent, const QString& name)
{
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    return p;
}

}

TfrmKalmetMain::TfrmKalmetMain(QWidget* parent) : TORVForm(parent)
{
    OberflaecheAufbauen();
    FormCreate();
}

TfrmKalmetMain::~TfrmKalmetMain()
{
    FormDestroy();
}

void TfrmKalmetMain::OberflaecheAufbauen()
{
    setObjectName(QStringLiteral("frmKalmetMain"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(731, 415);
    setMinimumSize(640, 450);
    QFont schrift(QStringLiteral("MS Sans Serif"));
    setFont(schrift);

    // actions
    actBeenden = Aktion(this, "actBeenden", "Beenden", QKeySequence(Qt::Key_Escape));
    actBuchen = Aktion(this, "actBuchen", "Buchen", QKeySequence(Qt::Key_F5));
    actDrucken = Aktion(this, "actDrucken", "Drucken", QKeySequence(Qt::Key_F10));
    actLayout = Aktion(this, "actLayout", "Layout", QKeySequence(Qt::SHIFT | Qt::Key_F10));
    actVersionsanzeige = Aktion(this, "actVersionsanzeige", "Versionsanzeige", QKeySequence());
    actKZReset = Aktion(this, "actKZReset", "Reset Kennzeichen", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    actHilfe = Aktion(this, "actHilfe", "Hilfe", QKeySequence(Qt::Key_F1));
    actZaehldateien = Aktion(this, "actZaehldateien", "Zähldateien einlesen", QKeySequence());
    actHilfe->setEnabled(false);
    connect(actBeenden, &QAction::triggered, this, [this] { actBeendenExecute(); });
    connect(actBuchen, &QAction::triggered, this, [this] { actBuchenExecute(); });
    connect(actDrucken, &QAction::triggered, this, [this] { actDruckenExecute(); });
    connect(actLayout, &QAction::triggered, this, [this] { actLayoutExecute(); });
    connect(actVersionsanzeige, &QAction::triggered, this, [this] { actVersionsanzeigeExecute(); });
    connect(actKZReset, &QAction::triggered, this, [this] { actKZResetExecute(); });
    connect(actZaehldateien, &QAction::triggered, this, [this] { actZaehldateienExecute(); });

    // menu items that run the marking handlers; they hold Ins, F7 and F8
    Markieren1 = Aktion(this, "Markieren1", "Markieren", QKeySequence(Qt::Key_Insert));
    Allemarkieren1 = Aktion(this, "Allemarkieren1", "Alle markieren", QKeySequence(Qt::Key_F7));
    Markierungumkehren1 = Aktion(this, "Markierungumkehren1", "Markierung umkehren", QKeySequence(Qt::Key_F8));
    connect(Markieren1, &QAction::triggered, this, [this] { btnMarkierenClick(); });
    connect(Allemarkieren1, &QAction::triggered, this, [this] { btnAlleEinClick(); });
    connect(Markierungumkehren1, &QAction::triggered, this, [this] { btnAlleUmsClick(); });
    // the layout menu item has a caption of its own; the shortcut stays with actLayout
    mniLayout = new QAction(QStringLiteral("&Gestaltung Druck\tShift+F10"), this);
    mniLayout->setObjectName(QStringLiteral("mniLayout"));
    connect(mniLayout, &QAction::triggered, actLayout, &QAction::trigger);
    connect(actLayout, &QAction::enabledChanged, mniLayout, &QAction::setEnabled);

    mnuMain = new QMenuBar(this);
    QMenu* funktionen = mnuMain->addMenu(QStringLiteral("&Funktionen"));
    funktionen->addAction(actBuchen);   // menu items bound to actions are the actions themselves
    funktionen->addAction(actZaehldateien);
    funktionen->addSeparator()->setObjectName(QStringLiteral("N3"));
    funktionen->addAction(actDrucken);
    funktionen->addAction(mniLayout);
    funktionen->addSeparator()->setObjectName(QStringLiteral("mitNull"));
    funktionen->addAction(actBeenden);
    QMenu* bearbeiten = mnuMain->addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->addAction(Markieren1);
    bearbeiten->addSeparator()->setObjectName(QStringLiteral("N2"));
    bearbeiten->addAction(Allemarkieren1);
    bearbeiten->addAction(Markierungumkehren1);
    QMenu* hilfe = mnuMain->addMenu(QStringLiteral("?"));
    hilfe->addSeparator()->setObjectName(QStringLiteral("N1"));
    hilfe->addAction(actVersionsanzeige);

    // panels
    auto* aussen = new QVBoxLayout(this);
    aussen->setContentsMargins(0, 0, 0, 0);
    aussen->setMenuBar(mnuMain);
    pnlUnten = Panel(this, "pnlUnten");
    pnlUnten->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    aussen->addWidget(pnlUnten);
    auto* unten = new QVBoxLayout(pnlUnten);

    pnltitel = Panel(pnlUnten, "pnltitel");
    pnlHeaderBG = Panel(pnltitel, "pnlHeaderBG");
    pnltitel->setAutoFillBackground(true);
    pnltitel->setBackgroundRole(QPalette::Highlight);
    auto* titel = new QHBoxLayout(pnltitel);
    titel->addWidget(pnlHeaderBG);
    auto* kopf = new QHBoxLayout(pnlHeaderBG);
    lblUeberschrift = new QLabel(QStringLiteral("Inventurauswertung"), pnlHeaderBG);
    lblUeberschrift->setObjectName(QStringLiteral("lblUeberschrift"));
    QFont gross = lblUeberschrift->font();
    gross.setPointSize(16);
    gross.setBold(true);
    lblUeberschrift->setFont(gross);
    lblUeberschrift->setForegroundRole(QPalette::HighlightedText);
    lblWiJahr = new QLabel(QStringLiteral("Wirtschaftsjahr"), pnlHeaderBG);
    lblWiJahr->setObjectName(QStringLiteral("lblWiJahr"));
    QFont mittel = lblWiJahr->font();
    mittel.setPointSize(12);
    lblWiJahr->setFont(mittel);
    lblWiJahr->setForegroundRole(QPalette::HighlightedText);
    cmbDatum = new QComboBox(pnlHeaderBG);
    cmbDatum->setObjectName(QStringLiteral("cmbDatum"));
    cmbDatum->setEditable(false);
    cmbDatum->setMinimumWidth(200);
    cmbDatum->setToolTip(QStringLiteral("Selektieren Sie hier das Wirtschaftsjahr, für dass Sie Inventuren auswerten wollen."));
    auto* eingabehilfe = new QAction(QStringLiteral("Eingabe&hilfe"), cmbDatum);
    eingabehilfe->setShortcut(QKeySequence(Qt::Key_F2));
    eingabehilfe->setShortcutContext(Qt::WidgetShortcut);
    connect(eingabehilfe, &QAction::triggered, cmbDatum, &QComboBox::showPopup);
    cmbDatum->addAction(eingabehilfe);
    cmbDatum->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(cmbDatum, &QComboBox::currentIndexChanged, this, [this] { cmbDatumChange(); });
    kopf->addWidget(lblUeberschrift);
    kopf->addStretch();
    kopf->addWidget(lblWiJahr);
    kopf->addWidget(cmbDatum);
    unten->addWidget(pnltitel);

    pnlMain = Panel(pnlUnten, "pnlMain");
    auto* haupt = new QVBoxLayout(pnlMain);
    haupt->setContentsMargins(0, 0, 0, 0);
    vrInvList = new TVTORVVRList(pnlMain);
    vrInvList->setObjectName(QStringLiteral("vrInvList"));
    vrInvList->OnHeaderClick = [this](int spalte) { vrInvListHeaderClick(spalte); };
    haupt->addWidget(vrInvList);
    unten->addWidget(pnlMain, 1);

    pnlButtons = Panel(pnlUnten, "pnlButtons");
    pnlButtonsBG = Panel(pnlButtons, "pnlButtonsBG");
    auto* knoepfeAussen = new QHBoxLayout(pnlButtons);
    knoepfeAussen->setContentsMargins(0, 0, 0, 0);
    knoepfeAussen->addWidget(pnlButtonsBG);
    auto* knoepfe = new QHBoxLayout(pnlButtonsBG);
    btnMarkieren = Knopf(pnlButtonsBG, "btnMarkieren", "Markieren", QKeySequence(Qt::Key_Insert));
    btnAlleEin = Knopf(pnlButtonsBG, "btnAlleEin", "Alle", QKeySequence(Qt::CTRL | Qt::Key_A));
    btnAlleUms = Knopf(pnlButtonsBG, "btnAlleUms", "Umkehren", QKeySequence(Qt::Key_F8));
    btnSoll2IstSel = Knopf(pnlButtonsBG, "btnSoll2IstSel", "Soll=Ist", QKeySequence());
    for (QPushButton* b : {btnMarkieren, btnAlleEin, btnAlleUms})
        b->setFocusPolicy(Qt::NoFocus);
    // Ins and F8 are held by the menu items; Ctrl+A belongs to the button alone
    btnAlleEin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(btnMarkieren, &QPushButton::clicked, this, [this] { btnMarkierenClick(); });
    connect(btnAlleEin, &QPushButton::clicked, this, [this] { btnAlleEinClick(); });
    connect(btnAlleUms, &QPushButton::clicked, this, [this] { btnAlleUmsClick(); });
    connect(btnSoll2IstSel, &QPushButton::clicked, this, [this] { btnSoll2IstSelClick(); });
    btnDrucken = Knopf(pnlButtonsBG, "btnDrucken", "", QKeySequence());
    btnBuchen = Knopf(pnlButtonsBG, "btnBuchen", "", QKeySequence());
    btnEnde = Knopf(pnlButtonsBG, "btnEnde", "", QKeySequence());
    Binden(btnDrucken, actDrucken);
    Binden(btnBuchen, actBuchen);
    Binden(btnEnde, actBeenden);
    for (QPushButton* b : {btnMarkieren, btnAlleEin, btnAlleUms, btnSoll2IstSel})
        knoepfe->addWidget(b);
    knoepfe->addStretch();
    for (QPushButton* b : {btnDrucken, btnBuchen, btnEnde})
        knoepfe->addWidget(b);
    unten->addWidget(pnlButtons);
    lblStand = new QLabel(pnlUnten);
    lblStand->setObjectName(QStringLiteral("lblStand"));
    unten->addWidget(lblStand);

    prgdMain = new TORVProgressDialog(this);
    CrystalRDC = std::make_unique<TCrystalRDCn>(this);
    prgdMain->setObjectName(QStringLiteral("prgdMain"));
    prgdMain->setWindowTitle(QStringLiteral("Daten werden aufbereitet ..."));
    prgdMain->SetAbbruchSichtbar(false);
    prgdMain->resize(275, 200);
    prgdMain->AnimationAdd(QStringLiteral("Animate"));
    prgdMain->ZaehlerAdd(QStringLiteral("ArtikelNr"), QStringLiteral("ArtNr.:: "), QStringLiteral("xxxxxxxxxxx"));
}

void TfrmKalmetMain::FormCreate()
{
    ORVGuard(
        QStringLiteral("TfrmKalmetMain.FormCreate"),
        [this] {
            ORVFormInit(QStringLiteral("KALMET") + objectName(), true);
            setWindowTitle(QStringLiteral("Inventurauswertung - ") + ORVProgramm().GetTextMandant());
            btnDrucken->setDefault(true);
            btnBuchen->setDefault(false);
            ZaehldateienBeimStart();
            FDatumList.Clear();
            FLastConfig = TDruckConfig::EmptyGet();
            FlsnFile = std::make_unique<Tlsnfile>();
            FLSNMani = std::make_unique<TVerkMani>();
            FListe = std::make_unique<TInventurliste>(TInventurlisteOptionen::AusParametern());
            FAenderungen = std::make_unique<TIAAenderungen>();
            FAenderungen->Darf = [this] { return Aktualisierbar(); };
            FAenderungen->OnGeaendert = [this](const std::vector<TIANotiz>& n, bool alle) { return AenderungenUebernehmen(n, alle); };
            FAenderungen->OnKanal = [this](TIAAenderungen::TKanal, bool wieder) { KanalGeaendert(wieder); };
        },
        false);
    // article locks left behind by processes of this machine that died; a failure here is
    // protocolled and leaves them to the next booking
    ORVGuard(QStringLiteral("TfrmKalmetMain.FormCreate"), [] { CommonLock().VerwaisteEntfernen(); }, false);
}

void TfrmKalmetMain::FormActivate()
{
    bool erlaubt = false;
    // a rights query that fails lets nobody in
    ORVGuard(QStringLiteral("TfrmKalmetMain.FormActivate"),
             [&erlaubt] { erlaubt = UserRechtePruefen(QStringLiteral("pz{"), 2, QString(), 1, false, 0); });
    if (!erlaubt) {
        close();
        emit ProgrammBeenden();
    }
}

void TfrmKalmetMain::FormDestroy()
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FormDestroy");
    const auto frei = [&](auto& feld) { ORVGuard(ort, [&] { feld.reset(); }, false); };
    frei(FAenderungen);
    frei(FlsnFile);
    frei(FListe);
    frei(FLSNMani);
    ORVGuard(ort, [this] { FDatumList.Clear(); }, false);
    if (FWarteCursor)
        QApplication::restoreOverrideCursor();
    ORVInfo().FehlerTerminate(ort);
}

void TfrmKalmetMain::FensterzustandLaden()
{
    const QStringList breiten = FormEinstellungen()->value(QStringLiteral("Spaltenbreiten")).toStringList();
    vrInvList->SpaltenbreitenSetzen(breiten);
    if (GeometrieGeladen())
        return;
    constexpr int CZeilen = 25;
    const int zeile = vrInvList->GetFirst() >= 0 ? vrInvList->sizeHintForRow(0) : fontMetrics().height() + 4;
    const QSize liste(vrInvList->header()->length() + 2 * vrInvList->frameWidth()
                          + vrInvList->verticalScrollBar()->sizeHint().width(),
                      vrInvList->header()->sizeHint().height() + CZeilen * zeile + 2 * vrInvList->frameWidth());
    // what lies around the list stays as the layout has it
    QSize soll = size() - vrInvList->size() + liste;
    if (const QScreen* s = screen())
        soll = soll.boundedTo(s->availableGeometry().size());
    resize(soll);
}

void TfrmKalmetMain::ZustandSichern(QSettings& s)
{
    s.setValue(QStringLiteral("Spaltenbreiten"), vrInvList->Spaltenbreiten());
}

void TfrmKalmetMain::actVersionsanzeigeExecute()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.actVersionsanzeigeExecute"),
             [] { VersionsInfoZeigen(QStringLiteral("Inventuren"), nullptr, QString()); });
}

void TfrmKalmetMain::reject()
{
    if (actBeenden->isEnabled())
        TORVForm::reject();
}

void TfrmKalmetMain::actBeendenExecute()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.actBeendenExecute"), [this] { close(); });
}

// Actions whose work is not part of this program version yet say so instead of doing nothing.
