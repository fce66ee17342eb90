#pragma once
// A flat header: one grey band, 25 pixels high, with the column titles in black. The columns' widths
// can be dragged at their dividers unless the owner vetoes the wxEVT_LIST_COL_BEGIN_DRAG it is sent.
#include <wx/font.h>
#include <wx/listbase.h>
#include <wx/window.h>

#include <vector>

class CMyHeadCtrl : public wxWindow {
public:
    static constexpr int kHeight = 25;
    static const wxColour kBackground;

    struct Item {
        wxString text;
        int format = wxLIST_FORMAT_LEFT;
        int width = 0;
    };

    CMyHeadCtrl(wxWindow* parent, wxWindowID id = wxID_ANY);

    void InsertItem(size_t index, const Item& item);
    size_t GetItemCount() const { return items.size(); }
    const Item& GetItem(size_t index) const { return items.at(index); }
    void SetItemWidth(size_t index, int width);
    // The font of the titles; wxNullFont for the window's own.
    void SetTextFont(const wxFont& font);

    // Paints the whole header, as its paint handler does, onto dc.
    void DrawHeader(wxDC& dc) const;

protected:
    wxSize DoGetBestSize() const override;

private:
    int ColumnLeft(size_t index) const;
    wxRect ItemRect(size_t index) const;
    int DividerAt(int x) const;
    // Sends a column event to the owner; false when the owner vetoed it.
    bool Notify(wxEventType type, int column);
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    std::vector<Item> items;
    wxFont textFont;
    int tracked = -1;
};
