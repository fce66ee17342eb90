#include "ui/rules/DeletionWalk.h"

DeletionResult DeleteRowsBottomUp(const std::vector<int>& selected, int focused, int rowCount,
                                  const std::function<bool(int)>& erase,
                                  const std::function<void(int)>& removed) {
    DeletionResult result;
    // A focused row that stays keeps the focus, moving up with every row deleted above it. When the
    // focused row itself goes, the focus goes to the position it stood at (or the first row).
    int focus = focused < 0 ? 0 : focused;
    bool focusWent = false;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        result.lastSucceeded = erase(*row);
        if (!result.lastSucceeded) continue;
        removed(*row);
        --rowCount;
        if (*row == focused) {
            focusWent = true;
            focus = focused < rowCount ? focused : 0;
        } else if (*row < focus && !focusWent) {
            --focus;
        }
    }
    result.focusRow = rowCount == 0 ? -1 : focus < rowCount ? focus : 0;
    return result;
}
