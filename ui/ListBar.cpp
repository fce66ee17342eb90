#include "ui/ListBar.h"

#include <algorithm>

#include <wx/aui/framemanager.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "device/TesseraBackup.h"
#include "model/Data.h"
#include "plugin-api/FixedIds.h"
#include "plugin-api/PluginApi.h"
#include "ui/BackupCommands.h"
#include "ui/CommandTables.h"
#include "ui/ExportCommand.h"
#include "ui/ImportCommand.h"
#include "ui/LinkLauncher.h"
#include "ui/MyIconList.h"
#include "ui/MyListCtrl.h"
#include "ui/Resource.h"
#include "ui/RowRules.h"
#include "ui/StartPages.h"
#include "ui/StringTable.h"
#include "ui/WxText.h"

namespace {

constexpr int kFilterBoxWidth = 400;
constexpr int kFilterBoxHeight = 20;
constexpr size_t kSortHeaderLimit = 100;

unsigned KeyName(CardSortKey key) {
    static constexpr unsigned kNames[] = {IDS_KEY_NAME, IDS_KEY_CATEGORY, IDS_KEY_CREATED, IDS_KEY_MODIFIED};
    return kNames[static_cast<int>(key)];
}

unsigned Caption(ListPage kind) {
    switch (kind) {
        case ListPage::Cards:
            return IDS_TREE_CARDS;
        case ListPage::Templates:
            return IDS_TREE_TEMPLATES;
        case ListPage::Categories:
            return IDS_TREE_CATEGORIES;
        case ListPage::Backups:
            return IDS_TREE_BACKUP;
        case ListPage::None:
            break;
    }
    return IDS_TREE_ROOT;
}

}  // namespace

// The rows as a virtual list: the control asks for the texts of the rows it draws, so a list of ten
// thousand cards costs no more to show than a list of ten. Even rows are tinted; dotted rules part the rows.
class RowsView : public CMyListCtrl {
public:
    RowsView(wxWindow* parent, const ListContent& content)
        : CMyListCtrl(parent, IDC_CARD_LIST, wxDefaultPosition, wxDefaultSize,
                      wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_NONE),
          content(content),
          rules(*this, *GetChildren().front()) {
        tinted.SetBackgroundColour(wxColour(235, 240, 242));
        plain.SetBackgroundColour(*wxWHITE);
    }

private:
    wxString OnGetItemText(long item, long column) const override {
        return ToWx(content.Text(static_cast<int>(item), static_cast<int>(column)));
    }
    int OnGetItemColumnImage(long item, long column) const override {
        return column == 0 ? content.Image(static_cast<int>(item)) : -1;
    }
    wxItemAttr* OnGetItemAttr(long item) const override {
        return const_cast<wxItemAttr*>(item % 2 ? &plain : &tinted);
    }

public:
    // Whether an event came from the rows' area (not the header).
    bool FromRows(const wxObject* source) const { return source == GetChildren().front() || source == this; }

private:
    const ListContent& content;
    wxItemAttr tinted, plain;
    RowRules rules;
};

