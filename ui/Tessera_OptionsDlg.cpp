#include "ui/Tessera_OptionsDlg.h"

#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>

#include "ui/Resource.h"
#include "ui/StringTable.h"

namespace {

// A whole number in the range of int, optionally signed, with nothing around it.
bool ParseWholeNumber(const wxString& text, int* value) {
    long long number = 0;
    if (text.empty() || !text.ToLongLong(&number) || number < INT_MIN || number > INT_MAX) return false;
    *value = static_cast<int>(number);
    return true;
}

}  // namespace

CTessera_OptionsDlg::CTessera_OptionsDlg(wxWindow* parent, std::function<int()> current,
                                         std::function<void(int)> confirm)
    : wxPanel(parent, IDD_OPTIONS), current(std::move(current)), confirm(std::move(confirm)) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_OPTIONS_LOCK_AFTER)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    edit = new wxTextCtrl(this, IDC_OPTIONS_MINUTES, wxString::Format("%d", this->current()),
                          wxDefaultPosition, wxSize(60, -1));
    row->Add(edit, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_OPTIONS_MINUTES_IDLE)), 0,
             wxALIGN_CENTER_VERTICAL);
    auto* page = new wxBoxSizer(wxVERTICAL);
    page->Add(row, 0, wxALL, 12);
    SetSizer(page);
}

bool CTessera_OptionsDlg::Entered(int* minutes) const {
    return ParseWholeNumber(edit->GetValue().Strip(wxString::both), minutes);
}

bool CTessera_OptionsDlg::Validate() {
    int entered = 0;
    if (Entered(&entered)) return true;
    wxMessageBox(LoadResString(IDS_ENTER_INTEGER), LoadResString(IDS_APP_CAPTION), wxOK | wxICON_EXCLAMATION,
                 this);
    edit->SetFocus();
    return false;
}

bool CTessera_OptionsDlg::TransferDataFromWindow() {
    int entered = 0;
    if (!Entered(&entered)) return Validate();  // refuses, with the message
    if (entered != current() && confirm) confirm(entered);
    return true;
}
