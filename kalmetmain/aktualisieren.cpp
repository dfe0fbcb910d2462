// Live updates of the overview: what other terminals and programs change in the inventories
// reaches the rows within a second, while the user keeps marks, current row and place.
#include "kalmetmain/frmkalmetmain.h"

#include "framework/app/info.h"
#include "framework/article/iazugriff.h"
#include "framework/db/aenderungen.h"
#include "framework/gui/progressdialog.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QApplication>
#include <QLabel>

bool TfrmKalmetMain::Aktualisierbar() const
{
    // an action runs (its own rows are updated when it ends), a dialog asks, or the list
    // was never filled
    const QWidget* modal = QApplication::activeModalWidget();
    return !FWarteCursor && (!modal || modal == this) && !prgdMain->isVisible() && FModell;
}

bool TfrmKalmetMain::AenderungenUebernehmen(const std::vector<TIANotiz>& notizen, bool alle)
{
    try {
        const TObersteZeileHalten oben(vrInvList, *FModell);
        if (alle) {
            FModell->Abgleichen(IA_ListeMitUngezaehlten(FWiJahr));
            AktionenEnabled(true);   // what the actions need read anew too, also after a lost connection
        } else {
            for (const TIANotiz& n : notizen) {
                const TIASchluessel s{n.ZaehlDatum, IA_WGNAngezeigt(n.WGN), n.Filiale};
                FModell->Uebernehmen(s, IA_LesenMitUngezaehlten(s));
            }
        }
    } catch (const std::exception& e) {
        // tried again every second until it works: registered once, not every second
        if (!FLiveFehler)
            ORVInfo().RegisterException(QStringLiteral("TfrmKalmetMain.AenderungenUebernehmen"), e, false);
        FLiveFehler = true;
        return false;
    }
    FLiveFehler = false;
    FStand = QTime::currentTime();
    // print tables built before the change are of another state
    FLastConfig = TDruckConfig::EmptyGet();
    StandZeigen();
    return true;
}

void TfrmKalmetMain::KanalGeaendert(bool wieder)
{
    if (wieder)
        FVerbindungsHinweis = QStringLiteral("Verbindung zum Server wiederhergestellt um %1, Liste neu geladen")
                                  .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    StandZeigen();
}

void TfrmKalmetMain::StandZeigen()
{
    QStringList teile;
    if (FStand.isValid())
        teile << QStringLiteral("Stand: %1").arg(FStand.toString(QStringLiteral("HH:mm:ss")));
    if (FAenderungen) {
        switch (FAenderungen->Kanal()) {
        case TIAAenderungen::TKanal::Live:
            teile << QStringLiteral("Live-Aktualisierung an");
            break;
        case TIAAenderungen::TKanal::Abfrage:
            teile << QStringLiteral("Abgleich alle 100 ms");
            break;
        case TIAAenderungen::TKanal::Unterbrochen:
            teile << QStringLiteral("Verbindung zur Datenbank unterbrochen, neuer Versuch jede Sekunde");
            break;
        }
    }
    if (!FVerbindungsHinweis.isEmpty())
        teile << FVerbindungsHinweis;
    lblStand->setText(teile.join(QStringLiteral(" · ")));
}
