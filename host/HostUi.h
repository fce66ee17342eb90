#pragma once
// The host's own menus, toolbar tools and phone panels. The menu bar and toolbar are shared with the
// plug-ins, which replace their content while shown; the host puts its own back with these.
#include <wx/panel.h>

class wxMenuBar;
class wxStaticText;
class wxToolBar;

// Removes and deletes every menu of the bar, then appends the host's.
void FillHostMenus(wxMenuBar* bar);
// Clears the toolbar and adds the host's tools.
void FillHostTools(wxToolBar* bar);

// The phone's picture and its state in words: the host's navigation page and the strip window.
class PhonePanel : public wxPanel {
public:
    PhonePanel(wxWindow* parent, const wxString& state);
    void SetState(const wxString& state);

private:
    wxStaticText* label;
};

// A drawn phone, for the navigation bar and the phone panels.
wxBitmap PhonePicture(int size);
