#include "ui/panes/CommandTables.h"

#include <algorithm>
#include <string_view>

#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "wxkit/FixedIds.h"
#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/CommandRules.h"

namespace {

// One menu entry: a command with its text, a separator (id 0), or the start (id -1) and end (id -2)
// of a submenu whose text is the submenu's title.
struct MenuEntry {
    int id;
    const char* text;
};
constexpr int kSeparator = 0;
constexpr int kSubmenu = -1;
constexpr int kEnd = -2;

// Menu 128: its top-level popups follow one another, each closed by kEnd.
constexpr MenuEntry kMainMenu[] = {
    {kSubmenu, "&File"},
    {ID_NEW_CARD, "&New Card\tCtrl+N"},
    {ID_NEW_TEMPLATE, "New &Template\tCtrl+T"},
    {ID_NEW_CATEGORY, "New &Category\tCtrl+C"},
    {kSeparator, ""},
    {ID_BACKUP, "&Backup"},
    {ID_IMPORT_CARDS, "&Import Cards..."},
    {ID_EXPORT_CARDS, "Export &Cards..."},
    {kSeparator, ""},
    {ID_SAVE_AS_TEMPLATE, "Save as Template\tCtrl+Shift+S"},
    {kSeparator, ""},
    {ID_APP_EXIT, "&Exit"},
    {kEnd, ""},
    {kSubmenu, "&Edit"},
    {ID_DELETE, "&Delete\tCtrl+D"},
    {kSeparator, ""},
    {ID_SELECT_ALL, "Select &All\tCtrl+A"},
    {ID_FIND, "&Find\tCtrl+Shift+F"},
    {kEnd, ""},
    {kSubmenu, "&Tools"},
    {ID_VISIT_WEBSITE, "&Visit Quillmark Website"},
    {kSeparator, ""},
    {ID_HOST_OPTIONS, "&Options..."},
    {ID_APP_ABOUT, "&About Quillmark Pocketdeck..."},
    {kEnd, ""},
    {kSubmenu, "&View"},
    {kSubmenu, "&Arranged by"},
    {ID_ARRANGE_NAME, "&Name"},
    {ID_ARRANGE_CATEGORY, "&Category"},
    {ID_ARRANGE_CREATED, "C&reated"},
    {ID_ARRANGE_MODIFIED, "&Modified"},
    {kEnd, ""},
    {ID_VIEW_LIST_PANE, "&List Pane"},
    {ID_VIEW_STATUS_BAR, "&Status Bar"},
    {kEnd, ""},
};

constexpr MenuEntry kContextMenu[] = {
    {ID_NEW_CONTEXT, "&New"},       {ID_DELETE, "&Delete"},           {kSeparator, ""},
    {ID_SELECT_ALL, "&Select All"}, {ID_INVERT_SELECTION, "&Invert"},
};

constexpr MenuEntry kNewMenu[] = {
    {ID_NEW_CARD, "&New Card"},
    {ID_NEW_TEMPLATE, "New &Template"},
    {ID_NEW_CATEGORY, "New &Category"},
};

struct ToolEntry {
    int id;
    unsigned label;  // string id; 0 for the find box
    int image;       // cell of toolbar strip 13041
};

constexpr ToolEntry kTools[] = {
    {ID_NEW_DROPDOWN, IDS_TOOL_NEW, 0},
    {ID_DELETE, IDS_TOOL_DELETE, 1},
    {ID_BACKUP, IDS_TOOL_BACKUP, 2},
    {ID_FIND, IDS_TOOL_FIND, 3},
    {ID_FIND_BOX, 0, -1},
    {ID_LOCK_WALLET, IDS_TOOL_LOCK, 4},
};

constexpr int kToolWidth = 16;
constexpr int kToolHeight = 15;
constexpr int kFindBoxWidth = 160;
constexpr unsigned long kFindBoxLimit = 31;

// Appends entries to menu until the kEnd that closes it; returns the position after that kEnd.
template <size_t N>
size_t AppendEntries(wxMenu* menu, const MenuEntry (&entries)[N], size_t pos) {
    while (pos < N && entries[pos].id != kEnd) {
        const MenuEntry& entry = entries[pos++];
        if (entry.id == kSeparator) {
            menu->AppendSeparator();
        } else if (entry.id == kSubmenu) {
            auto* sub = new wxMenu;
            pos = AppendEntries(sub, entries, pos);
            menu->AppendSubMenu(sub, wxString::FromUTF8(entry.text));
        } else {
            // The status bar and the sort keys carry check marks.
            bool checkable =
                entry.id == ID_VIEW_STATUS_BAR || entry.id == ID_VIEW_LIST_PANE || ArrangeKeyOf(entry.id);
            wxItemKind kind = checkable ? wxITEM_CHECK : wxITEM_NORMAL;
            AppendMenuCommand(menu, entry.id, wxString::FromUTF8(entry.text), kind);
        }
    }
    return pos + 1;
}

wxBitmap ToolImage(const wxBitmap& strip, int cell) {
    return strip.GetSubBitmap(wxRect(cell * kToolWidth, 0, kToolWidth, kToolHeight));
}

bool AddTool(wxToolBar* bar, const ToolEntry& tool, const wxBitmap& strip) {
    if (tool.id == ID_FIND_BOX) {
        auto* box = new wxComboBox(bar, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(kFindBoxWidth, -1),
                                   0, nullptr, wxTE_PROCESS_ENTER);
        box->SetId(ID_FIND_BOX);  // above wx's range for new windows (FixedIds.h)
        box->SetMaxLength(kFindBoxLimit);
        return bar->AddControl(box) != nullptr;
    }
    wxItemKind kind = tool.id == ID_NEW_DROPDOWN ? wxITEM_DROPDOWN : wxITEM_NORMAL;
    wxString label = LoadResString(tool.label);
    if (!bar->AddTool(tool.id, label, ToolImage(strip, tool.image), label, kind)) return false;
    if (kind == wxITEM_DROPDOWN) bar->SetDropdownMenu(tool.id, LoadPopupMenu(IDR_NEW_DROPDOWN).release());
    return true;
}

}  // namespace

