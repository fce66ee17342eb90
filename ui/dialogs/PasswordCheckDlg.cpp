#include "ui/dialogs/PasswordCheckDlg.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/Utf16.h"
#include "store/SecureBytes.h"
#include "ui/controls/MaskedEdit.h"
#include "ui/controls/TypedInput.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

// The edit's text as UTF-16; the copies made on the way are wiped.
std::u16string TakeText(wxTextCtrl* edit) {
    wxString value = edit->GetValue();
    std::string bytes = value.utf8_string();
    std::u16string text = Utf8ToUtf16Lossy(bytes);
    SecureZero(bytes.data(), bytes.size());
    std::fill(value.begin(), value.end(), wxUniChar(0));
    return text;
}

}  // namespace

CPasswordCheckDlg::CPasswordCheckDlg(wxWindow* parent, CTesseraEncryptedLinkList* store,
                                     CTesseraEncryptedLinkList* templates, CountedCheck counted)
    : wxDialog(parent, IDD_LOGIN, LoadResString(IDS_LOGIN_TITLE)),
      rules(store, templates, std::move(counted)) {
    auto* prompt = new wxStaticText(this, IDC_PASSWORD_PROMPT, LoadResString(IDS_LOGIN_PROMPT));
    edit = new wxTextCtrl(this, IDC_PASSWORD, wxEmptyString, wxDefaultPosition, wxSize(220, -1),
                          wxTE_PASSWORD | wxTE_PROCESS_ENTER);
    LimitTypedInput(*edit, limit);
    MaskWithAsterisks(*edit);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, wxID_OK, LoadResString(IDS_LOGIN_OK)), 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, LoadResString(IDS_BUTTON_CANCEL)));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(prompt, 0, wxALL, 10);
    sizer->Add(edit, 0, wxLEFT | wxRIGHT | wxEXPAND, 10);
    sizer->Add(buttons, 0, wxALL | wxALIGN_RIGHT, 10);
    SetSizerAndFit(sizer);
    SetDefaultItem(FindWindow(wxID_OK));
    edit->SetFocus();
    Bind(wxEVT_BUTTON, &CPasswordCheckDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CPasswordCheckDlg::OnCancel, this, wxID_CANCEL);
    edit->Bind(wxEVT_TEXT_ENTER, &CPasswordCheckDlg::OnOk, this);
    CentreOnParent();
}

void CPasswordCheckDlg::OnOk(wxCommandEvent&) {
    std::u16string password = TakeText(edit);
    switch (rules.Submit(password)) {
        case LoginAttempts::Answer::Empty:
            WrongPassword();
            return;
        case LoginAttempts::Answer::Wrong:
            // The refused text goes, so that a retype is not added to it.
            edit->Clear();
            WrongPassword();
            edit->SetFocus();
            return;
        case LoginAttempts::Answer::Close:
            Finish(wxID_OK);
            return;
    }
}

void CPasswordCheckDlg::OnCancel(wxCommandEvent&) {
    Finish(wxID_CANCEL);
}

void CPasswordCheckDlg::WrongPassword() {
    wxMessageBox(LoadResString(IDS_WRONG_PASSWORD), LoadResString(IDS_APP_CAPTION), wxOK | wxICON_STOP, this);
}

void CPasswordCheckDlg::Finish(int result) {
    edit->Clear();
    // Also when a test's modal hook stands in for ShowModal.
    if (IsModal()) {
        EndModal(result);
    } else {
        SetReturnCode(result);
    }
}