CListBar::CListBar(wxWindow* parent, Links links)
    : wxPanel(parent, IDW_LIST_BAR),
      links(std::move(links)),
      content(*this->links.data, this->links.backups) {
    list = new RowsView(this, content);
    filterBox = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxSize(kFilterBoxWidth, kFilterBoxHeight));
    GiveFixedId(filterBox, IDC_CATEGORY_FILTER);
    filterBox->Hide();
    title = wxString::Format(LoadResString(IDS_LIST_TITLE), LoadResString(IDS_TREE_ROOT), 0);
    list->Bind(wxEVT_LIST_COL_CLICK, &CListBar::OnHeaderClick, this);
    list->Bind(wxEVT_LIST_ITEM_FOCUSED, &CListBar::OnRowFocused, this);
    list->Bind(wxEVT_LIST_ITEM_SELECTED, &CListBar::OnRowFocused, this);
    list->Bind(wxEVT_LIST_KEY_DOWN, &CListBar::OnListKey, this);
    list->Bind(wxEVT_CONTEXT_MENU, &CListBar::OnContextMenu, this);
    filterBox->Bind(wxEVT_CHOICE, &CListBar::OnFilterChosen, this);
    Bind(wxEVT_SIZE, &CListBar::OnSize, this);
    // The pane's own popup menus (the context menu, the header's "Arranged by").
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent& event) {
            if (!OnCommand(event.GetId(), plugin::kCodeCommand, &event)) event.Skip();
        },
        ID_NEW_CARD, ID_LOCK_WALLET);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) {
            if (!OnCommand(event.GetId(), plugin::kCodeUpdateUi, &event)) event.Skip();
        },
        ID_NEW_CARD, ID_LOCK_WALLET);
    if (this->links.data) this->links.data->AddListener(this);
}

CListBar::~CListBar() {
    if (links.data) links.data->RemoveListener(this);
    // The rows report their focus as they go: let them go while this is still a list pane, unheard.
    notify = false;
    DestroyChildren();
}

wxListCtrl* CListBar::List() const {
    return list;
}

bool CListBar::ShowList(ListPage kind) {
    if (view && kind != ListPage::None && !view->SwitchPane(static_cast<int>(kind))) return false;
    list->SetImageList(kind == ListPage::Backups ? links.icons->Backup() : links.icons->Small(),
                       wxIMAGE_LIST_SMALL);
    if (kind == ListPage::Cards && filterBox->GetCount() > 0 && filterBox->GetSelection() != 0)
        filterBox->SetSelection(0);
    content.Show(kind);
    filterBox->Show(kind == ListPage::Cards);
    BuildColumns();
    RefillRows();
    LayoutList();
    SelectFirstRow();
    UpdateTitle();
    Refresh();
    return true;
}

void CListBar::BuildColumns() {
    list->Freeze();
    list->DeleteAllColumns();
    switch (content.Kind()) {
        case ListPage::Cards:
            list->InsertColumn(
                0, wxString::Format(LoadResString(IDS_ARRANGED_BY), LoadResString(KeyName(content.Key()))));
            list->InsertColumn(1, LoadResString(content.Ascending() ? IDS_ASCENDING : IDS_DESCENDING),
                               wxLIST_FORMAT_CENTRE);
            list->InsertColumn(2, wxEmptyString, wxLIST_FORMAT_LEFT, 0);
            break;
        case ListPage::Templates:
        case ListPage::Categories:
            list->InsertColumn(0, LoadResString(Caption(content.Kind())));
            list->InsertColumn(1, wxEmptyString, wxLIST_FORMAT_LEFT, 0);
            break;
        case ListPage::Backups:
            list->InsertColumn(0, LoadResString(IDS_COLUMN_BACKUP));
            break;
        case ListPage::None:
            break;
    }
    list->Thaw();
}

void CListBar::RefillRows() {
    list->SetItemCount(content.RowCount());
    list->Refresh();
}

void CListBar::SelectFirstRow() {
    SelectOnly(0);
}

void CListBar::SelectRecord(ListPage kind, int32_t id) {
    if (kind != content.Kind()) return;
    const int row = content.FindRow(id);
    notify = false;
    SelectOnly(row);
    if (row >= 0) selection = content.Item(row);
    notify = true;
}

