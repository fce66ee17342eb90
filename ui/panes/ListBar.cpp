#include "ui/panes/ListBar.h"

#include <algorithm>

#include <wx/aui/framemanager.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "device/TesseraBackup.h"
#include "model/Data.h"
#include "wxkit/FixedIds.h"
#include "plugin-api/PluginApi.h"
#include "ui/controls/LinkLauncher.h"
#include "ui/controls/MyIconList.h"
#include "ui/controls/MyListCtrl.h"
#include "ui/controls/RowRules.h"
#include "ui/controls/WxText.h"
#include "ui/panes/CommandTables.h"
#include "ui/panes/StartPages.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/ListKinds.h"

namespace {

constexpr int kFilterBoxWidth = 400;
constexpr int kFilterBoxHeight = 20;
constexpr size_t kSortHeaderLimit = 100;

unsigned KeyName(CardSortKey key) {
    static constexpr unsigned kNames[] = {IDS_KEY_NAME, IDS_KEY_CATEGORY, IDS_KEY_CREATED, IDS_KEY_MODIFIED};
    return kNames[static_cast<int>(key)];
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
      content(*this->links.commands.data, this->links.backups),
      commands(content, *this, this->links.commands) {
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
    commands.Data().AddListener(this);
}

CListBar::~CListBar() {
    commands.Data().RemoveListener(this);
    // The rows report their focus as they go: let them go while this is still a list pane, unheard.
    notify = false;
    DestroyChildren();
}

wxListCtrl* CListBar::List() const {
    return list;
}

bool CListBar::ShowList(ListKind kind) {
    ItemView* view = commands.View();
    if (view && kind != ListKind::None && !view->SwitchPane(kind)) return false;
    list->SetImageList(kind == ListKind::Backups ? links.icons->Backup() : links.icons->Small(),
                       wxIMAGE_LIST_SMALL);
    if (kind == ListKind::Cards && filterBox->GetCount() > 0 && filterBox->GetSelection() != 0)
        filterBox->SetSelection(0);
    content.Show(kind);
    filterBox->Show(kind == ListKind::Cards);
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
        case ListKind::Cards:
            list->InsertColumn(
                0, wxString::Format(LoadResString(IDS_ARRANGED_BY), LoadResString(KeyName(content.Key()))));
            list->InsertColumn(1, LoadResString(content.Ascending() ? IDS_ASCENDING : IDS_DESCENDING),
                               wxLIST_FORMAT_CENTRE);
            list->InsertColumn(2, wxEmptyString, wxLIST_FORMAT_LEFT, 0);
            break;
        case ListKind::Templates:
        case ListKind::Categories:
            list->InsertColumn(0, LoadResString(TraitsOf(content.Kind()).caption));
            list->InsertColumn(1, wxEmptyString, wxLIST_FORMAT_LEFT, 0);
            break;
        case ListKind::Backups:
            list->InsertColumn(0, LoadResString(IDS_COLUMN_BACKUP));
            break;
        case ListKind::None:
            break;
    }
    list->Thaw();
}

void CListBar::RefillRows() {
    list->SetItemCount(content.RowCount());
    list->Refresh();
}

// The view is told of the row.
void CListBar::SelectFirstRow() {
    if (content.RowCount() == 0) return Select({}, -1);
    Select({0}, 0);
    commands.RowFocused(0);
}

void CListBar::SelectRecord(ListKind kind, int32_t id) {
    commands.SelectRecord(kind, id);
}

void CListBar::UpdateTitle() {
    title = wxString::Format(LoadResString(IDS_LIST_TITLE), LoadResString(TraitsOf(content.Kind()).caption),
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
    if (content.Kind() == ListKind::Cards) {
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
    if (content.Kind() == ListKind::Cards) {
        wxString name = LoadResString(KeyName(key));
        SetHeaderText(0, wxString::Format(LoadResString(IDS_SORT_BY), name).Left(kSortHeaderLimit));
    }
    commands.KeepShownSelected();
}

void CListBar::OnHeaderClick(wxListEvent& event) {
    ListKind kind = content.Kind();
    if (kind == ListKind::Cards && event.GetColumn() == 0) {
        std::unique_ptr<wxMenu> menu = LoadArrangeMenu();
        PopupWithRules(menu.get());
        return;
    }
    if (kind == ListKind::Backups || kind == ListKind::None) return;
    if (kind == ListKind::Cards && event.GetColumn() != 1) return;
    content.FlipDirection();
    if (kind == ListKind::Cards)
        SetHeaderText(1, LoadResString(content.Ascending() ? IDS_ASCENDING : IDS_DESCENDING));
    commands.KeepShownSelected();
}

void CListBar::OnRowFocused(wxListEvent& event) {
    long row = event.GetIndex();
    constexpr long kBoth = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
    if (!notify || row < 0 || list->GetItemState(row, kBoth) != kBoth) return;
    commands.RowFocused(static_cast<int>(row));
}

void CListBar::OnFilterChosen(wxCommandEvent&) {
    int chosen = filterBox->GetSelection();
    if (chosen == wxNOT_FOUND) return;
    commands.FilterChosen(static_cast<int32_t>(reinterpret_cast<intptr_t>(filterBox->GetClientData(chosen))));
}

wxComboBox* CListBar::FindBox() const {
    auto* frame = wxDynamicCast(GetParent(), wxFrame);
    wxToolBar* bar = frame ? frame->GetToolBar() : nullptr;
    return bar ? wxDynamicCast(bar->FindControl(ID_FIND_BOX), wxComboBox) : nullptr;
}

bool CListBar::OnCommand(int id, int code, void* extra) {
    if (code == plugin::kCodeUpdateUi) {
        if (!CommandRule(id, State())) return false;
        if (extra) ApplyRule(*static_cast<wxUpdateUIEvent*>(extra));
        return true;
    }
    auto* event = static_cast<wxCommandEvent*>(extra);
    if (id == ID_FIND_BOX && code == plugin::kCodeEditChange) {
        commands.FindText(FromWx(event       ? event->GetString()
                                 : FindBox() ? FindBox()->GetValue()
                                             : wxString()));
        return true;
    }
    if (code != plugin::kCodeCommand) return false;
    if (TextShortcut(id, event)) return true;
    // A command that may not be used now is swallowed, whichever way it came (a shortcut too).
    if (std::optional<CommandStatus> rule = CommandRule(id, State()); rule && !rule->enabled) return true;
    if (commands.Run(id)) return true;
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
        case ID_VISIT_WEBSITE:
            LaunchLink(wxString::FromUTF8(kMakerWebsite), "open");
            return true;
        default:
            return false;
    }
}

void CListBar::RowChanged(ListKind kind, int32_t id) {
    UpdateRow(kind, id);
}

void CListBar::UpdateRow(ListKind kind, int32_t id) {
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
    if (content.Kind() == ListKind::None) return;
    notify = false;
    content.Rebuild();
    RefillRows();
    UpdateTitle();
    commands.Reselect();
    notify = true;
}

void CListBar::RemoveRow(ListKind kind, int32_t id) {
    if (kind != content.Kind()) return;
    int row = content.DropPending(id);
    if (row < 0) return;
    list->DeleteItem(row);
    UpdateTitle();
    if (content.RowCount() == 0) commands.ResetView(kind);
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
    for (const category_struct& category : commands.Data().categories) {
        if (category.id != 0) CategoryAdded(category.id, category.name);
    }
    filterBox->SetSelection(0);
}

void CListBar::OnContextMenu(wxContextMenuEvent& event) {
    if (content.Kind() == ListKind::None || !list->FromRows(event.GetEventObject())) return;
    list->SetFocus();
    std::unique_ptr<wxMenu> menu = LoadPopupMenu(IDR_LIST_CONTEXT);
    if (content.Kind() == ListKind::Cards) {
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
