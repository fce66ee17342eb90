#pragma once
// A report list with striped rows 25 pixels high under a flat header. The rows are drawn by DrawItem;
// column widths can be dragged in the header while column resizing is allowed (at first it is).
#include "ui/controls/MyHeadCtrl.h"

#include <wx/imaglist.h>
#include <wx/window.h>

#include <vector>

class wxVListBox;

class CMultiColoredList : public wxWindow {
public:
    static constexpr int kRowHeight = 25;

    // style: wxLB_MULTIPLE lets several rows be selected.
    CMultiColoredList(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                      const wxSize& size = wxDefaultSize, long style = 0);

    void InsertColumn(long column, const wxString& heading, int format = wxLIST_FORMAT_LEFT, int width = 80);
    long InsertItem(long index, const wxString& text, int image = -1);
    void SetItem(long index, int column, const wxString& text);
    wxString GetItemText(long index, int column = 0) const;
    long GetItemCount() const { return static_cast<long>(rows.size()); }
    void DeleteAllItems();
    // The small images of column 0; the list does not own them.
    void SetImageList(wxImageList* images);

    void Select(long index, bool on = true);
    bool IsSelected(long index) const;

    void AllowColumnResize(bool allow) { resizeAllowed = allow; }
    bool IsColumnResizeAllowed() const { return resizeAllowed; }

    CMyHeadCtrl* GetHeader() const { return header; }
    wxWindow* GetRowsWindow() const;

    // Draws row into rowRect on dc, as the list shows it with or without the keyboard focus.
    void DrawItem(wxDC& dc, const wxRect& rowRect, size_t row, bool listFocused) const;

private:
    struct Row {
        std::vector<wxString> texts;
        int image = -1;
    };

    void DrawCell(wxDC& dc, const wxRect& cell, const Row& row, size_t column) const;
    void RowsChanged();

    CMyHeadCtrl* header;
    wxVListBox* rowsWindow;
    std::vector<Row> rows;
    wxImageList* imageList = nullptr;
    bool resizeAllowed = true;
};
