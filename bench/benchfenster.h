#pragma once

#include "bench/benchdb.h"
#include "kalmetmain/frmkalmetmain.h"

#include <QApplication>

// The year of the benchmark's 20,000 inventories, as the year box shows it.
inline const QString CBenchJahr = QStringLiteral("01.02.2024 - 31.01.2025");

// Writes those inventories and shows the main window at 1000 × 700, the year not yet chosen.
inline void BenchFensterZeigen(TfrmKalmetMain& f, QApplication& app)
{
    InventurenAnlegen();
    f.resize(1000, 700);
    f.show();
    app.processEvents();
}
