#include "ui/dialogs/Tessera_IconSelectDlg.h"

#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "wxkit/FixedIds.h"
#include "ui/controls/IconGroupView.h"
#include "ui/controls/MyIconList.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr int kStripHeight = 44;

}  // namespace

CTessera_IconSelectDlg::CTessera_IconSelectDlg(wxWindow* parent, CMyIconList& icons, int index)
    : wxDialog(parent, IDD_SELECT_ICON, LoadResString(IDS_SELECT_ICON_TITLE), wxDefaultPosition,
               wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      icons(icons),
      initialIndex(index),
      selectedIndex(index) {
    strip = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(-1, kStripHeight), wxBORDER_SIMPLE);
    strip->SetBackgroundStyle(wxBG_STYLE_PAINT);
    view = new CIconGroupView(this, wxID_ANY, icons);
    GiveFixedId(view, IDC_ICON_VIEW);
    // The view lies 2 pixels below the strip; OK and Cancel fill the 50 pixels under it.
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(strip, 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 10);
    sizer->Add(view, 1, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 10);
    sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 10);
    SetSizer(sizer);
    SetSize(ConvertDialogToPixels(wxSize(267, 193)));
    strip->Bind(wxEVT_PAINT, &CTessera_IconSelectDlg::OnPaintStrip, this);
    view->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) {
        selectedIndex = static_cast<int>(event.GetIndex());
        strip->Refresh();
    });
    view->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) {
        SetReturnCode(wxID_OK);
        EndDialog(wxID_OK);
    });
    view->Select(index);
    // The view clears an index that is no icon; the caller's index still stands until one is chosen.
    selectedIndex = index;
    view->SetFocus();
    CentreOnParent();
}

void CTessera_IconSelectDlg::OnPaintStrip(wxPaintEvent&) {
    wxPaintDC dc(strip);
    DrawStrip(dc);
}

void CTessera_IconSelectDlg::DrawStrip(wxDC& dc) {
    dc.SetBackground(wxBrush(strip->GetBackgroundColour()));
    dc.Clear();
    if (selectedIndex < 0 || selectedIndex >= icons.Large()->GetImageCount()) return;
    const wxSize area = strip->GetClientSize();
    icons.Large()->Draw(selectedIndex, dc, 6, (area.y - 32) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
}
