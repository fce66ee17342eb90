#include "ui/controls/MultiColoredList.h"

#include "ui/controls/CellLayout.h"
#include "ui/controls/RowColours.h"

#include <wx/dc.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/vlbox.h>

#include <algorithm>

namespace {

constexpr int kTextInset = 2;

// The scrolling rows under the header; the list draws each of them.
class StripedRows : public wxVListBox {
public:
    StripedRows(CMultiColoredList* owner, long style)
        : wxVListBox(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize, style | wxBORDER_NONE), owner(owner) {
        SetBackgroundColour(*wxWHITE);
        // A selected row changes colour with the focus, and more than the current row may be selected.
        Bind(wxEVT_SET_FOCUS, &StripedRows::OnFocusChange, this);
        Bind(wxEVT_KILL_FOCUS, &StripedRows::OnFocusChange, this);
    }

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override {
        owner->DrawItem(dc, rect, n, HasFocus());
    }
    wxCoord OnMeasureItem(size_t) const override { return CMultiColoredList::kRowHeight; }
    void OnDrawBackground(wxDC&, const wxRect&, size_t) const override {}

private:
    void OnFocusChange(wxFocusEvent& event) {
        Refresh();
        event.Skip();
    }

    CMultiColoredList* owner;
};

}  // namespace

CMultiColoredList::CMultiColoredList(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                     long style)
    : wxWindow(parent, id, pos, size, wxBORDER_THEME),
      header(new CMyHeadCtrl(this)),
      rowsWindow(new StripedRows(this, style)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(header, 0, wxEXPAND);
    sizer->Add(rowsWindow, 1, wxEXPAND);
    SetSizer(sizer);
    Bind(wxEVT_LIST_COL_BEGIN_DRAG, [this](wxListEvent& event) {
        if (!resizeAllowed) event.Veto();
    });
    Bind(wxEVT_LIST_COL_DRAGGING, [this](wxListEvent&) { rowsWindow->Refresh(); });
    Bind(wxEVT_LIST_COL_END_DRAG, [this](wxListEvent&) { rowsWindow->Refresh(); });
}

wxWindow* CMultiColoredList::GetRowsWindow() const {
    return rowsWindow;
}

void CMultiColoredList::InsertColumn(long column, const wxString& heading, int format, int width) {
    header->InsertItem(column, {heading, format, width});
    rowsWindow->Refresh();
}

long CMultiColoredList::InsertItem(long index, const wxString& text, int image) {
    const long at = std::clamp(index, 0L, GetItemCount());
    rows.insert(rows.begin() + at, Row{{text}, image});
    RowsChanged();
    return at;
}

void CMultiColoredList::SetItem(long index, int column, const wxString& text) {
    auto& texts = rows.at(index).texts;
    if (texts.size() <= static_cast<size_t>(column)) texts.resize(column + 1);
    texts[column] = text;
    rowsWindow->RefreshRow(index);
}

wxString CMultiColoredList::GetItemText(long index, int column) const {
    const auto& texts = rows.at(index).texts;
    return static_cast<size_t>(column) < texts.size() ? texts[column] : wxString();
}

void CMultiColoredList::DeleteAllItems() {
    rows.clear();
    RowsChanged();
}

void CMultiColoredList::SetImageList(wxImageList* images) {
    imageList = images;
    rowsWindow->Refresh();
}

void CMultiColoredList::Select(long index, bool on) {
    if (rowsWindow->HasMultipleSelection()) {
        rowsWindow->Select(index, on);
    } else {
        rowsWindow->SetSelection(on ? index : wxNOT_FOUND);
    }
}

bool CMultiColoredList::IsSelected(long index) const {
    return rowsWindow->IsSelected(index);
}

void CMultiColoredList::RowsChanged() {
    rowsWindow->SetItemCount(rows.size());
    rowsWindow->Refresh();
}

void CMultiColoredList::DrawItem(wxDC& dc, const wxRect& rowRect, size_t row, bool listFocused) const {
    const RowColours colours = RowColours::For(row, rowsWindow->IsSelected(row), listFocused);
    dc.SetBrush(wxBrush(colours.background));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetTextForeground(colours.text);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetFont(GetFont());
    wxRect cell(rowRect.x, rowRect.y, 0, rowRect.height);
    for (size_t column = 0; column < header->GetItemCount(); ++column) {
        cell.width = header->GetItem(column).width;
        dc.DrawRectangle(cell);
        DrawCell(dc, cell, rows.at(row), column);
        cell.x += cell.width;
    }
}

void CMultiColoredList::DrawCell(wxDC& dc, const wxRect& cell, const Row& row, size_t column) const {
    wxDCClipper clip(dc, cell);
    wxRect textCell = cell;
    if (column == 0 && imageList && row.image >= 0 && row.image < imageList->GetImageCount()) {
        const wxSize icon = imageList->GetSize();
        imageList->Draw(row.image, dc, cell.x + kTextInset, CellLayout::CentredY(cell, icon.y),
                        wxIMAGELIST_DRAW_TRANSPARENT);
        textCell.x += kTextInset + icon.x;
        textCell.width -= kTextInset + icon.x;
    }
    const wxString text = column < row.texts.size() ? row.texts[column] : wxString();
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, CellLayout::TextX(textCell, extent.x, header->GetItem(column).format, kTextInset),
                CellLayout::CentredY(textCell, extent.y));
}
