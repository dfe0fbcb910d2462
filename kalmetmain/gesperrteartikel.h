#pragma once

#include "framework/gui/orvform.h"
#include "framework/stock/sperre.h"

#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class TVTORVVRList;

// The articles a booking left unposted because others held them locked: who holds each lock
// and since when. Only shows; the user closes it.
class TgesperrteArtikelfrm : public TORVForm {
    Q_OBJECT
public:
    explicit TgesperrteArtikelfrm(QWidget* parent = nullptr);

    // Shows the dialog modally with the messages, unless there are none.
    static void Execute(const std::vector<TZEP_clMeldung>& AMeldungen, const QString& AText);

    void VR_List_Init();
    void VR_List_Laden(const std::vector<TZEP_clMeldung>& AMeldungen);

    QFrame* pnlHintergrund;
    QFrame* pnlUeberschrift;
    QLabel* pnlUeberschriftText;
    QFrame* pnlInhalt;
    QLabel* lblDescriptoin;
    TVTORVVRList* vrGesperrteArtikel;
    QFrame* pnlButtons;
    QPushButton* btnWeiter;

private:
    void FormCreate();
};
