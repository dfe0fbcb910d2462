// The report component's one member that needs widgets: it lives with the viewer, so that
// programs without a window link the component without a widget library.
#include "framework/report/crystalrdcn.h"
#include "framework/report/viewer.h"

void TCrystalRDCn::ShowReport()
{
    std::unique_ptr<TReportLauf> lauf = LaufBilden();
    TReportViewer viewer(*lauf, {FCaption, FExportDatei, FExportAktiv, FKomAktiv, FKomGrund}, FEltern);
    viewer.setWindowState(FFensterZustand);
    viewer.exec();
}
