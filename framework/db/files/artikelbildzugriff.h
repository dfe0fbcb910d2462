#pragma once

#include "framework/core/int32trio.h"

#include <QByteArray>

#include <map>
#include <vector>

using TArtikelbilder = std::map<TInt32Trio, QByteArray, bool (*)(const TInt32Trio&, const TInt32Trio&)>;

// The pictures of the articles ids (a few hundred at a time) from the article master's picture
// table; an article without one is missing from the answer. A failure raises at ort.
TArtikelbilder Artikelbild_Lesen(const std::vector<TInt32Trio>& ids, const QString& ort);
