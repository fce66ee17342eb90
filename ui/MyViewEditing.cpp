// The main view's editing: edit mode, Save, Cancel, the prompt before changes are lost, and the lock.
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "model/Data.h"
#include "model/ItemChanges.h"
#include "ui/FieldChanges.h"
#include "ui/FieldEditDialog.h"
#include "ui/FormWnd.h"
#include "ui/ListRows.h"
#include "ui/MyView.h"
#include "ui/Resource.h"
#include "ui/StringTable.h"
#include "ui/Tessera_IconSelectDlg.h"

namespace {

constexpr unsigned kPromptTexts[] = {IDS_SAVE_CARD_PROMPT, IDS_SAVE_TEMPLATE_PROMPT,
                                     IDS_SAVE_CATEGORY_PROMPT};
constexpr unsigned kFailureTexts[] = {IDS_SAVE_CARD_FAILED, IDS_SAVE_TEMPLATE_FAILED,
                                      IDS_SAVE_CATEGORY_FAILED};

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

void CMyView::StartEditing() {
    if (editing || !RecordShown()) return;
    editing = true;
    ShowControls();
    nameBox->SetFocus();
    nameBox->SelectAll();
}

void CMyView::CollectShown() {
    if (!RecordShown()) return;
    wxString text = nameBox->GetValue();
    std::u16string name = ToU16(text);
    if (currentPane == kPaneCategory) {
        if (name != categoryName) {
            categoryName = name;
            modified = true;
        }
        return;
    }
    CTesseraItem& item = currentPane == kPaneCard ? *currentCard : *currentTemplate;
    if (!item.fields.head) SetItemName(item, u"");
    if (CollectText(item.fields.head->element, name)) modified = true;
    if (currentPane == kPaneCard && form->CollectChanges(item)) modified = true;
}

bool CMyView::SaveShown() {
    switch (currentPane) {
        case kPaneCard:
            return SaveCard();
        case kPaneTemplate:
            return SaveTemplate();
        case kPaneCategory:
            return SaveCategory();
        default:
            return true;
    }
}

bool CMyView::SaveCard() {
    wxBusyCursor wait;
    const auto id = static_cast<uint32_t>(currentId);
    if (!(isNew ? links.data->AddCard(*currentCard, id) : links.data->UpdateCard(*currentCard, id)))
        return false;
    ShowIcon(static_cast<int>(currentCard->icon));
    if (rows) rows->UpdateRow(ListPage::Cards, currentId);
    return true;
}

bool CMyView::SaveTemplate() {
    wxBusyCursor wait;
    const auto id = static_cast<uint32_t>(currentId);
    if (!(isNew ? links.data->AddTemplate(*currentTemplate, id)
                : links.data->UpdateTemplate(*currentTemplate, id))) {
        return false;
    }
    ShowIcon(static_cast<int>(currentTemplate->icon));
    if (rows) rows->UpdateRow(ListPage::Templates, currentId);
    return true;
}

bool CMyView::SaveCategory() {
    SaveWait wait(this);
    const uint32_t packed =
        PackCategory(static_cast<uint32_t>(categoryId), static_cast<uint32_t>(categoryIcon));
    if (!(isNew ? links.data->AddCategory(categoryName, packed)
                : links.data->UpdateCategory(categoryName, packed))) {
        return false;
    }
    if (rows) rows->UpdateRow(ListPage::Categories, categoryId);
    return true;
}

// The phone did not take the save: the user's values stay, in edit mode, to try again. A wallet that
// another program changed since it was read is read again first, so that the next Save can land.
void CMyView::ReportFailedSave() {
    if (links.data->LastChange() == CTesseraEncryptedLinkList::kChangeStale) {
        wxMessageBox(LoadResString(IDS_WALLET_CHANGED), LoadResString(IDS_APP_CAPTION),
                     wxOK | wxICON_INFORMATION, this);
        const bool reread = links.data->Reload();
        if (rows) rows->Reload();
        if (reread) return;
    }
    wxMessageBox(LoadResString(kFailureTexts[currentPane]), LoadResString(IDS_APP_CAPTION),
                 wxOK | wxICON_ERROR, this);
}

bool CMyView::Save() {
    if (!editing) return true;
    wxBusyCursor wait;
    CollectShown();
    if ((isNew || modified) && !SaveShown()) {
        ReportFailedSave();
        return false;
    }
    isNew = modified = editing = false;
    ShowControls();
    return true;
}

void CMyView::Cancel() {
    if (!editing) return;
    if (isNew) {
        DropNewRecord();
        if (rows && rows->RowCount() > 0) {
            rows->SelectFirstRow();
        } else {
            ShowEmpty(currentPane);
        }
        return;
    }
    if (currentPane == kPaneCard) {
        if (modified) currentCard = links.data->ReadCardRecord(static_cast<uint32_t>(currentId));
        modified = editing = false;
        currentCard ? FillCard() : ShowEmpty(kPaneCard);
    } else if (currentPane == kPaneTemplate) {
        if (modified) currentTemplate = links.data->ReadTemplateRecord(static_cast<uint32_t>(currentId));
        modified = editing = false;
        currentTemplate ? FillTemplate() : ShowEmpty(kPaneTemplate);
    } else if (currentPane == kPaneCategory) {
        modified = editing = false;
        FillCategory();
        nameBox->ChangeValue(FromU16(categoryName));
        ShowIcon(categoryIcon);
        ShowControls();
    }
}

// A new record that is not kept: its unsaved row goes from the list.
void CMyView::DropNewRecord() {
    const int32_t id = ShownId();
    const int pane = currentPane;
    isNew = modified = editing = false;
    currentCard.reset();
    currentId = 0;
    categoryId = -1;
    form->LoadCard(nullptr);
    ShowControls();
    if (rows) rows->RemoveRow(static_cast<ListPage>(pane), id);
}

bool CMyView::PromptSaveChanges(int pane) {
    if (prompting || pane != currentPane || pane > kPaneCategory || !RecordShown()) return true;
    // Outside edit mode nothing was changed: collecting then would count an empty date as the picker's.
    if (editing) CollectShown();
    if (!isNew && !modified) return true;
    prompting = true;
    const int answer = wxMessageBox(LoadResString(kPromptTexts[pane]), LoadResString(IDS_APP_CAPTION),
                                    wxYES_NO | wxICON_QUESTION, this);
    const bool refused = answer == wxYES && !SaveShown();
    if (refused) {
        ReportFailedSave();
    } else if (answer != wxYES && isNew) {
        DropNewRecord();
    }
    prompting = false;
    if (refused) return false;  // the user's values stay, in edit mode, to try again
    isNew = modified = false;
    if (pane == kPaneCard) editing = false;
    ShowControls();
    return true;
}

// Open dialogs of this view end as if cancelled; a password copied from it leaves the clipboard.
void CMyView::EndDialogsAndClipboard() {
    if (wxDialog* dialog = openDialog) dialog->EndModal(wxID_CANCEL);
    guard.ClearNow();
    clipboardTimer.Stop();
}

void CMyView::ForgetRecord() {
    EndDialogsAndClipboard();
    if (currentPane <= kPaneCategory) ShowEmpty(currentPane);
}

void CMyView::LockEditing() {
    EndDialogsAndClipboard();
    if (editing && RecordShown()) CollectShown();
    if (editing && (isNew || modified)) {
        if (currentPane != kPaneCard) {
            Cancel();
        } else {
            MarkAsDraft(*currentCard);
            if (!SaveCard()) {
                wxMessageBox(LoadResString(IDS_SAVE_CARD_FAILED), LoadResString(IDS_APP_CAPTION),
                             wxOK | wxICON_ERROR, this);
            }
        }
    }
    // No card's values stay in memory while the wallet is locked; the next login reads the card again.
    if (currentPane == kPaneCard) ShowEmpty(kPaneCard);
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

void CMyView::EditFields() {
    if (!editing || (currentPane != kPaneCard && currentPane != kPaneTemplate) || !RecordShown()) return;
    CollectShown();
    const bool card = currentPane == kPaneCard;
    CFieldEditDialog dialog(card ? *currentCard : *currentTemplate, this,
                            card ? FieldEditCopy::kCard : FieldEditCopy::kTemplate);
    // After a lock the record may be gone: it is looked for again.
    if (RunDialog(dialog, fieldDialogOpen) != wxID_OK || !dialog.Modified() || !editing || !RecordShown())
        return;
    (card ? *currentCard : *currentTemplate).CopyFrom(dialog.WorkingCopy());
    modified = true;
    if (card) {
        form->LoadCard(currentCard.get());
        ShowControls();
    } else {
        FillFieldList();
    }
}

void CMyView::ChooseIcon() {
    if (!editing || !RecordShown() || !links.icons) return;
    CTesseraItem* item = currentPane == kPaneCard ? currentCard.get() : currentTemplate.get();
    CTessera_IconSelectDlg dialog(this, *links.icons, item ? static_cast<int>(item->icon) : categoryIcon);
    if (RunDialog(dialog, iconDialogOpen) != wxID_OK || !editing || !RecordShown()) return;
    const int icon = dialog.SelectedIndex();
    item = currentPane == kPaneCard ? currentCard.get() : currentTemplate.get();
    if (item) {
        item->icon = static_cast<uint32_t>(icon);
        item->modified = GetSystemTimeUtc();
    } else {
        categoryIcon = icon;
    }
    ShowIcon(icon);
    modified = true;
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
