// The list pane's commands: new rows, deletion, selection, Save as Template, and the rules that say
// when each may be used.
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/textentry.h>
#include <wx/toolbar.h>

#include <algorithm>

#include "model/Data.h"
#include "platform/SystemTime.h"
#include "platform/rapi/Rapi.h"
#include "ui/DeletionWalk.h"
#include "ui/ListBar.h"
#include "ui/ProgressDlg.h"
#include "ui/Resource.h"
#include "ui/SessionGate.h"
#include "ui/StringTable.h"
#include "ui/TemplateDlg.h"
#include "ui/Tessera_DeleteCategoryDlg.h"
#include "ui/UiThread.h"
#include "ui/WxText.h"

namespace {

constexpr long kSelectedAndFocused = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;

bool AskYesNo(wxWindow* parent, unsigned text, unsigned caption) {
    return wxMessageBox(LoadResString(text), LoadResString(caption), wxYES_NO | wxICON_QUESTION, parent) ==
           wxYES;
}

card_info_struct NewRow(int32_t id, unsigned name) {
    card_info_struct row;
    row.id = id;
    row.name = FromWx(LoadResString(name));
    row.created = row.modified = GetSystemTimeUtc();
    return row;
}

}  // namespace

CommandState CListBar::State() const {
    CommandState state;
    state.visible = IsShownOnScreen();
    state.open = links.walletOpen && links.walletOpen();
    state.editing = view && view->IsEditing();
    state.busy = busy;
    state.findMode = findMode;
    state.kind = content.Kind();
    state.rows = content.RowCount();
    state.selected = List()->GetSelectedItemCount();
    state.key = content.Key();
    return state;
}

void CListBar::ApplyRule(wxUpdateUIEvent& event) {
    std::optional<CommandStatus> rule = CommandRule(event.GetId(), State());
    if (!rule) return;
    event.Enable(rule->enabled);
    // Only the "Arranged by" items carry a check mark.
    if (ArrangeKeyOf(event.GetId())) event.Check(rule->checked);
}

// Ctrl+C and Ctrl+A are also the shortcuts of New Category and Select All. While a text box has the
// focus they copy or select its text, as they do everywhere else; from the menu or the toolbar the
// commands still run.
bool CListBar::TextShortcut(int id, const wxCommandEvent* event) {
    if (id != ID_NEW_CATEGORY && id != ID_SELECT_ALL) return false;
    const wxObject* source = event ? event->GetEventObject() : nullptr;
    if (wxDynamicCast(source, wxMenu) || wxDynamicCast(source, wxToolBar)) return false;
    auto* entry = dynamic_cast<wxTextEntry*>(wxWindow::FindFocus());
    if (!entry) return false;
    if (id == ID_NEW_CATEGORY) {
        entry->Copy();
    } else {
        entry->SelectAll();
    }
    return true;
}

bool CListBar::RunListCommand(int id) {
    switch (id) {
        case ID_NEW_CONTEXT:
            NewItem(content.Kind(), true);
            return true;
        case ID_NEW_CARD:
        case ID_NEW_DROPDOWN:
            NewItem(ListPage::Cards, false);
            return true;
        case ID_NEW_TEMPLATE:
            NewItem(ListPage::Templates, false);
            return true;
        case ID_NEW_CATEGORY:
            NewItem(ListPage::Categories, false);
            return true;
        case ID_DELETE:
            Delete();
            return true;
        case ID_SELECT_ALL:
            SelectAll();
            return true;
        case ID_INVERT_SELECTION:
            Invert();
            return true;
        case ID_SAVE_AS_TEMPLATE:
            SaveAsTemplate();
            return true;
        default:
            return false;
    }
}

// The menu's New commands first switch the navigation pane to their list; its page may ask for the
// password, and the command goes on only when that list is shown.
bool CListBar::ShowPage(ListPage kind) {
    if (content.Kind() != kind && links.showPage) links.showPage(kind);
    return content.Kind() == kind;
}

void CListBar::NewItem(ListPage kind, bool fromContextMenu) {
    if (!fromContextMenu && !ShowPage(kind)) return;
    std::optional<card_info_struct> row;
    switch (kind) {
        case ListPage::Cards:
            row = NewCard();
            break;
        case ListPage::Templates:
            if (uint32_t id = links.data->TakeTemplateId(); id != 0 && view) {
                row = NewRow(static_cast<int32_t>(id), IDS_NEW_TEMPLATE_NAME);
                if (!view->ShowTemplate(row->id, true, true)) row.reset();
            }
            break;
        case ListPage::Categories:
            if (int32_t id = links.data->TakeCategoryId(); id != 0 && view) {
                row = NewRow(id, IDS_NEW_CATEGORY_NAME);
                if (!view->ShowCategory(id, true, true)) row.reset();
            }
            break;
        case ListPage::Backups:
        case ListPage::None:
            break;
    }
    if (row) AddNewRow(*row, fromContextMenu);
    UpdateTitle();
}

