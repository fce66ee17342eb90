#include "ui/controls/IconGroupView.h"

#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/settings.h>

#include <vector>

#include "ui/controls/MyIconList.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kCellSize = 44;
constexpr int kHeaderHeight = 24;
constexpr int kScrollStep = 8;

std::vector<int> GroupSizes(const CMyIconList& icons) {
    std::vector<int> sizes;
    for (int g = 0; g < icons.GroupCount(); ++g) sizes.push_back(icons.GroupSize(g));
    return sizes;
}

}  // namespace

CIconGroupView::CIconGroupView(wxWindow* parent, wxWindowID id, CMyIconList& icons)
    : wxScrolledCanvas(parent, id, wxDefaultPosition, wxDefaultSize,
                       wxBORDER_SIMPLE | wxVSCROLL | wxWANTS_CHARS),
      icons(icons),
      groups(GroupSizes(icons), kCellSize, kHeaderHeight) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetScrollRate(0, kScrollStep);
    Bind(wxEVT_PAINT, &CIconGroupView::OnPaint, this);
    Bind(wxEVT_SIZE, &CIconGroupView::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &CIconGroupView::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CIconGroupView::OnDoubleClick, this);
    Bind(wxEVT_KEY_DOWN, &CIconGroupView::OnKey, this);
}

void CIconGroupView::Select(int icon) {
    selected = icon >= 0 && icon < groups.IconCount() ? icon : -1;
    ScrollToSelected();
    Refresh();
    Notify(wxEVT_LIST_ITEM_SELECTED);
}

void CIconGroupView::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    DoPrepareDC(dc);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    dc.SetFont(GetFont().Bold());
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)));
    for (int g = 0; g < groups.GroupCount(); ++g) {
        const wxRect r = groups.HeaderRect(g);
        const wxString title = LoadResString(CMyIconList::GroupTitleId(g));
        dc.DrawText(title, r.x + 4, r.y + (r.height - dc.GetTextExtent(title).y) / 2);
        dc.DrawLine(r.x + 4, r.GetBottom() - 1, r.GetRight() - 4, r.GetBottom() - 1);
    }
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
    if (selected >= 0) dc.DrawRectangle(groups.IconRect(selected).Deflate(2));
    for (int i = 0; i < groups.IconCount() && i < icons.Large()->GetImageCount(); ++i) {
        const wxRect r = groups.IconRect(i);
        icons.Large()->Draw(i, dc, r.x + (r.width - kIconSize) / 2, r.y + (r.height - kIconSize) / 2,
                            wxIMAGELIST_DRAW_TRANSPARENT);
    }
}

void CIconGroupView::OnSize(wxSizeEvent& event) {
    groups.SetWidth(GetClientSize().x);
    SetVirtualSize(GetClientSize().x, groups.Height());
    ScrollToSelected();
    Refresh();
    event.Skip();
}

int CIconGroupView::IconAt(const wxMouseEvent& event) const {
    return groups.IconAt(CalcUnscrolledPosition(event.GetPosition()));
}

void CIconGroupView::OnLeftDown(wxMouseEvent& event) {
    SetFocus();
    const int icon = IconAt(event);
    if (icon >= 0 && icon != selected) Select(icon);
}

void CIconGroupView::OnDoubleClick(wxMouseEvent& event) {
    const int icon = IconAt(event);
    if (icon < 0) return;
    if (icon != selected) Select(icon);
    Notify(wxEVT_LIST_ITEM_ACTIVATED);
}

void CIconGroupView::OnKey(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
        case WXK_LEFT:
            if (selected > 0) Select(selected - 1);
            return;
        case WXK_RIGHT:
            if (selected + 1 < groups.IconCount()) Select(selected + 1);
            return;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            if (selected >= 0) Notify(wxEVT_LIST_ITEM_ACTIVATED);
            return;
        default:
            event.Skip();
    }
}

void CIconGroupView::ScrollToSelected() {
    if (selected < 0) return;
    const wxRect r = groups.IconRect(selected);
    const int top = GetViewStart().y * kScrollStep;
    const int visible = GetClientSize().y;
    if (r.y < top) {
        Scroll(-1, r.y / kScrollStep);
    } else if (r.GetBottom() >= top + visible) {
        Scroll(-1, (r.GetBottom() - visible) / kScrollStep + 1);
    }
}

void CIconGroupView::Notify(wxEventType type) {
    wxListEvent event(type, GetId());
    event.SetEventObject(this);
    event.m_itemIndex = selected;
    ProcessWindowEvent(event);
}
