#pragma once

#include <QSettings>

#include <memory>

// The settings of the program user (window places, column widths, zoom) in the application's
// settings file, one group per user: on a terminal several users share one system account.
std::unique_ptr<QSettings> BenutzerEinstellungen();
