#include "tests/kalmet/bericht.h"

#include "framework/app/layoutspeicher.h"
#include "inventurliste/bau.h"
#include "inventurliste/reportstart.h"
#include "inventurliste/reportvorbereiten.h"

#include <gtest/gtest.h>

void ListeBauen(TInventurliste& liste, const TZeileAnzeige& inventur, const QString& report, const QString& ordner)
{
    liste.SelectedLayouts().clear();
    for (const TLayoutSatz& l : TLayoutSpeicher::Lesen("KALMET", {report.left(8)}))
        liste.SelectedLayouts().push_back(std::make_unique<TZEP_SelectedLayout>(TZEP_SelectedLayout{l.Report, l.Titel, l.Optionen, l.Parameter}));
    ASSERT_EQ(liste.SelectedLayouts().size(), 1u) << qPrintable(report);
    TLayOutParams params;
    liste.ReadLayOutParams(params);
    const TDruckConfig c = TInventurlisteBau::Anfrage(liste, {inventur}, "", 0, params, EncodeDate(2026, 2, 1));
    ASSERT_TRUE(TInventurlisteBau(liste, c, 0).Ausfuehren(ordner, {}));
}

void ReportSetzen(TInventurliste& liste, TCrystalRDCn& crystal)
{
    ReportVorbereiten(crystal, ReportStartBilden(liste, 0, liste.RR(), 0), liste.CrystalSets(), -1);
}
