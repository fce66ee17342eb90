#include "ui/dialogs/Tessera_OptionsDlg.h"

#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>

#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr int kMostMinutes = 999;

// The minutes as the spin control shows them: any value at or below 0 never locks, as 0 does.
int Shown(int minutes) {
    return std::clamp(minutes, 0, kMostMinutes);
}

}  // namespace

CTessera_OptionsDlg::CTessera_OptionsDlg(wxWindow* parent, std::function<int()> current,
                                         std::function<void(int)> confirm)
    : wxPanel(parent, IDD_OPTIONS), current(std::move(current)), confirm(std::move(confirm)) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_OPTIONS_LOCK_AFTER)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    spin = new wxSpinCtrl(this, IDC_OPTIONS_MINUTES, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxSP_ARROW_KEYS, 0, kMostMinutes, Shown(this->current()));
    row->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_OPTIONS_MINUTES_IDLE)), 0,
             wxALIGN_CENTER_VERTICAL);
    auto* page = new wxBoxSizer(wxVERTICAL);
    page->Add(row, 0, wxLEFT | wxRIGHT | wxTOP, 12);
    page->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_OPTIONS_NEVER_LOCK)), 0, wxALL, 12);
    SetSizer(page);
}

bool CTessera_OptionsDlg::TransferDataFromWindow() {
    const int entered = spin->GetValue();
    if (entered != Shown(current()) && confirm) confirm(entered);
    return true;
}
