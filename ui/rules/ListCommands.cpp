#include "ui/rules/ListCommands.h"

#include <algorithm>

#include "model/Data.h"
#include "platform/SystemTime.h"
#include "ui/resources/Resource.h"
#include "ui/rules/DeletionWalk.h"
#include "ui/rules/ItemView.h"
#include "ui/rules/ListKinds.h"
#include "ui/rules/SessionGate.h"

CommandState ListCommands::State() const {
    ItemView* const view = View();
    CommandState state;
    state.visible = screen.Visible();
    state.open = links.walletOpen && links.walletOpen();
    state.editing = view && view->IsEditing();
    state.busy = busy;
    state.findMode = findMode;
    state.kind = content.Kind();
    state.rows = content.RowCount();
    state.selected = static_cast<int>(screen.SelectedRows().size());
    state.key = content.Key();
    return state;
}

bool ListCommands::Run(int id) {
    if (std::optional<CommandStatus> rule = CommandRule(id, State()); rule && !rule->enabled) return true;
    switch (id) {
        case ID_NEW_CONTEXT:
            NewItem(content.Kind(), true);
            return true;
        case ID_NEW_CARD:
        case ID_NEW_DROPDOWN:
            NewItem(ListKind::Cards, false);
            return true;
        case ID_NEW_TEMPLATE:
            NewItem(ListKind::Templates, false);
            return true;
        case ID_NEW_CATEGORY:
            NewItem(ListKind::Categories, false);
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
        case ID_FIND:
            ToggleFind();
            return true;
        case ID_BACKUP:
            screen.Backup();
            return true;
        case ID_EXPORT_CARDS:
            screen.Export();
            return true;
        case ID_IMPORT_CARDS:
            screen.Import();
            return true;
        case ID_LOCK_WALLET:
            if (links.lock) links.lock();
            return true;
        case ID_VIEW_LIST_PANE:
            screen.ShowPane(!screen.Visible());
            return true;
        default:
            return false;
    }
}

// The menu's New commands first switch the navigation pane to their list; its page may ask for the
// password, and the command goes on only when that list is shown.
bool ListCommands::ShowPage(ListKind kind) {
    if (content.Kind() != kind && links.showPage) links.showPage(kind);
    return content.Kind() == kind;
}

void ListCommands::NewItem(ListKind kind, bool fromContextMenu) {
    if (!fromContextMenu && !ShowPage(kind)) return;
    std::optional<card_info_struct> row;
    if (kind == ListKind::Cards) {
        row = NewCard();
    } else if (kind == ListKind::Templates) {
        row = NewRecord(kind, static_cast<int32_t>(links.data->TakeTemplateId()));
    } else if (kind == ListKind::Categories) {
        row = NewRecord(kind, links.data->TakeCategoryId());
    }
    if (row) AddNewRow(*row, fromContextMenu);
    screen.RowsChanged();
}

card_info_struct ListCommands::NewRow(int32_t id, ListKind kind) const {
    card_info_struct row;
    row.id = id;
    row.name = screen.Text(TraitsOf(kind).newName);
    row.created = row.modified = GetSystemTimeUtc();
    return row;
}

// A new template or category, shown in the view for editing; none when the view keeps its record.
std::optional<card_info_struct> ListCommands::NewRecord(ListKind kind, int32_t id) {
    ItemView* const view = View();
    if (id == 0 || !view) return std::nullopt;
    const bool shown =
        kind == ListKind::Templates ? view->ShowTemplate(id, true, true) : view->ShowCategory(id, true, true);
    if (!shown) return std::nullopt;
    return NewRow(id, kind);
}

// The new row stands at the end (or, from the context menu, among the templates or categories by its
// name), alone selected; the view already shows its record, so it is not told again.
void ListCommands::AddNewRow(const card_info_struct& row, bool byName) {
    const int at = content.AddPending(row, byName);
    screen.RowsChanged();
    SelectOnly(at);
    selection = content.Item(at);
}

