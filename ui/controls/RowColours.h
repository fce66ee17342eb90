#pragma once
// The colours of a striped list row.
#include <wx/colour.h>

struct RowColours {
    wxColour background;
    wxColour text;

    // Odd rows grey, even rows white, black text; a selected row shows the system highlight only while
    // the list has the keyboard focus.
    static RowColours For(long row, bool selected, bool listFocused);
};
