#include "ui/controls/EditKeyFilter.h"

#include <wx/defs.h>

EditKeyAction EditKeyFilter(int keyCode, bool ctrlDown) {
    if (keyCode == WXK_ESCAPE) return EditKeyAction::Swallow;
    if (!ctrlDown) return EditKeyAction::Pass;
    switch (keyCode) {
        case 'C':
            return EditKeyAction::Copy;
        case 'V':
            return EditKeyAction::Paste;
        case 'A':
            return EditKeyAction::SelectAll;
        default:
            return EditKeyAction::Swallow;
    }
}