std::optional<card_info_struct> ListCommands::NewCard() {
    ItemView* const view = View();
    std::optional<int32_t> choice = links.data->HasTemplateRecords() ? screen.ChooseTemplate() : std::nullopt;
    // The lock ends the dialog: a wallet locked or closed meanwhile gets no card.
    if (!choice || !(links.walletOpen && links.walletOpen()) || !links.data->HasStores()) return std::nullopt;
    const auto id = static_cast<int32_t>(links.data->TakeCardId());
    if (id == 0) return std::nullopt;
    card_info_struct row = NewRow(id, ListKind::Cards);
    const std::vector<card_info_struct>& rows = links.data->templates;
    auto from =
        std::find_if(rows.begin(), rows.end(), [&](const card_info_struct& t) { return t.id == *choice; });
    if (from != rows.end()) {
        row.name = from->name;
        row.icon = from->icon;
        row.category = from->category;
    }
    // The view may keep the record it shows (its unsaved changes were not saved): then no new row.
    if (!view || !view->ShowCard(id, true, *choice, true)) return std::nullopt;
    return row;
}

bool ListCommands::ConfirmDelete() {
    const ListKindTraits& traits = TraitsOf(content.Kind());
    if (traits.deleteQuestion) return screen.Ask(traits.deleteQuestion, traits.deleteCaption);
    if (content.Kind() != ListKind::Categories) return false;
    std::optional<bool> withCards = screen.AskDeleteCategory();
    deleteCategoryCards = withCards.value_or(false);
    return withCards.has_value();
}

// On the deleting worker: the model and the phone, never a window.
bool ListCommands::EraseItem(const ListItem& item) {
    CData& data = *links.data;
    switch (item.kind) {
        case ListKind::Cards:
            return data.DeleteCard(static_cast<uint32_t>(item.id));
        case ListKind::Templates:
            return data.DeleteTemplate(static_cast<uint32_t>(item.id));
        case ListKind::Categories:
            // The category is gone even when one of its cards could not be released.
            if (!data.DeleteCategory(item.id)) return false;
            data.ReleaseCategoryCards(item.id, deleteCategoryCards);
            return true;
        case ListKind::Backups:
            return links.deleteBackupFile && links.deleteBackupFile(item.name);
        case ListKind::None:
            break;
    }
    return false;
}

void ListCommands::RemoveDeletedRow(int row) {
    if (ListItem item = content.Item(row); item.kind == ListKind::Backups && links.forgetBackup)
        links.forgetBackup(item.name);
    content.RowDeleted(row);
    screen.RowDeleted(row);
}

// The worker deletes the selected items from the last row up while the screen shows the progress
// window; each row goes on the screen's thread.
void ListCommands::Delete() {
    std::vector<int> rows = screen.SelectedRows();
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
    const int focused = screen.FocusedRow();
    const int count = content.RowCount();
    const ListKind kind = content.Kind();
    links.data->SetNotifyGate([this](const std::function<void()>& tell) { screen.OnScreenThread(tell); });
    DeletionResult result;
    screen.RunWithProgress([&] {
        std::unique_ptr<WorkerConnection> connection = links.gate ? links.gate->ConnectWorker() : nullptr;
        auto erase = [&](int row) {
            auto at = std::lower_bound(rows.begin(), rows.end(), row) - rows.begin();
            return connection && EraseItem(items[at]);
        };
        auto removed = [this](int row) { screen.OnScreenThread([this, row] { RemoveDeletedRow(row); }); };
        result = DeleteRowsBottomUp(rows, focused, count, erase, removed);
    });
    links.data->SetNotifyGate(nullptr);
    // The view follows the focus to the row left selected, or shows nothing: what it showed may be gone
    // (a backup's page would otherwise offer to restore a deleted file).
    if (result.lastSucceeded) {
        if (content.RowCount() == 0) {
            ResetView(kind);
        } else {
            SelectOnly(result.focusRow);
            RowFocused(result.focusRow);
        }
    }
    screen.RowsChanged();
    busy = false;
}

void ListCommands::SelectAll() {
    std::vector<int> rows(static_cast<size_t>(content.RowCount()));
    for (size_t row = 0; row < rows.size(); ++row) rows[row] = static_cast<int>(row);
    screen.Select(rows, rows.empty() ? -1 : rows.back());
}

