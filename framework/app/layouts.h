#pragma once

#include <QStringList>

#include <memory>
#include <vector>

// A print layout the user selected: report file, title, the layout options (first list)
// and the report parameters (second list), each as name=value lines.
struct TZEP_SelectedLayout {
    QString ReportDatei;
    QString Titel;
    QStringList Liste1;
    QStringList Liste2;
};

// The selected layouts; the list owns its items.
using TZEP_SelectedLayout_List = std::vector<std::unique_ptr<TZEP_SelectedLayout>>;
