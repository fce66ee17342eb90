#include "ui/controls/MyHeadCtrl.h"

#include "ui/controls/CellLayout.h"

#include <wx/dcbuffer.h>
#include <wx/listctrl.h>

#include <algorithm>

namespace {

constexpr size_t kMaxTitle = 500;
constexpr int kTextInset = 3;
constexpr int kDividerSlack = 3;

}  // namespace

const wxColour CMyHeadCtrl::kBackground(230, 230, 230);

CMyHeadCtrl::CMyHeadCtrl(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxSize(-1, kHeight), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(-1, kHeight));
    Bind(wxEVT_PAINT, &CMyHeadCtrl::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CMyHeadCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CMyHeadCtrl::OnLeftDClick, this);
    Bind(wxEVT_MOTION, &CMyHeadCtrl::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CMyHeadCtrl::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { tracked = -1; });
}

void CMyHeadCtrl::InsertItem(size_t index, const Item& item) {
    items.insert(items.begin() + std::min(index, items.size()), item);
    Refresh();
}

void CMyHeadCtrl::SetItemWidth(size_t index, int width) {
    items.at(index).width = std::max(width, 0);
    Refresh();
}

void CMyHeadCtrl::SetTextFont(const wxFont& font) {
    textFont = font;
    Refresh();
}

wxSize CMyHeadCtrl::DoGetBestSize() const {
    int width = 0;
    for (const Item& item : items) width += item.width;
    return wxSize(width, kHeight);
}

int CMyHeadCtrl::ColumnLeft(size_t index) const {
    int x = 0;
    for (size_t i = 0; i < index; ++i) x += items[i].width;
    return x;
}

wxRect CMyHeadCtrl::ItemRect(size_t index) const {
    const int shift = index > 0 ? 1 : 0;
    return wxRect(ColumnLeft(index) + shift, 0, items[index].width, GetClientSize().y);
}

void CMyHeadCtrl::DrawHeader(wxDC& dc) const {
    dc.SetBrush(wxBrush(kBackground));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(wxPoint(0, 0), GetClientSize());
    dc.SetFont(textFont.IsOk() ? textFont : GetFont());
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    for (size_t i = 0; i < items.size(); ++i) {
        const wxRect cell = ItemRect(i);
        dc.DrawRectangle(cell);
        const wxString title = items[i].text.Left(kMaxTitle).BeforeFirst('\n');
        const wxSize extent = dc.GetTextExtent(title);
        const int format = i == 0 ? wxLIST_FORMAT_CENTRE : items[i].format;
        wxDCClipper clip(dc, cell);
        dc.DrawText(title, CellLayout::TextX(cell, extent.x, format, kTextInset),
                    CellLayout::CentredY(cell, extent.y));
    }
}

void CMyHeadCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    DrawHeader(dc);
}

int CMyHeadCtrl::DividerAt(int x) const {
    for (size_t i = 0; i < items.size(); ++i) {
        if (std::abs(x - ColumnLeft(i + 1)) < kDividerSlack) return static_cast<int>(i);
    }
    return -1;
}

bool CMyHeadCtrl::Notify(wxEventType type, int column) {
    wxListEvent event(type, GetParent()->GetId());
    event.SetEventObject(GetParent());
    event.m_col = column;
    GetParent()->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
}

void CMyHeadCtrl::OnLeftDown(wxMouseEvent& event) {
    const int column = DividerAt(event.GetX());
    if (column < 0 || !Notify(wxEVT_LIST_COL_BEGIN_DRAG, column)) return;
    tracked = column;
    CaptureMouse();
}

void CMyHeadCtrl::OnLeftDClick(wxMouseEvent& event) {
    const int column = DividerAt(event.GetX());
    if (column < 0 || !Notify(wxEVT_LIST_COL_BEGIN_DRAG, column)) return;
    wxClientDC dc(this);
    dc.SetFont(textFont.IsOk() ? textFont : GetFont());
    SetItemWidth(column, dc.GetTextExtent(items[column].text.Left(kMaxTitle)).x + 2 * kTextInset);
    Notify(wxEVT_LIST_COL_END_DRAG, column);
}

void CMyHeadCtrl::OnMotion(wxMouseEvent& event) {
    if (tracked < 0) return;
    SetItemWidth(tracked, event.GetX() - ColumnLeft(tracked));
    Notify(wxEVT_LIST_COL_DRAGGING, tracked);
}

void CMyHeadCtrl::OnLeftUp(wxMouseEvent&) {
    if (tracked < 0) return;
    const int column = tracked;
    tracked = -1;
    if (HasCapture()) ReleaseMouse();
    Notify(wxEVT_LIST_COL_END_DRAG, column);
}
