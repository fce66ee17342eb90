#pragma once
// Where a cell's single line of text goes, shared by the striped rows and the flat header.
#include <wx/gdicmn.h>
#include <wx/listbase.h>

namespace CellLayout {

// The left edge of text textWidth wide in cell: centred, right-aligned or left-aligned by format,
// the two last inset pixels from the cell's edge.
int TextX(const wxRect& cell, int textWidth, int format, int inset);

// The top of something height high centred vertically in box.
int CentredY(const wxRect& box, int height);

}  // namespace CellLayout