// Deselects every row, then selects and focuses row (when there is one).
void CListBar::SelectOnly(long row) {
    for (long selected = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); selected >= 0;
         selected = list->GetNextItem(selected, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        list->SetItemState(selected, 0, wxLIST_STATE_SELECTED);
    if (row < 0 || row >= content.RowCount()) return;
    list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(row);
}

void CListBar::UpdateTitle() {
    title = wxString::Format(LoadResString(IDS_LIST_TITLE), LoadResString(Caption(content.Kind())),
                             content.RowCount());
    if (wxAuiManager* manager = wxAuiManager::GetManager(this)) {
        wxAuiPaneInfo& pane = manager->GetPane(this);
        // The caption is drawn from the pane's record: a repaint shows the new one without a new layout.
        if (pane.IsOk()) {
            pane.Caption(title);
            manager->GetManagedWindow()->Refresh();
        }
    }
}

void CListBar::SetHeaderText(int column, const wxString& text) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    item.SetText(text);
    list->SetColumn(column, item);
}

// The card list: the filter box on top, column 0 two thirds of the width; every other list fills the
// pane with one column.
void CListBar::LayoutList() {
    wxSize client = GetClientSize();
    int top = 0;
    if (filterBox->IsShown()) {
        // At least as high as the toolkit draws a drop-down list.
        filterBox->SetSize(0, 0, client.x - 1, std::max(kFilterBoxHeight, filterBox->GetBestSize().y));
        top = filterBox->GetSize().y;
    }
    list->SetSize(0, top, std::max(client.x, 0), std::max(client.y - top, 0));
    int width = list->GetClientSize().x;
    if (list->GetColumnCount() == 0) return;
    if (content.Kind() == ListPage::Cards) {
        list->SetColumnWidth(0, width * 2 / 3);
        list->SetColumnWidth(1, width - width * 2 / 3);
    } else {
        list->SetColumnWidth(0, width);
    }
}

void CListBar::OnSize(wxSizeEvent& event) {
    LayoutList();
    event.Skip();
}

void CListBar::Arrange(CardSortKey key) {
    content.Arrange(key);
    if (content.Kind() == ListPage::Cards) {
        wxString name = LoadResString(KeyName(key));
        SetHeaderText(0, wxString::Format(LoadResString(IDS_SORT_BY), name).Left(kSortHeaderLimit));
    }
    KeepShownSelected();
}

// The rows were rebuilt (filter, find text, order): the record the view shows stays selected while it is
// listed; otherwise no row is selected, and the view shows nothing.
void CListBar::KeepShownSelected() {
    RefillRows();
    UpdateTitle();
    const std::optional<int32_t> shown =
        view ? view->ShownRecord(static_cast<int>(content.Kind())) : std::nullopt;
    const int row = shown ? content.FindRow(*shown) : -1;
    notify = false;
    SelectOnly(row);
    notify = true;
    selection = row >= 0 ? content.Item(row) : ListItem{};
    if (row < 0 && shown) ResetViewFor(content.Kind());
}

void CListBar::OnHeaderClick(wxListEvent& event) {
    ListPage kind = content.Kind();
    if (kind == ListPage::Cards && event.GetColumn() == 0) {
        std::unique_ptr<wxMenu> menu = LoadArrangeMenu();
        PopupWithRules(menu.get());
        return;
    }
    if (kind == ListPage::Backups || kind == ListPage::None) return;
    if (kind == ListPage::Cards && event.GetColumn() != 1) return;
    content.FlipDirection();
    if (kind == ListPage::Cards)
        SetHeaderText(1, LoadResString(content.Ascending() ? IDS_ASCENDING : IDS_DESCENDING));
    KeepShownSelected();
}

void CListBar::OnRowFocused(wxListEvent& event) {
    long row = event.GetIndex();
    constexpr long kBoth = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
    if (!notify || row < 0 || list->GetItemState(row, kBoth) != kBoth) return;
    selection = content.Item(static_cast<int>(row));
    // The view already shows the new record of a row not yet stored.
    if (view && !content.IsPending(static_cast<int>(row))) ShowOnView(selection);
}