void FillMenuBar(wxMenuBar* bar) {
    while (bar->GetMenuCount() > 0) delete bar->Remove(0);
    size_t pos = 0;
    constexpr size_t count = std::size(kMainMenu);
    while (pos < count) {
        auto* menu = new wxMenu;
        wxString title = wxString::FromUTF8(kMainMenu[pos].text);
        pos = AppendEntries(menu, kMainMenu, pos + 1);
        bar->Append(menu, title);
    }
}

std::unique_ptr<wxMenu> LoadPopupMenu(int id) {
    auto menu = std::make_unique<wxMenu>();
    if (id == IDR_LIST_CONTEXT) {
        AppendEntries(menu.get(), kContextMenu, 0);
    } else if (id == IDR_NEW_DROPDOWN) {
        AppendEntries(menu.get(), kNewMenu, 0);
    } else {
        return nullptr;
    }
    return menu;
}

std::unique_ptr<wxMenu> LoadArrangeMenu() {
    auto menu = std::make_unique<wxMenu>();
    auto title = std::find_if(std::begin(kMainMenu), std::end(kMainMenu), [](const MenuEntry& entry) {
        return entry.id == kSubmenu && std::string_view(entry.text) == "&Arranged by";
    });
    AppendEntries(menu.get(), kMainMenu, static_cast<size_t>(title - std::begin(kMainMenu)) + 1);
    return menu;
}

std::unique_ptr<wxAcceleratorTable> LoadAccelerators() {
    wxAcceleratorEntry entries[] = {
        {wxACCEL_CTRL, 'N', ID_NEW_CARD},
        {wxACCEL_CTRL, 'T', ID_NEW_TEMPLATE},
        {wxACCEL_CTRL, 'C', ID_NEW_CATEGORY},
        {wxACCEL_CTRL | wxACCEL_SHIFT, 'S', ID_SAVE_AS_TEMPLATE},
        {wxACCEL_CTRL, 'D', ID_DELETE},
        {wxACCEL_CTRL, 'A', ID_SELECT_ALL},
        {wxACCEL_CTRL | wxACCEL_SHIFT, 'F', ID_FIND},
    };
    return std::make_unique<wxAcceleratorTable>(std::size(entries), entries);
}

bool LoadToolbar(wxToolBar* bar) {
    wxBitmap strip = LoadBitmapRes(IDR_TOOLBAR);
    if (!strip.IsOk()) return false;
    bar->ClearTools();
    bar->SetToolBitmapSize(wxSize(kToolWidth, kToolHeight));
    for (size_t i = 0; i < std::size(kTools); ++i) {
        if (i > 0) bar->AddSeparator();
        if (!AddTool(bar, kTools[i], strip)) return false;
    }
    return bar->Realize();
}