// The unselected rows become the selection, the last of them focused; a fully selected list ends with
// none. The view shows the focused row, or nothing.
void ListCommands::Invert() {
    const std::vector<int> selected = screen.SelectedRows();
    std::vector<int> rows;
    for (int row = 0, next = 0; row < content.RowCount(); ++row) {
        while (next < static_cast<int>(selected.size()) && selected[next] < row) ++next;
        if (next == static_cast<int>(selected.size()) || selected[next] != row) rows.push_back(row);
    }
    const int focus = rows.empty() ? -1 : rows.back();
    screen.Select(rows, focus);
    if (focus < 0) return ResetView(content.Kind());
    RowFocused(focus);
}

// The card under the selection mark becomes a template with its field names and only its name.
void ListCommands::SaveAsTemplate() {
    int row = screen.FocusedRow();
    if (row < 0) {
        const std::vector<int> selected = screen.SelectedRows();
        if (selected.empty()) return;
        row = selected.front();
    }
    // A new card's row is refused by the model: its record is not stored yet.
    const bool saved = links.data->SaveCardAsTemplate(static_cast<uint32_t>(content.Item(row).id));
    screen.Tell(saved ? IDS_TEMPLATE_SAVED : IDS_SAVE_AS_TEMPLATE_FAILED);
}

// Find off shows the whole list again.
void ListCommands::ToggleFind() {
    findMode = !findMode;
    links.data->SetFind(findMode);
    screen.ClearFindBox();
    if (findMode) screen.FocusFindBox();
    if (content.Kind() != ListKind::Cards) return;
    content.Rebuild();
    KeepShownSelected();
}

void ListCommands::FindText(const std::u16string& text) {
    links.data->SetFindText(text);
    if (content.Kind() != ListKind::Cards && !text.empty() && links.showPage) links.showPage(ListKind::Cards);
    if (content.Kind() != ListKind::Cards) return;
    content.Rebuild();
    KeepShownSelected();
}

void ListCommands::FilterChosen(int32_t category) {
    if (links.data->FindActive()) {
        links.data->SetFindText({});
        screen.ClearFindBox();
    }
    content.SetCategoryFilter(category);
    KeepShownSelected();
}

void ListCommands::RowFocused(int row) {
    ItemView* const view = View();
    selection = content.Item(row);
    if (view && !content.IsPending(row)) ShowOnView(selection);
}

void ListCommands::KeepShownSelected() {
    ItemView* const view = View();
    screen.RowsChanged();
    const std::optional<int32_t> shown = view ? view->ShownRecord(content.Kind()) : std::nullopt;
    const int row = shown ? content.FindRow(*shown) : -1;
    SelectOnly(row);
    selection = row >= 0 ? content.Item(row) : ListItem{};
    if (row < 0 && shown) ResetView(content.Kind());
}

void ListCommands::Reselect() {
    for (int row = 0; row < content.RowCount(); ++row) {
        if (content.Item(row) == selection) return SelectOnly(row);
    }
}

void ListCommands::SelectRecord(ListKind kind, int32_t id) {
    if (kind != content.Kind()) return;
    const int row = content.FindRow(id);
    SelectOnly(row);
    if (row >= 0) selection = content.Item(row);
}

void ListCommands::SelectOnly(int row) {
    if (row < 0 || row >= content.RowCount()) return screen.Select({}, -1);
    screen.Select({row}, row);
}

void ListCommands::ShowOnView(const ListItem& item) {
    ItemView* const view = View();
    if (!view) return;
    switch (item.kind) {
        case ListKind::Cards:
            view->ShowCard(item.id, false, -1, false);
            break;
        case ListKind::Templates:
            view->ShowTemplate(item.id, false, false);
            break;
        case ListKind::Categories:
            view->ShowCategory(item.id, false, false);
            break;
        case ListKind::Backups:
            view->ShowBackup(item.name);
            break;
        case ListKind::None:
            break;
    }
}

// An id no record has empties the view's pane of that kind.
void ListCommands::ResetView(ListKind kind) {
    constexpr int32_t kNoRecord = -1;
    ShowOnView({kind, kNoRecord, {}});
}
