#pragma once
// Where the icon chooser puts its groups: each group's header line across the width, then the group's
// icons in rows of as many square cells as the width holds. Icon indexes count through the groups in order.
#include <wx/gdicmn.h>

#include <vector>

class IconGroupLayout {
public:
    // groupSizes: the number of icons in each group.
    IconGroupLayout(std::vector<int> groupSizes, int cellSize, int headerHeight);

    void SetWidth(int width);
    int Height() const { return height; }
    int IconCount() const { return static_cast<int>(icons.size()); }
    int GroupCount() const { return static_cast<int>(headers.size()); }

    wxRect HeaderRect(int group) const;
    // An empty rectangle for an index that is not an icon.
    wxRect IconRect(int icon) const;
    // The icon whose cell holds the point, or -1.
    int IconAt(const wxPoint& point) const;

private:
    std::vector<int> sizes;
    int cell;
    int header;
    int width = 0;
    int height = 0;
    std::vector<wxRect> headers;
    std::vector<wxRect> icons;
};
