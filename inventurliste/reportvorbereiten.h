#pragma once

#include <cstdint>

class TCrystalRDCn;
class TDBFFiles_4_Crystal;
class TInventurliste;
struct TReportStart;

// Reads the template of the first selected layout before any list is built: a missing or
// broken one ends the print at once, naming the file (EORVFehler).
void VorlagePruefen(TInventurliste& AListe);

// Hands the report start to the report component, in the order the component expects: clear,
// template and tables, parameters, margins, picture link, caption, title, maximised viewer,
// export file, export action off and Kom action on. The window then shows the report; the
// print command writes it to files.
void ReportVorbereiten(TCrystalRDCn& ACrystal, const TReportStart& AStart, TDBFFiles_4_Crystal& ASets, int32_t ARepInd);
