#pragma once

#include "framework/core/int32trio.h"

#include <QString>

#include <functional>

class TInvMani;

// Balancing postings on count days that are no count any more. A booking keeps its effect off
// the branch's other count days by balancing postings on them; when such a day is cancelled
// or its inventories are deleted afterwards, its balancing postings are taken back and, where
// a later count day of the branch holds the article, put on that day instead: the stock is
// what it would be had the day never been counted. Each article in a transaction of its own
// under its lock, with a protocol line; an article locked elsewhere waits for the next run.
// testWG: whether the article belongs to a product-group pattern. The number of articles corrected.
int AusgleicheEntfallenerTageZuruecknehmen(TInvMani& mani, const std::function<bool(const TInt32Trio&, const QString&)>& testWG);