void CListBar::ShowOnView(const ListItem& item) {
    switch (item.kind) {
        case ListPage::Cards:
            view->ShowCard(item.id, false, -1, false);
            break;
        case ListPage::Templates:
            view->ShowTemplate(item.id, false, false);
            break;
        case ListPage::Categories:
            view->ShowCategory(item.id, false, false);
            break;
        case ListPage::Backups:
            view->ShowBackup(item.name);
            break;
        case ListPage::None:
            break;
    }
}

void CListBar::OnFilterChosen(wxCommandEvent&) {
    int chosen = filterBox->GetSelection();
    if (chosen == wxNOT_FOUND) return;
    if (links.data->findActive) {
        links.data->findText.clear();
        if (wxComboBox* box = FindBox()) box->ChangeValue(wxEmptyString);
    }
    content.SetCategoryFilter(
        static_cast<int32_t>(reinterpret_cast<intptr_t>(filterBox->GetClientData(chosen))));
    KeepShownSelected();
}

wxComboBox* CListBar::FindBox() const {
    auto* frame = wxDynamicCast(GetParent(), wxFrame);
    wxToolBar* bar = frame ? frame->GetToolBar() : nullptr;
    return bar ? wxDynamicCast(bar->FindControl(ID_FIND_BOX), wxComboBox) : nullptr;
}

// Find off shows the whole list again.
void CListBar::ToggleFind() {
    findMode = !findMode;
    links.data->findActive = findMode ? 1 : 0;
    links.data->findText.clear();
    if (wxComboBox* box = FindBox()) box->ChangeValue(wxEmptyString);
    if (content.Kind() != ListPage::Cards) return;
    content.Rebuild();
    KeepShownSelected();
}

void CListBar::FindTextChanged(const wxString& text) {
    links.data->findText = FromWx(text);
    if (content.Kind() != ListPage::Cards && !text.empty() && links.showPage) links.showPage(ListPage::Cards);
    if (content.Kind() != ListPage::Cards) return;
    content.Rebuild();
    KeepShownSelected();
}

bool CListBar::OnCommand(int id, int code, void* extra) {
    if (code == plugin::kCodeUpdateUi) {
        if (!CommandRule(id, State())) return false;
        if (extra) ApplyRule(*static_cast<wxUpdateUIEvent*>(extra));
        return true;
    }
    auto* event = static_cast<wxCommandEvent*>(extra);
    if (id == ID_FIND_BOX && code == plugin::kCodeEditChange) {
        FindTextChanged(event ? event->GetString() : FindBox() ? FindBox()->GetValue() : wxString());
        return true;
    }
    if (code != plugin::kCodeCommand) return false;
    if (TextShortcut(id, event)) return true;
    // A command that may not be used now is swallowed, whichever way it came (a shortcut too).
    if (std::optional<CommandStatus> rule = CommandRule(id, State()); rule && !rule->enabled) return true;
    if (RunListCommand(id)) return true;
    if (std::optional<CardSortKey> key = ArrangeKeyOf(id)) {
        Arrange(*key);
        return true;
    }
    switch (id) {
        case ID_FIND_BOX:
            if (wxComboBox* box = FindBox();
                box && !box->GetValue().empty() && box->FindString(box->GetValue(), true) == wxNOT_FOUND)
                box->Append(box->GetValue());
            return true;
        case ID_FIND:
            ToggleFind();
            return true;
        case ID_BACKUP:
            return RunBackupCommand(*this);
        case ID_EXPORT_CARDS:
            return RunExportCommand(this, *links.data);
        case ID_IMPORT_CARDS:
            return RunImportCommand(this, *links.data, links.gate);
        case ID_VISIT_WEBSITE:
            LaunchLink(wxString::FromUTF8(kMakerWebsite), "open");
            return true;
        case ID_LOCK_WALLET:
            if (links.lock) links.lock();
            return true;
        default:
            return false;
    }
}

void CListBar::RowChanged(ListKind kind, int32_t id) {
    UpdateRow(static_cast<ListPage>(kind), id);
}

