#include "ui/controls/IconGroupLayout.h"

#include <algorithm>
#include <utility>

IconGroupLayout::IconGroupLayout(std::vector<int> groupSizes, int cellSize, int headerHeight)
    : sizes(std::move(groupSizes)), cell(std::max(1, cellSize)), header(headerHeight) {
    SetWidth(cell);
}

void IconGroupLayout::SetWidth(int newWidth) {
    width = std::max(newWidth, cell);
    const int perRow = width / cell;
    headers.clear();
    icons.clear();
    int top = 0;
    for (int size : sizes) {
        headers.emplace_back(0, top, width, header);
        top += header;
        for (int i = 0; i < size; ++i)
            icons.emplace_back(i % perRow * cell, top + i / perRow * cell, cell, cell);
        top += (std::max(size, 0) + perRow - 1) / perRow * cell;
    }
    height = top;
}

wxRect IconGroupLayout::HeaderRect(int group) const {
    return group >= 0 && group < GroupCount() ? headers[group] : wxRect();
}

wxRect IconGroupLayout::IconRect(int icon) const {
    return icon >= 0 && icon < IconCount() ? icons[icon] : wxRect();
}

int IconGroupLayout::IconAt(const wxPoint& point) const {
    auto found = std::find_if(icons.begin(), icons.end(), [&](const wxRect& r) { return r.Contains(point); });
    return found == icons.end() ? -1 : static_cast<int>(found - icons.begin());
}
