#include "kalmetmain/frmkalmetmain.h"

#include "SelMask/frmselmask.h"
#include "framework/app/dialoge.h"
#include "framework/article/artikeltools.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "framework/stock/invmani.h"
#include "inventurliste/soll2ist.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QComboBox>
#include <QLineEdit>

void TfrmKalmetMain::btnSoll2IstSelClick()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.btnSoll2IstSelClick"), [this] {
        if (!UserRechtePruefen(QStringLiteral("psv"), 2, QString(), 1, false, 0))
            return;
        if (ErsteOderFokussierteZeile() < 0) {
            ORVInfo().ShowMeldung(maInfo, {}, this, QStringLiteral("ZOLMIK"), 1001);
            cmbDatum->setFocus();
            return;
        }
        if (!Soll2IstZaehlungenVerwerfen(this))
            return;
        if (!frmSelMask || frmSelMask->exec() != 1)
            return;
        const TBeschaeftigt beschaeftigt(*this);
        if (!Soll2IstDurchfuehren(this))
            return;
        const QString wgn = frmSelMask->edtWGN->text();
        const int16_t filiale = static_cast<int16_t>(frmSelMask->SelFil());
        prgdMain->Zeigen();
        int uebernommen = 0;
        TZeileAnzeige_Arr zeilen;
        const bool fertig = MitListe("TfrmKalmetMain.btnSoll2IstSelClick", [&](TInventurliste& l) {
            MarkierteZeilen(zeilen);
            TInvMani& mani = l.InvMani();
            mani.OnSoll2Ist4ArtikelNr = [this](const TInt32Trio& id) { OnSoll2Ist4ArtikelNr(id); };
            uebernommen = Soll2IstUebernehmen(mani, zeilen, wgn, filiale);
            FuelleGrid(FWiJahr);
        });
        prgdMain->Verbergen();
        if (fertig && !zeilen.empty() && uebernommen == 0)
            ORVInteraktion().Meldung(maInfo, QStringLiteral("Soll=Ist"), Soll2IstNichtsUebernommen(wgn, filiale), this);
    });
}

void TfrmKalmetMain::OnSoll2Ist4ArtikelNr(const TInt32Trio& AProduktID)
{
    if (!prgdMain->isVisible())
        return;
    TAASatz satz;
    prgdMain->ZaehlerSetzen(QStringLiteral("ArtikelNr"),
                            TArtikelTools::AASatz_4_ProduktID(AProduktID, satz) ? satz.ArtNr : AProduktID.ToText());
    ORVInfoProcessMessages(333);
}

void TfrmKalmetMain::actKZResetExecute()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.actKZResetExecute"), [this] {
        TZeileAnzeige_Arr zeilen;
        MarkierteZeilen(zeilen);
        for (const TZeileAnzeige& z : zeilen)
            if (KennzeichenZuruecksetzen(z))
                FModell->StatusSetzen(z.ZeilenNode, iakzFreigegeben);
        // the print tables were built with the statuses before
        FLastConfig = TDruckConfig::EmptyGet();
    });
}
