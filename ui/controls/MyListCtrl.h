#pragma once
// A report list whose columns the user cannot resize and whose empty area, when clicked, takes the
// focus without clearing the selection.
#include <wx/listctrl.h>

class CMyListCtrl : public wxListCtrl {
public:
    CMyListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);

    // The visible row under point (in the list's client coordinates, those of GetItemRect), or -1.
    long VisibleRowAt(const wxPoint& point) const;

private:
    void OnRowsPress(wxMouseEvent& event);

    wxWindow* rows;
};
