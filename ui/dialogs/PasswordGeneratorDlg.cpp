#include "ui/dialogs/PasswordGeneratorDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

CPasswordGeneratorDlg::CPasswordGeneratorDlg(wxWindow* parent, const GeneratorChoice& choice, bool replacing)
    : wxDialog(parent, wxID_ANY, LoadResString(IDS_GENERATOR_TITLE)) {
    auto* page = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_GENERATOR_LENGTH)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    length = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                            GeneratorChoice::kMinLength, GeneratorChoice::kMaxLength);
    row->Add(length, 0, wxALIGN_CENTER_VERTICAL);
    page->Add(row, 0, wxALL, 12);
    for (unsigned k = 0; k < 4; ++k) {
        classes[k] = new wxCheckBox(this, wxID_ANY, LoadResString(IDS_GENERATOR_SYMBOLS + k));
        page->Add(classes[k], 0, wxLEFT | wxRIGHT | wxBOTTOM, 12);
    }
    if (replacing)
        page->Add(new wxStaticText(this, wxID_STATIC, LoadResString(IDS_GENERATOR_REPLACES)), 0,
                  wxLEFT | wxRIGHT | wxBOTTOM, 12);
    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok =
        new wxButton(this, wxID_OK, LoadResString(replacing ? IDS_GENERATOR_REPLACE : IDS_BUTTON_GENERATE));
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LoadResString(IDS_BUTTON_CANCEL)));
    buttons->Realize();
    page->Add(buttons, 0, wxEXPAND | wxALL, 12);
    // At least one class to draw from.
    ok->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(Choice().Valid()); });
    SetChoice(choice);
    SetSizerAndFit(page);
    ok->SetDefault();
}

GeneratorChoice CPasswordGeneratorDlg::Choice() const {
    GeneratorChoice choice{length->GetValue(), 0};
    for (unsigned k = 0; k < 4; ++k) {
        if (classes[k]->GetValue()) choice.classes |= 1u << k;
    }
    return choice;
}

void CPasswordGeneratorDlg::SetChoice(const GeneratorChoice& choice) {
    length->SetValue(choice.length);
    for (unsigned k = 0; k < 4; ++k) classes[k]->SetValue(choice.classes & (1u << k));
}
