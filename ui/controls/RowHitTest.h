#pragma once
// Finds the visible list row under a point.
#include <wx/gdicmn.h>

#include <functional>

// The row among top through top + perPage (bounded by count) whose rectangle, given by rectOf, holds
// point; -1 when the point is on none of them.
long RowHitTest(const wxPoint& point, long top, long perPage, long count,
                const std::function<wxRect(long)>& rectOf);
