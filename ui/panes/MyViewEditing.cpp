// What the editor asks of the main view (values collected, questions, messages, the wait of a save), and
// the view's own dialogs: the field editor and the icon chooser.
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "ui/controls/FieldChanges.h"
#include "ui/dialogs/FieldEditDialog.h"
#include "ui/dialogs/PasswordGeneratorDlg.h"
#include "ui/dialogs/Tessera_IconSelectDlg.h"
#include "ui/panes/FormWnd.h"
#include "ui/panes/MyView.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

// The host's main window is disabled, with the wait cursor, while the phone takes a category change: the
// model dispatches window messages during that walk. A card or template save dispatches none, and
// disabling the window would restyle every control of it for nothing.
class SaveWait {
public:
    explicit SaveWait(wxWindow* view) : frame(wxGetTopLevelParent(view)) {
        if (frame) frame->Disable();
    }
    ~SaveWait() {
        if (frame) frame->Enable();
    }
    SaveWait(const SaveWait&) = delete;
    SaveWait& operator=(const SaveWait&) = delete;

private:
    wxWindow* frame;
    wxBusyCursor wait;
};

}  // namespace

bool CMyView::Collect() {
    wxString text = nameBox->GetValue();
    std::u16string name = ToU16(text);
    bool changed = editor.CollectName(name);
    CTesseraItem* card = editor.Pane() == ListKind::Cards ? editor.Edited() : nullptr;
    if (card && form->CollectChanges(*card)) changed = true;
    return changed;
}

bool CMyView::Ask(unsigned text, const std::u16string& name) {
    wxString question = LoadResString(text);
    question.Replace("%s", FromU16(name));
    return wxMessageBox(question, LoadResString(IDS_APP_CAPTION), wxYES_NO | wxICON_QUESTION, this) == wxYES;
}

void CMyView::Tell(unsigned text, bool error) {
    wxMessageBox(LoadResString(text), LoadResString(IDS_APP_CAPTION),
                 wxOK | (error ? wxICON_ERROR : wxICON_INFORMATION), this);
}

bool CMyView::RunSave(ListKind pane, const std::function<bool()>& save) {
    if (pane == ListKind::Categories) {
        SaveWait wait(this);
        return save();
    }
    wxBusyCursor wait;
    return save();
}

// Open dialogs of this view end as if cancelled; a password copied from it leaves the clipboard.
void CMyView::EndDialogs() {
    if (wxDialog* dialog = openDialog) dialog->EndModal(wxID_CANCEL);
    guard.ClearNow();
    ClipboardCleared();
}

// A dialog of this view, modal; the wallet lock may end it meanwhile.
int CMyView::RunDialog(wxDialog& dialog, bool& openFlag) {
    openFlag = true;
    openDialog = &dialog;
    const int answer = dialog.ShowModal();
    openDialog = nullptr;
    openFlag = false;
    return answer;
}

bool CMyView::ChooseGenerator(bool replacing, GeneratorChoice& choice) {
    GeneratorChoice& kept = links.generator ? *links.generator : ownGenerator;
    CPasswordGeneratorDlg dialog(this, kept, replacing);
    bool open = false;
    if (RunDialog(dialog, open) != wxID_OK) return false;
    choice = kept = dialog.Choice();
    return true;
}

void CMyView::EditFields() {
    if (editor.Pane() != ListKind::Cards && editor.Pane() != ListKind::Templates) return;
    editor.Collect();
    const CTesseraItem* item = editor.Editing() ? editor.Record() : nullptr;
    if (!item) return;
    CFieldEditDialog dialog(
        *item, this, editor.Pane() == ListKind::Cards ? FieldEditCopy::kCard : FieldEditCopy::kTemplate);
    // A lock meanwhile ends the dialog and the editing: the editor takes the copy only while it edits.
    if (RunDialog(dialog, fieldDialogOpen) == wxID_OK && dialog.Modified())
        editor.ReplaceFields(dialog.WorkingCopy());
}

void CMyView::ChooseIcon() {
    if (!editor.Editing() || !editor.Shown() || !links.icons) return;
    const CTesseraItem* item = editor.Record();
    CTessera_IconSelectDlg dialog(this, *links.icons,
                                  item ? static_cast<int>(item->icon) : editor.Category().icon);
    if (RunDialog(dialog, iconDialogOpen) == wxID_OK) editor.SetIcon(dialog.SelectedIndex());
}

void CMyView::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
        case IDC_EDIT_BUTTON:
            StartEditing();
            break;
        case IDC_SAVE_BUTTON:
            Save();
            break;
        case IDC_CANCEL_BUTTON:
            Cancel();
            break;
        case IDC_EDIT_FIELDS_BUTTON:
            EditFields();
            break;
        case IDC_ICON_BUTTON:
            ChooseIcon();
            break;
        default:
            event.Skip();
    }
}
