#pragma once

#include <QVariant>

#include <vector>

// One row of a list view's model. Its address stays valid until the list is cleared, so
// records may keep it as a handle of the row they were read from.
struct TVRListNode {
    std::vector<QVariant> Werte;
    Qt::CheckState CheckState = Qt::Unchecked;
    bool HatCheckbox = false;
    int Index = 0;
};
using PVRListNode = TVRListNode*;
