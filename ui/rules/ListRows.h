#pragma once
// What the main view asks of the list pane after it saved or dropped a record.
#include <cstdint>

#include "ui/rules/ListContent.h"

class ListRows {
public:
    virtual ~ListRows() = default;
    // Only when that kind is shown: deletes the first row standing for id (a new record dropped
    // unsaved); an emptied list resets the main view's pane for that kind.
    virtual void RemoveRow(ListKind kind, int32_t id) = 0;
    // A saved record's row takes its new name, icon and, for cards, its second column.
    virtual void UpdateRow(ListKind kind, int32_t id) = 0;
    virtual int RowCount() const = 0;
    // Selects and focuses row 0 if there is one.
    virtual void SelectFirstRow() = 0;
    // Only when that kind is shown: selects and focuses the row standing for id; the main view is not told.
    virtual void SelectRecord(ListKind kind, int32_t id) = 0;
    // The model was read again: the shown kind's rows are rebuilt, and the selected item stays
    // selected while it is still there; the main view is not told.
    virtual void Reload() = 0;
};
