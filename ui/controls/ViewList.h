#pragma once
// The choosers' list view (report or icon): a list that draws a one-pixel frame in the system's grey-text
// colour on its parent, just outside its own border.
#include <wx/listctrl.h>

class CViewList : public wxListCtrl {
public:
    CViewList(wxWindow* parent, wxWindowID id, long style, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize);
    ~CViewList() override;

    // The frame's rectangle, in the parent's coordinates.
    wxRect FrameRect() const { return GetRect().Inflate(1); }

private:
    void OnParentPaint(wxPaintEvent& event);
    void OnMoved(wxEvent& event);
};
