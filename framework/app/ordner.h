#pragma once

#include <QString>

// The folders of the installation by number; 19 holds the report templates.
QString C_ORVFolder_Value(int nr);

// The full path of a file in a folder of the installation: "Reports" (the report templates;
// parameter ORDNER_REPORTS, else the installed reports folder, else the source tree's when
// run from the build folder) or "Listen" (exported lists; parameter ORDNER_LISTEN, else
// "Listen" in the user's data folder). anlegen creates the folder when it is missing.
QString GetDirWwsByName(const QString& ordner, const QString& datei, bool anlegen);
QString GetDirWwsByName(int ordner, const QString& datei, bool anlegen);
