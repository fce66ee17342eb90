#pragma once
// Where the navigation page puts its tree and the host's strip window: the strip is a 150-pixel band
// at the bottom, under a 3-pixel line, and both sit 1 pixel inside the page's frame.
#include <wx/gdicmn.h>

struct NavPageLayout {
    static constexpr int kStripHeight = 150;

    wxRect tree;
    wxRect strip;
    int lineY;  // the top of the separating line

    static NavPageLayout For(const wxSize& client);
};