void CListBar::UpdateRow(ListPage kind, int32_t id) {
    if (kind != content.Kind()) return;
    int row = content.Settle(kind, id);
    if (row < 0) return;
    if (list->GetItemCount() != content.RowCount()) {
        list->SetItemCount(content.RowCount());
        UpdateTitle();
    }
    list->RefreshItem(row);
}

void CListBar::Reload() {
    if (content.Kind() == ListPage::None) return;
    notify = false;
    content.Rebuild();
    RefillRows();
    UpdateTitle();
    for (int row = 0; row < content.RowCount(); ++row) {
        if (content.Item(row) == selection) {
            SelectOnly(row);
            break;
        }
    }
    notify = true;
}

void CListBar::RemoveRow(ListPage kind, int32_t id) {
    if (kind != content.Kind()) return;
    int row = content.DropPending(id);
    if (row < 0) return;
    list->DeleteItem(row);
    UpdateTitle();
    if (content.RowCount() == 0) ResetViewFor(kind);
}

// An id no record has empties the view's pane of that kind.
void CListBar::ResetViewFor(ListPage kind) {
    if (!view) return;
    constexpr int32_t kNoRecord = -1;
    switch (kind) {
        case ListPage::Cards:
            view->ShowCard(kNoRecord, false, kNoRecord, false);
            break;
        case ListPage::Templates:
            view->ShowTemplate(kNoRecord, false, false);
            break;
        case ListPage::Categories:
            view->ShowCategory(kNoRecord, false, false);
            break;
        case ListPage::Backups:
            view->ShowBackup({});
            break;
        case ListPage::None:
            break;
    }
}

void CListBar::CategoryAdded(int32_t id, const std::u16string& name) {
    filterBox->Append(ToWx(name), reinterpret_cast<void*>(static_cast<intptr_t>(id)));
}

void CListBar::CategoryRenamed(int32_t id, const std::u16string& name) {
    for (unsigned i = 0; i < filterBox->GetCount(); ++i) {
        if (reinterpret_cast<intptr_t>(filterBox->GetClientData(i)) != id) continue;
        bool selected = static_cast<int>(i) == filterBox->GetSelection();
        filterBox->Delete(i);
        filterBox->Insert(ToWx(name), i, reinterpret_cast<void*>(static_cast<intptr_t>(id)));
        if (selected) filterBox->SetSelection(i);
        return;
    }
}

void CListBar::CategoryRemoved(int32_t id) {
    for (unsigned i = 0; i < filterBox->GetCount(); ++i) {
        if (reinterpret_cast<intptr_t>(filterBox->GetClientData(i)) == id) {
            filterBox->Delete(i);
            return;
        }
    }
}

void CListBar::CategoriesReloaded() {
    filterBox->Clear();
    filterBox->Append(LoadResString(IDS_ALL_CARDS),
                      reinterpret_cast<void*>(static_cast<intptr_t>(kAllCategories)));
    for (const category_struct& category : links.data->categories) {
        if (category.id != 0) CategoryAdded(category.id, category.name);
    }
    filterBox->SetSelection(0);
}

void CListBar::OnContextMenu(wxContextMenuEvent& event) {
    if (content.Kind() == ListPage::None || !list->FromRows(event.GetEventObject())) return;
    list->SetFocus();
    std::unique_ptr<wxMenu> menu = LoadPopupMenu(IDR_LIST_CONTEXT);
    if (content.Kind() == ListPage::Cards) {
        menu->AppendSeparator();
        AppendMenuCommand(menu.get(), ID_SAVE_AS_TEMPLATE, LoadResString(IDS_MENU_SAVE_AS_TEMPLATE));
    }
    PopupWithRules(menu.get());
}

// The toolkit shows a popup menu as it was made: its items take the rules' enabling and check marks first.
void CListBar::PopupWithRules(wxMenu* menu) {
    menu->UpdateUI(GetEventHandler());
    PopupMenu(menu);
}
