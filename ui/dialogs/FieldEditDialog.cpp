#include "ui/dialogs/FieldEditDialog.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "ui/controls/PropertyGridCtrl.h"
#include "ui/controls/WxText.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

CFieldEditDialog::CFieldEditDialog(const CTesseraItem& record, wxWindow* parent, int kind)
    : wxDialog(parent, wxID_ANY, LoadResString(IDS_FIELD_EDITOR_TITLE), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      fields(record, kind) {
    grid = new CPropertyGridCtrl(this, IDC_FIELD_GRID, fields);
    grid->SetMinSize(wxSize(360, 260));
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    const std::pair<int, unsigned> kButtons[] = {{IDC_FIELD_ADD, IDS_BUTTON_ADD},
                                                 {IDC_FIELD_DELETE, IDS_BUTTON_DELETE},
                                                 {IDC_FIELD_UP, IDS_BUTTON_UP},
                                                 {IDC_FIELD_DOWN, IDS_BUTTON_DOWN}};
    for (const auto& [id, text] : kButtons) {
        buttons->Add(new wxButton(this, id, LoadResString(text)), 0, wxBOTTOM | wxEXPAND, 6);
        Bind(wxEVT_UPDATE_UI, &CFieldEditDialog::OnUpdateButton, this, id);
    }
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, IDC_FIELD_OK, LoadResString(IDS_BUTTON_OK)), 0, wxBOTTOM | wxEXPAND, 6);
    // Esc presses Cancel: the only way out where no window manager draws a title bar.
    buttons->Add(new wxButton(this, wxID_CANCEL, LoadResString(IDS_BUTTON_CANCEL)), 0, wxEXPAND);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(grid, 1, wxALL | wxEXPAND, 10);
    sizer->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    SetSizerAndFit(sizer);
    // A click on the dialog itself, off the grid and the buttons, ends a name edit.
    Bind(wxEVT_LEFT_UP, &CFieldEditDialog::OnClickOff, this);
    Bind(wxEVT_RIGHT_DOWN, &CFieldEditDialog::OnClickOff, this);
    Bind(wxEVT_CHAR_HOOK, &CFieldEditDialog::OnKey, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (!IsModal()) return event.Skip();
        EndModal(wxID_CANCEL);
    });
    Bind(wxEVT_BUTTON, &CFieldEditDialog::OnOk, this, IDC_FIELD_OK);
    Bind(wxEVT_BUTTON, &CFieldEditDialog::OnAdd, this, IDC_FIELD_ADD);
    Bind(wxEVT_BUTTON, &CFieldEditDialog::OnDelete, this, IDC_FIELD_DELETE);
    Bind(wxEVT_BUTTON, &CFieldEditDialog::OnUp, this, IDC_FIELD_UP);
    Bind(wxEVT_BUTTON, &CFieldEditDialog::OnDown, this, IDC_FIELD_DOWN);
    CentreOnParent();
}

// The grid works on the copy: it goes first.
CFieldEditDialog::~CFieldEditDialog() {
    DestroyChildren();
}

void CFieldEditDialog::OnOk(wxCommandEvent&) {
    grid->EndNameEdit();
    if (const std::optional<std::u16string> repeated = fields.RepeatedName()) {
        wxString text = LoadResString(IDS_FIELD_NAME_REPEATED_HERE);
        text.Replace("%s", ToWx(*repeated));
        wxMessageBox(text, LoadResString(IDS_APP_CAPTION), wxOK | wxICON_EXCLAMATION, this);
        return;
    }
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

// Esc drops a name edit first; otherwise the dialog's own handling presses Cancel.
void CFieldEditDialog::OnKey(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && grid->IsEditingName()) {
        grid->CancelNameEdit();
        return;
    }
    event.Skip();
}

void CFieldEditDialog::OnClickOff(wxMouseEvent& event) {
    grid->EndNameEdit();
    event.Skip();
}

void CFieldEditDialog::OnAdd(wxCommandEvent&) {
    grid->EndNameEdit();
    const int row = fields.Add(FromWx(LoadResString(IDS_NEW_FIELD_NAME)));
    if (row < 0) return;
    grid->Fill(row);
    grid->BeginNameEdit(row);
}

void CFieldEditDialog::OnDelete(wxCommandEvent&) {
    Change(&FieldEditCopy::Delete);
}

void CFieldEditDialog::OnUp(wxCommandEvent&) {
    Change(&FieldEditCopy::MoveUp);
}

void CFieldEditDialog::OnDown(wxCommandEvent&) {
    Change(&FieldEditCopy::MoveDown);
}

void CFieldEditDialog::Change(int (FieldEditCopy::*change)(int)) {
    grid->EndNameEdit();
    const int row = (fields.*change)(grid->SelectedRow());
    if (row >= 0) grid->Fill(row);
}

void CFieldEditDialog::OnUpdateButton(wxUpdateUIEvent& event) {
    const int row = grid->SelectedRow();
    switch (event.GetId()) {
        case IDC_FIELD_DELETE:
            event.Enable(fields.CanDelete(row));
            break;
        case IDC_FIELD_UP:
            event.Enable(fields.CanMoveUp(row));
            break;
        case IDC_FIELD_DOWN:
            event.Enable(fields.CanMoveDown(row));
            break;
        default:
            event.Enable(fields.Valid());
            break;
    }
}
