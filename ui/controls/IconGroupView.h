#pragma once
// The icon chooser's view: the large card icons under their group headers, at most one selected. A click
// (or an arrow key) selects and sends wxEVT_LIST_ITEM_SELECTED; a double-click (or Enter) on the selected
// icon sends wxEVT_LIST_ITEM_ACTIVATED; both carry the icon index as the event's GetIndex().
#include <wx/scrolwin.h>

#include "ui/controls/IconGroupLayout.h"

class CMyIconList;

class CIconGroupView : public wxScrolledCanvas {
public:
    CIconGroupView(wxWindow* parent, wxWindowID id, CMyIconList& icons);

    int Selected() const { return selected; }
    // Selects the icon (-1: none), scrolls it into view and tells the parent.
    void Select(int icon);
    const IconGroupLayout& Groups() const { return groups; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnDoubleClick(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);
    void ScrollToSelected();
    void Notify(wxEventType type);
    int IconAt(const wxMouseEvent& event) const;

    CMyIconList& icons;
    IconGroupLayout groups;
    int selected = -1;
};
