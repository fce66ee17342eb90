#include "ui/panes/NavPageLayout.h"

#include <algorithm>

NavPageLayout NavPageLayout::For(const wxSize& client) {
    int width = std::max(client.x - 2, 0);
    NavPageLayout layout;
    layout.tree = wxRect(1, 1, width, std::max(client.y - (kStripHeight + 1) - 1, 0));
    layout.strip = wxRect(1, client.y - (kStripHeight - 1), width, kStripHeight - 2);
    layout.lineY = client.y - kStripHeight;
    return layout;
}
