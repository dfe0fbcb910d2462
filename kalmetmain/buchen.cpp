// Booking from the window: the rights, the rows, the booking engine with the window's
// progress and rows, and afterwards the list or the articles that stayed locked.
#include "kalmetmain/frmkalmetmain.h"

#include "buchung/inventurbuchung.h"
#include "framework/app/dialoge.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/gesperrteartikel.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QAction>
#include <QComboBox>

namespace {

const QString CGesperrtText = QStringLiteral(
    "Es konnten nicht alle Inventuren vollständig abgeschlossen werden, da folgende Artikel gesperrt waren. Bitte geben Sie "
    "diese Artikel frei. Im Anschluss kann ein neuer Abschluss gestartet werden.");

}

void TfrmKalmetMain::actBuchenExecute()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.actBuchenExecute"), [this] {
        if (!UserRechtePruefen(QStringLiteral("pz|"), 2, QString(), 1, false, 0))
            return;
        const TBeschaeftigt beschaeftigt(*this);
        if (ErsteOderFokussierteZeile() < 0) {
            ORVInfo().ShowMeldung(maInfo, {}, this, QStringLiteral("KALMET"), 1000);
            cmbDatum->setFocus();
            return;
        }
        std::vector<TZEP_clMeldung> meldungen;
        const bool gebucht = InvBuchen(meldungen);
        // stock and statuses changed: tables built before are of another state
        FLastConfig = TDruckConfig::EmptyGet();
        if (!gebucht) {
            TgesperrteArtikelfrm::Execute(meldungen, CGesperrtText);
            return;
        }
        if (LayoutDialogExecute(false) && ErstelleINVL(QString(), 0, TLayOutParams{}))
            StarteCrystal(0);
    });
    // on every path, also after a failure: the window shows what is now
    ZeilenAktualisieren();
}

std::vector<TBuchungsZeile> TfrmKalmetMain::GepruefteZeilen()
{
    std::vector<TBuchungsZeile> r;
    for (int n = vrInvList->GetFirstChecked(); n >= 0; n = vrInvList->GetNextChecked(n)) {
        const TIAInventur& inv = FModell->Inventur(n);
        TBuchungsZeile z;
        Zeile_2_Record(n, z.Zeile);
        z.SollEK = inv.Stand.SollEK;
        z.IstEK = inv.Stand.IstEK;
        z.Status = inv.Stand.Status;
        r.push_back(z);
    }
    return r;
}

TInventurBuchung TfrmKalmetMain::Buchung()
{
    TBuchungsUmgebung u;
    u.TestWG = [this](const TInt32Trio& id, const QString& muster) { return TestWG(id, muster); };
    u.Artikel = [this](const QString& artNr, bool nachrichten) {
        prgdMain->ZaehlerSetzen(QStringLiteral("ArtikelNr"), artNr);
        if (nachrichten)
            ORVInfoProcessMessages(333);
    };
    u.Status = [this](const TZeileAnzeige& zeile, TZEP_IA_KZZaehlung status) {
        FModell->StatusSetzen(zeile.ZeilenNode, status);
    };
    u.Fortschritt = [this](bool zeigen) {
        if (zeigen)
            prgdMain->Zeigen();
        else
            prgdMain->Verbergen();
    };
    u.Ungezaehlt = [this](const TUngezaehlte& ungezaehlt) { return UngezaehltFragen(ungezaehlt, this); };
    u.Owner = this;
    return TInventurBuchung(Angelegt(FListe, "FListe"), FWiJahr, std::move(u));
}

bool TfrmKalmetMain::InvBuchen(std::vector<TZEP_clMeldung>& AMeldungen)
{
    bool r = false;
    MitListe("TfrmKalmetMain.InvBuchen", [&](TInventurliste&) {
        TZeileAnzeige_Arr zeilen;
        MarkierteZeilen(zeilen);
        r = Buchung().InvBuchen(GepruefteZeilen(), zeilen, AMeldungen);
    });
    return r;
}

bool TfrmKalmetMain::Test5Proz()
{
    return TInventurBuchung::Test5Proz(GepruefteZeilen());
}

bool TfrmKalmetMain::TestOffen()
{
    return TInventurBuchung::TestOffen(GepruefteZeilen());
}

bool TfrmKalmetMain::TestLagerfilialen()
{
    bool r = false;
    MitListe("TfrmKalmetMain.TestLagerfilialen", [&](TInventurliste&) {
        TZeileAnzeige_Arr zeilen;
        MarkierteZeilen(zeilen);
        r = Buchung().TestLagerfilialen(zeilen);
    });
    return r;
}

void TfrmKalmetMain::Inventuren_AbschlussUnvo()
{
    MitListe("TfrmKalmetMain.Inventuren_AbschlussUnvo", [&](TInventurliste&) { Buchung().Inventuren_AbschlussUnvo(GepruefteZeilen()); });
}

void TfrmKalmetMain::InvBuchenF(bool& AAbgelehnt, bool ATestlauf, std::vector<TZEP_clMeldung>& AMeldungen)
{
    MitListe("TfrmKalmetMain.InvBuchenF", [&](TInventurliste&) {
        TZeileAnzeige_Arr zeilen;
        MarkierteZeilen(zeilen);
        Buchung().InvBuchenF(zeilen, AAbgelehnt, ATestlauf, AMeldungen);
    });
}

void TfrmKalmetMain::FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale)
{
    MitListe("TfrmKalmetMain.FVKLoeschen", [&](TInventurliste&) { Buchung().FVKLoeschen(AProdId, AFiliale); });
}
