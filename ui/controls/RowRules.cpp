#include "ui/controls/RowRules.h"

#include <wx/dcclient.h>
#include <wx/listctrl.h>

#include <algorithm>

RowRules::RowRules(wxListCtrl& list, wxWindow& rows) : list(list), rows(rows) {
    Bind(wxEVT_PAINT, &RowRules::OnPaint, this);
    rows.PushEventHandler(this);
}

RowRules::~RowRules() {
    rows.RemoveEventHandler(this);
}

void RowRules::OnPaint(wxPaintEvent& event) {
    GetNextHandler()->ProcessEvent(event);  // the list paints its rows first
    wxPaintDC dc(&rows);
    static wxDash everyOtherPixel[] = {1, 1};
    wxPen pen(wxColour(138, 136, 143), 1, wxPENSTYLE_USER_DASH);
    pen.SetDashes(2, everyOtherPixel);
    dc.SetPen(pen);
    const int width = rows.GetClientSize().GetWidth();
    const long top = list.GetTopItem();
    const long end = std::min<long>(list.GetItemCount(), top + list.GetCountPerPage() + 1);
    for (long row = top; row < end; ++row) {
        wxRect rect;
        if (!list.GetItemRect(row, rect)) continue;
        rect.y -= rows.GetPosition().y;  // from the list's client area to the rows'
        dc.DrawLine(0, rect.GetTop(), width, rect.GetTop());
        dc.DrawLine(0, rect.GetBottom(), width, rect.GetBottom());
    }
}
