#pragma once
// Modal expectations for the host's tests and benchmarks: the plug-in's dialogs answered in place of
// their modal loops, and message boxes answered with OK.
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include <functional>
#include <vector>

#include "ui/resources/Resource.h"

inline void PressOk(wxDialog* dialog) {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(dialog->FindWindow(wxID_OK));
    dialog->ProcessWindowEvent(ok);
}

// A dialog, optional or not, answered by act(dialog) in place of its modal loop; act gives the answer.
struct Answer : wxModalExpectation {
    explicit Answer(std::function<int(wxDialog*)> act, bool optional = false) : act(std::move(act)) {
        m_isOptional = optional;
    }
    int Invoke(wxDialog* dialog) const override { return act(dialog); }
    wxString GetDefaultDescription() const override { return "a dialog"; }
    std::function<int(wxDialog*)> act;
};

// The login dialog answered in place of its modal loop: the passwords typed into it at its caret, as a
// person retypes, and OK pressed after each (the messages of the wrong ones answered by the
// expectations that follow).
class TypePasswords : public wxModalExpectation {
public:
    explicit TypePasswords(std::vector<wxString> passwords) : passwords(std::move(passwords)) {}
    int Invoke(wxDialog* dialog) const override {
        dialog->SetReturnCode(wxID_CANCEL);
        for (const wxString& password : passwords) {
            wxDynamicCast(dialog->FindWindow(IDC_PASSWORD), wxTextCtrl)->WriteText(password);
            PressOk(dialog);
        }
        return dialog->GetReturnCode();
    }

protected:
    wxString GetDefaultDescription() const override { return "the login dialog"; }

private:
    std::vector<wxString> passwords;
};

// A message box answered with OK (or answer); its text is kept.
class Told : public wxModalExpectation {
public:
    explicit Told(std::vector<wxString>& texts, int answer = wxID_OK) : texts(texts), answer(answer) {}
    int Invoke(wxDialog* dialog) const override {
        auto* message = dynamic_cast<wxMessageDialog*>(dialog);
        if (!message) return wxID_NONE;
        texts.push_back(message->GetMessage());
        return answer;
    }

protected:
    wxString GetDefaultDescription() const override { return "a message box"; }

private:
    std::vector<wxString>& texts;
    int answer;
};
