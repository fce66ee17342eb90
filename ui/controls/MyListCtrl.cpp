#include "ui/controls/MyListCtrl.h"

#include "ui/controls/RowHitTest.h"

CMyListCtrl::CMyListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxListCtrl(parent, id, pos, size, style), rows(GetChildren().front()) {
    Bind(wxEVT_LIST_COL_BEGIN_DRAG, [](wxListEvent& event) { event.Veto(); });
    // The rows' area, the list's first child, hands its mouse events to the list first, in its own
    // coordinates.
    for (const auto& press : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MIDDLE_DOWN, wxEVT_LEFT_DCLICK}) {
        Bind(press, &CMyListCtrl::OnRowsPress, this);
    }
}

long CMyListCtrl::VisibleRowAt(const wxPoint& point) const {
    return RowHitTest(point, GetTopItem(), GetCountPerPage(), GetItemCount(), [this](long row) {
        wxRect rect;
        GetItemRect(row, rect);
        return rect;
    });
}

void CMyListCtrl::OnRowsPress(wxMouseEvent& event) {
    if (VisibleRowAt(event.GetPosition() + rows->GetPosition()) >= 0) {
        event.Skip();
    } else {
        SetFocus();
    }
}
