#pragma once
// The button of a password row: a push button that knows the edit of its row.
#include <wx/button.h>

class CMyEdit;

class CMyButton : public wxButton {
public:
    CMyButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxSize& size, CMyEdit* edit)
        : wxButton(parent, id, label, wxDefaultPosition, size), edit(edit) {}

    CMyEdit* Edit() const { return edit; }

private:
    CMyEdit* edit;
};
