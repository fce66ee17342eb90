#include "ui/controls/CellLayout.h"

namespace CellLayout {

int TextX(const wxRect& cell, int textWidth, int format, int inset) {
    switch (format) {
        case wxLIST_FORMAT_CENTRE:
            return cell.x + (cell.width - textWidth) / 2;
        case wxLIST_FORMAT_RIGHT:
            return cell.x + cell.width - inset - textWidth;
        default:
            return cell.x + inset;
    }
}

int CentredY(const wxRect& box, int height) {
    return box.y + (box.height - height) / 2;
}

}  // namespace CellLayout
