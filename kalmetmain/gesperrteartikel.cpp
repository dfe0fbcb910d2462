#include "kalmetmain/gesperrteartikel.h"

#include "framework/app/info.h"
#include "framework/core/fehler.h"
#include "framework/gui/vrlist.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

struct TZEP_GespArt_Spalten_Rec {
    const char* Caption;
    int VRType;
    int width;
};

constexpr TZEP_GespArt_Spalten_Rec CSpalten[6] = {
    {"Artikel", vrtText, 120},  {"gesperrt seit", vrtDateTime, 120}, {"Programm", vrtText, 120},
    {"Terminal", vrtText, 120}, {"TerminalNr", vrtText, 120},        {"Prozess-ID", vrtInteger, 30},
};

}

TgesperrteArtikelfrm::TgesperrteArtikelfrm(QWidget* parent) : TORVForm(parent)
{
    setObjectName(QStringLiteral("gesperrteArtikelfrm"));
    setWindowTitle(QStringLiteral("Gesperrte Artikel"));
    resize(486, 590);
    setMinimumSize(340, 200);

    pnlHintergrund = new QFrame(this);
    pnlHintergrund->setFrameShape(QFrame::Panel);
    pnlHintergrund->setFrameShadow(QFrame::Sunken);
    auto* hintergrund = new QVBoxLayout(pnlHintergrund);
    hintergrund->setContentsMargins(4, 4, 4, 4);

    pnlUeberschrift = new QFrame(pnlHintergrund);
    pnlUeberschrift->setAutoFillBackground(true);
    pnlUeberschrift->setStyleSheet(QStringLiteral("background: #808080;"));
    auto* ueberschrift = new QHBoxLayout(pnlUeberschrift);
    pnlUeberschriftText = new QLabel(QStringLiteral("Liste gesperrter Artikel"), pnlUeberschrift);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(21);
    f.setBold(true);
    pnlUeberschriftText->setFont(f);
    pnlUeberschriftText->setStyleSheet(QStringLiteral("color: palette(window);"));
    ueberschrift->addWidget(pnlUeberschriftText);
    hintergrund->addWidget(pnlUeberschrift);

    pnlInhalt = new QFrame(pnlHintergrund);
    auto* inhalt = new QVBoxLayout(pnlInhalt);
    lblDescriptoin = new QLabel(pnlInhalt);
    lblDescriptoin->setObjectName(QStringLiteral("lblDescriptoin"));
    lblDescriptoin->setWordWrap(true);
    inhalt->addWidget(lblDescriptoin);
    vrGesperrteArtikel = new TVTORVVRList(pnlInhalt);
    vrGesperrteArtikel->setObjectName(QStringLiteral("vrGesperrteArtikel"));
    vrGesperrteArtikel->setSortingEnabled(true);
    vrGesperrteArtikel->header()->setSectionsMovable(true);
    inhalt->addWidget(vrGesperrteArtikel, 1);
    hintergrund->addWidget(pnlInhalt, 1);

    pnlButtons = new QFrame(pnlHintergrund);
    auto* knoepfe = new QHBoxLayout(pnlButtons);
    knoepfe->addStretch();
    btnWeiter = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&Ok"), pnlButtons);
    btnWeiter->setObjectName(QStringLiteral("btnWeiter"));
    btnWeiter->setDefault(true);
    connect(btnWeiter, &QPushButton::clicked, this, [this] { done(1); });
    knoepfe->addWidget(btnWeiter);
    hintergrund->addWidget(pnlButtons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlHintergrund);
    FormCreate();
}

void TgesperrteArtikelfrm::FormCreate()
{
    ORVGuard(QStringLiteral("TDRAV_FormNameZW.FormCreate"), [this] { ORVFormInit(objectName(), true); });
}

void TgesperrteArtikelfrm::Execute(const std::vector<TZEP_clMeldung>& AMeldungen, const QString& AText)
{
    if (AMeldungen.empty())
        return;
    TgesperrteArtikelfrm form;
    form.lblDescriptoin->setText(AText);
    form.VR_List_Laden(AMeldungen);
    form.exec();
}

void TgesperrteArtikelfrm::VR_List_Init()
{
    ORVGuard(QStringLiteral("TgesperrteArtikelfrm.VR_List_Init"), [this] {
        if (vrGesperrteArtikel->VRList())
            return;
        const TVRListUpdate klammer(vrGesperrteArtikel);
        auto* liste = new TVRList(vrGesperrteArtikel);
        vrGesperrteArtikel->SetVRList(liste);
        for (const TZEP_GespArt_Spalten_Rec& s : CSpalten) {
            TVRSpalte spalte;
            spalte.Caption = QString::fromUtf8(s.Caption);
            spalte.VRType = s.VRType;
            spalte.Flag = true;
            liste->SpalteAdd(spalte);
        }
        vrGesperrteArtikel->UpdateSpalten(true);
        for (int i = 0; i < 6; ++i)
            vrGesperrteArtikel->setColumnWidth(i, CSpalten[i].width);
    });
}

void TgesperrteArtikelfrm::VR_List_Laden(const std::vector<TZEP_clMeldung>& AMeldungen)
{
    ORVGuard(QStringLiteral("TgesperrteArtikelfrm.VR_List_Laden"), [&] {
        const TVRListUpdate klammer(vrGesperrteArtikel);
        VR_List_Init();
        TVRList& liste = Angelegt(qobject_cast<TVRList*>(vrGesperrteArtikel->VRList()), "vrGesperrteArtikel");
        for (const TZEP_clMeldung& m : AMeldungen) {
            std::vector<QVariant> zeile = liste.ZeilenPuffer();
            zeile[0] = m.Artikel;
            zeile[1] = m.SperrZeit;
            zeile[2] = m.Programm;
            zeile[3] = m.Terminal;
            zeile[4] = m.TerminalNr;
            zeile[5] = m.ProzessId;
            liste.ZeileAdd(std::move(zeile));
        }
        vrGesperrteArtikel->UpdateSpalten(true);
        vrGesperrteArtikel->UpdateZeilen(0, 0);
    });
}
