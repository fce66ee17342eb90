#include "ui/controls/RowHitTest.h"

#include <algorithm>

long RowHitTest(const wxPoint& point, long top, long perPage, long count,
                const std::function<wxRect(long)>& rectOf) {
    const long last = std::min(top + perPage, count - 1);
    for (long row = std::max(top, 0L); row <= last; ++row) {
        if (rectOf(row).Contains(point)) return row;
    }
    return -1;
}
