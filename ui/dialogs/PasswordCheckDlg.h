#pragma once
// The login dialog: the wallet password, typed masked, checked against a store on OK.
#include <wx/dialog.h>

#include "ui/rules/InputLimit.h"
#include "ui/rules/LoginAttempts.h"

class wxTextCtrl;

class CPasswordCheckDlg : public wxDialog {
public:
    // store: the wallet's (or a backup's); templates: unlocked on the same OK (may be null); counted: the
    // phone's count of wrong passwords that each check runs on (none for a backup).
    CPasswordCheckDlg(wxWindow* parent, CTesseraEncryptedLinkList* store,
                      CTesseraEncryptedLinkList* templates, CountedCheck counted = {});

    int ok() const { return rules.ok; }
    int Attempts() const { return rules.attempts; }
    const LoginVerdict& Verdict() const { return rules.verdict; }
    bool TemplatesLocked() const { return rules.templatesLocked; }
    wxTextCtrl* Edit() const { return edit; }

private:
    void OnOk(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void WrongPassword();
    void Finish(int result);

    LoginAttempts rules;
    InputLimit limit{LoginAttempts::kMaxLength};
    wxTextCtrl* edit;
};
