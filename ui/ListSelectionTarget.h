#pragma once
// Who is told which item the list pane's selection stands for (the main view, when it shows items).
#include "ui/ListContent.h"

class ListSelectionTarget {
public:
    virtual ~ListSelectionTarget() = default;
    virtual void ShowItem(const ListItem& item) = 0;
};
