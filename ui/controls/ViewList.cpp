#include "ui/controls/ViewList.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

CViewList::CViewList(wxWindow* parent, wxWindowID id, long style, const wxPoint& pos, const wxSize& size)
    : wxListCtrl(parent, id, pos, size, style) {
    parent->Bind(wxEVT_PAINT, &CViewList::OnParentPaint, this);
    Bind(wxEVT_SIZE, &CViewList::OnMoved, this);
    Bind(wxEVT_MOVE, &CViewList::OnMoved, this);
}

CViewList::~CViewList() {
    GetParent()->Unbind(wxEVT_PAINT, &CViewList::OnParentPaint, this);
}

void CViewList::OnParentPaint(wxPaintEvent& event) {
    wxPaintDC dc(GetParent());
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(FrameRect());
    event.Skip();
}

// The frame moves with the list: the parent repaints where it was and where it is.
void CViewList::OnMoved(wxEvent& event) {
    GetParent()->Refresh();
    event.Skip();
}