// The new row stands at the end (or, from the context menu, among the templates or categories by its
// name), alone selected; the view already shows its record, so it is not told again.
void CListBar::AddNewRow(const card_info_struct& row, bool byName) {
    int at = content.AddPending(row, byName);
    List()->SetItemCount(content.RowCount());
    notify = false;
    SelectOnly(at);
    notify = true;
    selection = content.Item(at);
    List()->Refresh();
}

std::optional<card_info_struct> CListBar::NewCard() {
    std::optional<int32_t> choice = ChooseTemplate();
    // The lock ends the dialog: a wallet locked or closed meanwhile gets no card.
    if (!choice || !(links.walletOpen && links.walletOpen()) || !links.data->walletStore) return std::nullopt;
    uint32_t id = links.data->TakeCardId();
    if (id == 0) return std::nullopt;
    card_info_struct row = NewRow(static_cast<int32_t>(id), IDS_NEW_CARD_NAME);
    const std::vector<card_info_struct>& templates = links.data->templates;
    auto from = std::find_if(templates.begin(), templates.end(),
                             [&](const card_info_struct& t) { return t.id == *choice; });
    if (from != templates.end()) {
        row.name = from->name;
        row.icon = from->icon;
        row.category = from->category;
    }
    // The view may keep the record it shows (its unsaved changes were not saved): then no new row.
    if (!view || !view->ShowCard(row.id, true, *choice, true)) return std::nullopt;
    return row;
}

// "Select Template", shown when the template store holds a record; the lock ends it as no choice.
std::optional<int32_t> CListBar::ChooseTemplate() {
    CTesseraEncryptedLinkList* templates = links.data->templateStore.get();
    if (!templates || templates->records.count == 0) return std::nullopt;
    CTemplateDlg dialog(wxGetTopLevelParent(this), templates, links.icons);
    endOwnDialog = [&dialog] { dialog.EndAsNoChoice(); };
    int result = dialog.ShowModal();
    endOwnDialog = nullptr;
    if (result != wxID_OK) return std::nullopt;
    return dialog.TemplateId();
}

// "Delete Category", with whether the category's cards go too.
bool CListBar::ConfirmDeleteCategory() {
    Tessera_DeleteCategoryDlg dialog(wxGetTopLevelParent(this));
    bool confirmed = dialog.ShowModal() == wxID_OK;
    deleteCategoryCards = confirmed && dialog.deleteCards != 0;
    return confirmed;
}

void CListBar::EndOwnDialog() {
    if (endOwnDialog) endOwnDialog();
}

std::vector<int> CListBar::SelectedRows() const {
    std::vector<int> rows;
    for (long row = List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = List()->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(row));
    return rows;
}

bool CListBar::ConfirmDelete() {
    wxWindow* top = wxGetTopLevelParent(this);
    switch (content.Kind()) {
        case ListPage::Cards:
            return AskYesNo(top, IDS_DELETE_CARD_CONFIRM, IDS_HOST_CAPTION);
        case ListPage::Templates:
            return AskYesNo(top, IDS_DELETE_TEMPLATE_CONFIRM, IDS_APP_CAPTION);
        case ListPage::Categories:
            return ConfirmDeleteCategory();
        case ListPage::Backups:
            return AskYesNo(top, IDS_DELETE_BACKUP_CONFIRM, IDS_APP_CAPTION);
        case ListPage::None:
            break;
    }
    return false;
}

// On the deleting worker: the model and the phone, never a window.
bool CListBar::EraseItem(const ListItem& item) {
    CData& data = *links.data;
    switch (item.kind) {
        case ListPage::Cards:
            return data.DeleteCard(static_cast<uint32_t>(item.id));
        case ListPage::Templates:
            return data.DeleteTemplate(static_cast<uint32_t>(item.id));
        case ListPage::Categories:
            // The category is gone even when one of its cards could not be released.
            if (!data.DeleteCategory(item.id)) return false;
            data.ReleaseCategoryCards(item.id, deleteCategoryCards);
            return true;
        case ListPage::Backups:
            return links.deleteBackupFile && links.deleteBackupFile(item.name);
        case ListPage::None:
            break;
    }
    return false;
}

