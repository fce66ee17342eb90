#include "ui/dialogs/Tessera_DeleteCategoryDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

Tessera_DeleteCategoryDlg::Tessera_DeleteCategoryDlg(wxWindow* parent)
    : wxDialog(parent, IDD_DELETE_CATEGORY, LoadResString(IDS_DELETE_CATEGORY_TITLE)) {
    check = new wxCheckBox(this, IDC_DELETE_CARDS, LoadResString(IDS_DELETE_CATEGORY_CARDS));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, LoadResString(IDS_DELETE_CATEGORY_CONFIRM)), 0, wxALL, 12);
    sizer->Add(check, 0, wxLEFT | wxRIGHT, 12);
    sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 12);
    SetSizerAndFit(sizer);
    CentreOnParent();
}

bool Tessera_DeleteCategoryDlg::TransferDataToWindow() {
    check->SetValue(deleteCards != 0);
    return true;
}

bool Tessera_DeleteCategoryDlg::TransferDataFromWindow() {
    deleteCards = check->GetValue() ? 1 : 0;
    return true;
}

void Tessera_DeleteCategoryDlg::EndAsNoChoice() {
    SetReturnCode(IDLOCKED);
    EndDialog(IDLOCKED);
}
