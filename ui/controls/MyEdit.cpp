#include "ui/controls/MyEdit.h"

#include "ui/controls/EditKeyFilter.h"
#include "ui/controls/EditLink.h"
#include "ui/controls/LinkLauncher.h"

CMyEdit::CMyEdit(wxWindow* parent, wxWindowID id, int fieldType, const wxString& value, const wxPoint& pos,
                 const wxSize& size, long style)
    // Single-line: the toolkit then keeps the one line vertically centred whatever the height.
    : wxTextCtrl(parent, id, value, pos, size, style & ~wxTE_MULTILINE), fieldType(fieldType) {
    Bind(wxEVT_CHAR_HOOK, &CMyEdit::OnCharHook, this);
    Bind(wxEVT_LEFT_DOWN, &CMyEdit::OnLeftDown, this);
    UpdateCursor();
}

void CMyEdit::SetFieldType(int type) {
    fieldType = type;
    UpdateCursor();
}

void CMyEdit::SetEditable(bool editable) {
    wxTextCtrl::SetEditable(editable);
    UpdateCursor();
}

bool CMyEdit::IsLink() const {
    return EditLink::IsLinkField(fieldType, IsEditable());
}

void CMyEdit::UpdateCursor() {
    SetCursor(IsLink() ? wxCursor(wxCURSOR_HAND) : wxNullCursor);
}

void CMyEdit::OnCharHook(wxKeyEvent& event) {
    switch (EditKeyFilter(event.GetKeyCode(), event.ControlDown())) {
        case EditKeyAction::Pass:
            event.Skip();
            break;
        case EditKeyAction::Copy:
            Copy();
            break;
        case EditKeyAction::Paste: {
            // A limit on what the box takes handles the paste itself.
            wxClipboardTextEvent paste(wxEVT_TEXT_PASTE, GetId());
            paste.SetEventObject(this);
            if (!HandleWindowEvent(paste)) Paste();
            break;
        }
        case EditKeyAction::SelectAll:
            SelectAll();
            break;
        case EditKeyAction::Swallow:
            break;
    }
}

void CMyEdit::OnLeftDown(wxMouseEvent& event) {
    event.Skip();
    if (const auto link = EditLink::For(fieldType, IsEditable(), GetValue())) {
        LaunchLink(link->target, link->verb);
    }
}
