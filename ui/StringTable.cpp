#include "ui/StringTable.h"

#include <algorithm>
#include <iterator>

#include "ui/Resource.h"

namespace {

struct StringEntry {
    unsigned id;
    const char* text;  // UTF-8
};

// Sorted by id.
constexpr StringEntry kStrings[] = {
    {IDS_TREE_ROOT, " Pocketdeck"},
    {IDS_TREE_PRODUCT, " Tessera"},
    {IDS_TREE_CARDS, " Cards"},
    {IDS_TREE_TEMPLATES, " Templates"},
    {IDS_TREE_CATEGORIES, " Categories"},
    {IDS_TREE_BACKUP, " Backup"},
    {IDS_TREE_HELP, " Help"},
    {IDS_LIST_BAR_CAPTION, "Tessera"},
    {IDS_LOAD_TOOLBAR_FAILED, "Load toolbar failed!"},
    {IDS_TOOL_NEW, "New"},
    {IDS_TOOL_DELETE, "Delete"},
    {IDS_TOOL_FIND, "Find"},
    {IDS_GROUP_CARDS, "Cards"},
    {IDS_GROUP_TEMPLATES, "Templates"},
    {IDS_GROUP_CATEGORIES, "Categories"},
    {IDS_GROUP_WORK, "Work"},
    {IDS_GROUP_PERSONAL, "Personal"},
    {IDS_GROUP_COMPUTER, "Computer"},
    {IDS_GROUP_OTHER, "Other"},
    {IDS_TOOL_BACKUP, "Backup"},
    {IDS_DISPLAY_NAME, "Tessera"},
    {IDS_TOOL_LOCK, "Lock Wallet"},
};

}  // namespace

wxString LoadResString(unsigned id) {
    auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                  [](const StringEntry& entry, unsigned key) { return entry.id < key; });
    if (found == std::end(kStrings) || found->id != id) return {};
    return wxString::FromUTF8(found->text);
}
