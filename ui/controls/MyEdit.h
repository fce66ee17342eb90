#pragma once
// The single-line box of a field editor. It keeps its one line vertically centred, lets only Ctrl+C,
// Ctrl+V and Ctrl+A through of the Ctrl shortcuts, keeps Esc to itself, and when read-only and
// showing a URL or an e-mail address, acts as a link that opens it.
#include <wx/textctrl.h>

class CMyEdit : public wxTextCtrl {
public:
    CMyEdit(wxWindow* parent, wxWindowID id, int fieldType, const wxString& value = wxString(),
            const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    int GetFieldType() const { return fieldType; }
    void SetFieldType(int type);
    void SetEditable(bool editable) override;

    // True when the box acts as a link (read-only URL or e-mail field).
    bool IsLink() const;

private:
    void UpdateCursor();
    void OnCharHook(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);

    int fieldType;
};
