#pragma once
// The walk of a Delete over the selected rows, from the last up, so that the rows still to come keep
// their places. A row whose item could not be deleted stays, and the walk goes on.
#include <functional>
#include <vector>

struct DeletionResult {
    bool lastSucceeded = false;  // the deletion of the topmost selected row
    int focusRow = -1;           // the row to select afterwards; -1 when the list is empty
};

// selected: ascending rows; focused: the focused row or -1. erase(row) deletes the row's item and
// says whether it went; removed(row) then takes the row away.
DeletionResult DeleteRowsBottomUp(const std::vector<int>& selected, int focused, int rowCount,
                                  const std::function<bool(int)>& erase,
                                  const std::function<void(int)>& removed);
