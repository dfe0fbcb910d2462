// Count files of hand-held scanners imported when the window opens and on demand: progress
// on large folders, the result, and the overview with the new counted values.
#include "kalmetmain/frmkalmetmain.h"

#include "framework/app/interaktion.h"
#include "framework/gui/progressdialog.h"
#include "framework/stock/mdebucher.h"

#include <optional>

namespace {

// From this many files on the import shows its progress.
constexpr int CFortschrittAb = 5;

}

void TfrmKalmetMain::ZaehldateienBeimStart()
{
    // the window opens also when the import fails (folder, database): the failure is
    // registered and told with the result
    const TFehlerSammler fehler;
    ORVGuard(
        QStringLiteral("TfrmKalmetMain.FormCreate"),
        [this] {
            TMDEBucher bucher;
            if (bucher.DateiSuche())
                FStartZaehldateien.emplace(bucher.Ergebnis().Abgelehnt.empty() ? maInfo : maFehler, bucher.Ergebnis().Text());
        },
        false);
    if (const QString bericht = fehler.Bericht(); !bericht.isEmpty())
        FStartZaehldateien.emplace(maFehler, QStringLiteral("Die Zähldateien wurden nicht alle eingelesen:\n%1").arg(bericht));
}

void TfrmKalmetMain::ZaehldateienBeimStartZeigen()
{
    if (!FStartZaehldateien)
        return;
    const auto [art, text] = *FStartZaehldateien;
    FStartZaehldateien.reset();
    ORVInteraktion().Meldung(art, QStringLiteral("Zähldateien beim Start eingelesen"), text, this);
}

void TfrmKalmetMain::actZaehldateienExecute()
{
    const TBeschaeftigt beschaeftigt(*this);
    ORVGuard(QStringLiteral("TfrmKalmetMain.actZaehldateienExecute"), [this] {
        TORVProgressDialog fortschritt(this);
        fortschritt.setWindowTitle(QStringLiteral("Zähldateien werden eingelesen ..."));
        fortschritt.SetAbbruchSichtbar(false);
        fortschritt.ZaehlerAdd(QStringLiteral("Datei"), QStringLiteral("Datei: "), QStringLiteral("xxxxxxxxxxxxxxxxxxxx"));
        std::optional<TProgressSichtbar> sichtbar;
        TMDEBucher bucher;
        bucher.OnDatei = [&](int nr, int anzahl, const QString& name) {
            if (anzahl < CFortschrittAb)
                return;
            if (!sichtbar)
                sichtbar.emplace(fortschritt);
            fortschritt.ZaehlerSetzen(QStringLiteral("Datei"), QStringLiteral("%1 von %2: %3").arg(nr).arg(anzahl).arg(name));
            ORVInfoProcessMessages(10);
        };
        const bool gefunden = bucher.DateiSuche();
        sichtbar.reset();
        const TMDEErgebnis& e = bucher.Ergebnis();
        ORVInteraktion().Meldung(e.Abgelehnt.empty() ? maInfo : maFehler, QStringLiteral("Zähldateien einlesen"),
                                 gefunden ? e.Text() : QStringLiteral("Im Ordner %1 liegen keine Zähldateien.").arg(bucher.Ordner()), this);
    });
    // counts changed: the overview reads its values again, print tables are of another state
    FLastConfig = TDruckConfig::EmptyGet();
    ZeilenAktualisieren();
}