void CListBar::RemoveDeletedRow(int row) {
    if (ListItem item = content.Item(row); item.kind == ListPage::Backups && links.forgetBackup)
        links.forgetBackup(item.name);
    content.RowDeleted(row);
    List()->DeleteItem(row);
}

// The worker deletes the selected items from the last row up while this thread shows the progress
// window; each row goes on this thread. Selection events stay unheard until the walk has ended.
void CListBar::Delete() {
    std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    busy = true;
    if (!ConfirmDelete()) {
        busy = false;
        return;
    }
    // A reset or a lock that arrives meanwhile waits for the walk: the rows and stores it uses stay.
    SessionHold hold(links.gate);
    std::vector<ListItem> items;
    for (int row : rows) items.push_back(content.Item(row));
    int focused = static_cast<int>(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED));
    int count = content.RowCount();
    ListPage kind = content.Kind();
    wxWindow* top = wxGetTopLevelParent(this);
    top->Disable();
    notify = false;
    List()->Freeze();
    links.data->SetNotifyGate([](const std::function<void()>& tell) { RunOnUiThread(tell); });
    DeletionResult result;
    RunWithProgress(top, LoadResString(IDS_DELETE_TITLE), LoadResString(IDS_DELETING), [&] {
        RapiConnection connection;
        auto erase = [&](int row) {
            auto at = std::lower_bound(rows.begin(), rows.end(), row) - rows.begin();
            return connection.Ok() && EraseItem(items[at]);
        };
        auto removed = [this](int row) { RunOnUiThread([this, row] { RemoveDeletedRow(row); }); };
        result = DeleteRowsBottomUp(rows, focused, count, erase, removed);
    });
    links.data->SetNotifyGate(nullptr);
    List()->Thaw();
    notify = true;
    top->Enable();
    if (result.lastSucceeded) {
        if (content.RowCount() == 0) {
            ResetViewFor(kind);
        } else {
            SelectOnly(result.focusRow);
        }
    }
    LayoutList();
    UpdateTitle();
    busy = false;
}

void CListBar::SelectAll() {
    notify = false;
    for (long row = 0; row < List()->GetItemCount(); ++row) {
        if (List()->GetItemState(row, kSelectedAndFocused) != kSelectedAndFocused)
            List()->SetItemState(row, kSelectedAndFocused, kSelectedAndFocused);
    }
    notify = true;
}

// A fully selected list ends with no selection.
void CListBar::Invert() {
    List()->Freeze();
    notify = false;
    long lastSelected = -1;
    for (long row = 0; row < List()->GetItemCount(); ++row) {
        if (List()->GetItemState(row, wxLIST_STATE_SELECTED)) {
            List()->SetItemState(row, 0, kSelectedAndFocused);
        } else {
            List()->SetItemState(row, kSelectedAndFocused, kSelectedAndFocused);
            lastSelected = row;
        }
    }
    if (lastSelected >= 0) {
        List()->SetItemState(lastSelected, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
        List()->EnsureVisible(lastSelected);
    }
    notify = true;
    List()->Thaw();
    // The view shows the row that now has the selection mark, or nothing.
    if (lastSelected < 0) return ResetViewFor(content.Kind());
    selection = content.Item(static_cast<int>(lastSelected));
    if (view && !content.IsPending(static_cast<int>(lastSelected))) ShowOnView(selection);
}

// The card under the selection mark becomes a template with its field names and only its name.
void CListBar::SaveAsTemplate() {
    long row = List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    if (row < 0) row = List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (row < 0) return;
    bool saved =
        !content.IsPending(static_cast<int>(row)) &&
        links.data->SaveCardAsTemplate(static_cast<uint32_t>(content.Item(static_cast<int>(row)).id));
    wxMessageBox(LoadResString(saved ? IDS_TEMPLATE_SAVED : IDS_SAVE_AS_TEMPLATE_FAILED),
                 LoadResString(IDS_APP_CAPTION), wxOK, wxGetTopLevelParent(this));
}

void CListBar::OnListKey(wxListEvent& event) {
    if (event.GetKeyCode() == WXK_DELETE || event.GetKeyCode() == WXK_NUMPAD_DELETE) {
        OnCommand(ID_DELETE, plugin::kCodeCommand, nullptr);
    } else {
        event.Skip();
    }
}
