#pragma once
// "Select Icon": the card icons in their seven groups, the chosen one shown in the strip along the top from
// the start. After ShowModal() returns wxID_OK, SelectedIndex() is the chosen icon (a double-click is OK).
#include <wx/dialog.h>

class CIconGroupView;
class CMyIconList;
class wxDC;

class CTessera_IconSelectDlg : public wxDialog {
public:
    // index: the icon selected when the dialog opens.
    CTessera_IconSelectDlg(wxWindow* parent, CMyIconList& icons, int index);

    int InitialIndex() const { return initialIndex; }
    int SelectedIndex() const { return selectedIndex; }
    CIconGroupView* View() const { return view; }
    wxWindow* Strip() const { return strip; }

private:
    void OnPaintStrip(wxPaintEvent& event);
    // The strip's background and the selected icon.
    void DrawStrip(wxDC& dc);

    CMyIconList& icons;
    int initialIndex;
    int selectedIndex;
    wxWindow* strip;
    CIconGroupView* view;
};
