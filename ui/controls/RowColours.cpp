#include "ui/controls/RowColours.h"

#include <wx/settings.h>

RowColours RowColours::For(long row, bool selected, bool listFocused) {
    if (selected && listFocused) {
        return {wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT),
                wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)};
    }
    const wxColour stripe = row % 2 ? wxColour(230, 230, 230) : *wxWHITE;
    return {stripe, *wxBLACK};
}
