#pragma once

#include "buchung/inventurbuchung.h"
#include "framework/stock/mdebucher.h"

#include <QStringList>

#include <vector>

// The inventories among zeilen whose counts a count file may still hold: a rejected file in
// "fehler" that names their branch and count day keeps them from being booked until a person
// has mended and re-imported it or taken it away, a file still waiting in the folder until it
// is imported. One text per inventory with its files.
QStringList ZaehldateienOffen(TMDEBucher& zaehldateien, const std::vector<TBuchungsZeile>& zeilen);
