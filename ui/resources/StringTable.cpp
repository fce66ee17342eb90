#include "ui/resources/StringTable.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

#include "device/BackupMessages.h"
#include "ui/resources/Resource.h"

namespace {

struct StringEntry {
    unsigned id;
    const char* text;  // UTF-8
};

// The literals joined at compile time, so that the table keeps plain pointers to static text.
template <std::size_t... N>
constexpr auto Join(const char (&... parts)[N]) {
    std::array<char, (N + ...) - sizeof...(N) + 1> joined{};
    std::size_t at = 0;
    ((std::copy_n(parts, N - 1, joined.begin() + at), at += N - 1), ...);
    return joined;
}

constexpr auto kVersionNotSupported = Join(
    "The version of Quillmark Tessera on your phone is not supported.\n\n"
    "Please download and install the latest version from ",
    kMakerWebsite, ".");

// Sorted by id: the lookup is a binary search.
constexpr StringEntry kStrings[] = {
    {IDS_TREE_ROOT, " Pocketdeck"},
    {IDS_TREE_PRODUCT, " Tessera"},
    {IDS_TREE_CARDS, " Cards"},
    {IDS_TREE_TEMPLATES, " Templates"},
    {IDS_TREE_CATEGORIES, " Categories"},
    {IDS_TREE_BACKUP, " Backup"},
    {IDS_TREE_HELP, " Help"},
    {IDS_WALLET_MISSING,
     "Please exit Pocketdeck, launch Tessera on your phone and initialize the password.\n\n"
     "Press OK to continue."},
    {IDS_TEMPLATES_MISSING, "Template.dat not found!"},
    {IDS_LIST_BAR_CAPTION, "Tessera"},
    {IDS_OPTIONS_MISSING, "Options.dat not found!"},
    {IDS_LOAD_TOOLBAR_FAILED, "Load toolbar failed!"},
    {IDS_READ_TESSERA, "Read Tessera"},
    {IDS_APP_RUNNING,
     "Quillmark Tessera is currently running on the phone.\n\nPress OK to close it and continue."},
    {IDS_CLOSE_APP_FAILED, "Close Tessera failed!"},
    {IDS_VERSION_NOT_SUPPORTED, kVersionNotSupported.data()},
    {IDS_READ_BACKUP_FAILED, kReadBackupFailedText},
    {IDS_TOOL_NEW, "New"},
    {IDS_TOOL_DELETE, "Delete"},
    {IDS_TOOL_FIND, "Find"},
    {IDS_DELETE_BACKUP_CONFIRM, "Are you sure that you want to delete the selected backup?"},
    {IDS_READ_BACKUP, "Read backup"},
    {IDS_GROUP_CARDS, "Cards"},
    {IDS_GROUP_TEMPLATES, "Templates"},
    {IDS_GROUP_CATEGORIES, "Categories"},
    {IDS_GROUP_WORK, "Work"},
    {IDS_GROUP_PERSONAL, "Personal"},
    {IDS_GROUP_COMPUTER, "Computer"},
    {IDS_GROUP_OTHER, "Other"},
    {IDS_TOOL_BACKUP, "Backup"},
    {IDS_BACKUP_DONE, kBackupDoneText},
    {IDS_BACKUP_FAILED, kBackupFailedText},
    {IDS_READING_CARDS, "Reading cards, please wait..."},
    {IDS_READING_BACKUP, "Reading backup, please wait..."},
    {IDS_RESTORE_DONE, kRestoreDoneText},
    {IDS_RESTORE_FAILED, kRestoreFailedText},
    {IDS_LOCKOUT_RUNNING, "You have entered incorrect password too many times, please retry in %d minutes."},
    {IDS_READ_FAILED, "Read Tessera data failed!"},
    {IDS_DISPLAY_NAME, "Tessera"},
    {IDS_TOOL_LOCK, "Lock Wallet"},

    {IDS_APP_CAPTION, "Quillmark Pocketdeck"},
    {IDS_HOST_CAPTION, "Pocketdeck"},

    {IDS_LOGIN_TITLE, "Login"},
    {IDS_LOGIN_PROMPT, "Enter your password"},
    {IDS_LOGIN_OK, "&OK"},
    {IDS_WRONG_PASSWORD, "The password you entered is incorrect!"},

    {IDS_BUTTON_OK, "&Ok"},
    {IDS_BUTTON_CANCEL, "&Cancel"},

    {IDS_BUTTON_EDIT, "E&dit"},
    {IDS_BUTTON_SAVE, "&Save"},
    {IDS_BUTTON_EDIT_FIELDS, "Edit &Fields"},
    {IDS_BUTTON_RESTORE, "Restore"},
    {IDS_LABEL_CATEGORY, "Category"},
    {IDS_COLUMN_NUMBER, "#"},
    {IDS_COLUMN_FIELD_NAME, "Field Name"},
    {IDS_COLUMN_FIELD_TYPE, "Field Type"},
    {IDS_NEW_CARD_NAME, "New Card"},
    {IDS_NEW_TEMPLATE_NAME, "New Template"},
    {IDS_NEW_CATEGORY_NAME, "New Category"},
    {IDS_SAVE_CARD_PROMPT, "Do you want to save the changes to the card?"},
    {IDS_SAVE_TEMPLATE_PROMPT, "Do you want to save the changes to the template?"},
    {IDS_SAVE_CATEGORY_PROMPT, "Do you want to save the changes to the category?"},
    {IDS_DRAFT_SUFFIX, " (Draft)"},
    {IDS_BACKUP_LAST_MODIFY, "Last Modify: "},
    {IDS_BACKUP_CARD_COUNT, "Number of Card: "},
    {IDS_SAVE_CARD_FAILED, "The card could not be saved to the phone."},
    {IDS_SAVE_TEMPLATE_FAILED, "The template could not be saved to the phone."},
    {IDS_SAVE_CATEGORY_FAILED, "The category could not be saved to the phone."},
    {IDS_COPIED_STATUS, "Copied; the clipboard is cleared in 30 seconds"},

    {IDS_LIST_TITLE, "%s ( %d )"},
    {IDS_ARRANGED_BY, "Arranged By: %s"},
    {IDS_SORT_BY, "Sort by:%s"},
    {IDS_ASCENDING, "ASC"},
    {IDS_DESCENDING, "DEC"},
    {IDS_KEY_NAME, "Name"},
    {IDS_KEY_CATEGORY, "Category"},
    {IDS_KEY_CREATED, "Creation Time"},
    {IDS_KEY_MODIFIED, "Last Modified"},
    {IDS_COLUMN_BACKUP, "Backup"},
    {IDS_ALL_CARDS, "All cards"},
    {IDS_DELETE_CARD_CONFIRM, "Are you sure that you want to delete the selected card?"},
    {IDS_DELETE_TEMPLATE_CONFIRM, "Are you sure that you want to delete the selected template?"},
    {IDS_DELETE_TITLE, "Delete"},
    {IDS_DELETING, "Deleting..."},
    {IDS_TEMPLATE_SAVED, "Template saved!"},
    {IDS_SAVE_AS_TEMPLATE_FAILED, "Save as Template failed!"},
    {IDS_EXPORT_FILTER, "*.txt"},
    {IDS_MENU_SAVE_AS_TEMPLATE, "Save as Template"},

    {IDS_BUTTON_COPY, "Copy"},
    {IDS_BUTTON_GENERATE, "Generate"},

    {IDS_FIELD_EDITOR_TITLE, "Edit Field"},
    {IDS_BUTTON_ADD, "&Add"},
    {IDS_BUTTON_DELETE, "&Delete"},
    {IDS_BUTTON_UP, "&Up"},
    {IDS_BUTTON_DOWN, "Do&wn"},
    {IDS_GRID_PROPERTY, "Property"},
    {IDS_GRID_VALUE, "Value"},
    {IDS_NEW_FIELD_NAME, "New Field"},

    {IDS_TEMPLATE_DIALOG_TITLE, "Select Template"},
    {IDS_BUTTON_EMPTY_CARD, "Empty Card "},
    {IDS_COLUMN_TEMPLATE, "Template"},
    {IDS_COLUMN_FIELD, "Field"},
    {IDS_OUT_OF_MEMORY, "operator new failed"},

    {IDS_OPTIONS_LOCK_AFTER, "Lock after"},
    {IDS_OPTIONS_MINUTES_IDLE, "minutes idle."},
    {IDS_DELETE_CATEGORY_TITLE, "Delete Category"},
    {IDS_DELETE_CATEGORY_CONFIRM, "Are your sure you want to delete the category?"},
    {IDS_DELETE_CATEGORY_CARDS, "Delete cards in category"},
    {IDS_SELECT_ICON_TITLE, "Select Icon"},
    {IDS_WALLET_IN_USE, "The wallet is in use by another program on this computer; try again."},
    {IDS_READ_FAILED_REPAIR, "Read Tessera data failed!\n\nRun 'tessera repair' to check and repair it."},
    {IDS_WALLET_CHANGED, "The wallet was changed by another program. It will be read again."},
    {IDS_RESTORE_UNFINISHED, kRestoreUnfinishedText},
    {IDS_READ_FAILED_RESTORE, kReadFailedRestoreText},
    {IDS_KEEP_MY_FIELD,
     "Another program has also changed \"%s\" since you began editing.\n\n"
     "Keep your value? (No keeps the other program's.)"},
    {IDS_KEEP_MY_HEAD,
     "Another program has also changed the icon, category or draft mark since you began editing.\n\n"
     "Keep yours? (No keeps the other program's.)"},
    {IDS_IMPORT_FILTER, "CSV or JSON files (*.csv;*.json)|*.csv;*.json|All files (*)|*"},
    {IDS_IMPORT_TITLE, "Import Cards"},
    {IDS_IMPORTING, "Importing cards..."},
    {IDS_IMPORT_COUNT, "%d of %d cards"},
    {IDS_IMPORT_SUMMARY, "Cards to add: %d. New categories: %d. Lines skipped: %d."},
    {IDS_IMPORT_UNREADABLE, "The file cannot be imported: %s"},
    {IDS_IMPORT_STOPPED, "The import stopped after %d of %d cards; the cards before it are in the wallet."},
    {IDS_EXPORT_FORMATS,
     "Text (%s)|%s|CSV, passwords in plain text (*.csv)|*.csv|"
     "JSON, passwords in plain text (*.json)|*.json"},
    {IDS_RESTORE_CONFIRM,
     "Restore the backup %s of %s, holding %d cards, over the wallet on the phone?\n\nEvery card, template "
     "and category of the wallet now is replaced by the backup's. Pocketdeck then closes, because the "
     "wallet it has open is no longer the phone's: start it again and log in with the backup's password."},
    {IDS_EXPORT_WARNING,
     "The file will hold every card with its passwords in plain text, readable by anyone who gets the "
     "file.\n\nExport the cards anyway?"},
    {IDS_EXPORT_DONE, "Exported %d cards to %s."},
    {IDS_GENERATOR_TITLE, "Generate Password"},
    {IDS_GENERATOR_LENGTH, "Length (6 to 64):"},
    {IDS_GENERATOR_SYMBOLS, "Symbols ( ~ ! @ # $ and others )"},
    {IDS_GENERATOR_DIGITS, "Digits ( 0 to 9 )"},
    {IDS_GENERATOR_CAPITALS, "Capital letters ( A to Z )"},
    {IDS_GENERATOR_SMALL, "Small letters ( a to z )"},
    {IDS_GENERATOR_REPLACES, "The password in the box is replaced."},
    {IDS_GENERATOR_REPLACE, "Replace"},
    {IDS_CLIPBOARD_CLEARED, "Clipboard cleared"},
    {IDS_NAME_BLANK, "The name is empty. Type a name in the name box, then save again."},
    {IDS_FIELD_NAME_REPEATED,
     "Two fields have the same name. Give each its own name with Edit Fields (double-click a name to "
     "change it), then save again."},
    {IDS_CATEGORY_NAME_TAKEN, "Another category has this name. Type a different name, then save again."},
    {IDS_FIELD_NAME_REPEATED_HERE,
     "Two fields are named \"%s\". Double-click one of the names to change it, or press Cancel to leave "
     "without changes."},
    {IDS_FIELD_TYPE_KEPT,
     "A field the card already has keeps its type: changing it would empty its value. Add a field of the "
     "type you need instead."},
    {IDS_FIELD_TYPE_NAME_FIELD, "The first field holds the name: its name and type never change."},
    {IDS_OPTIONS_NEVER_LOCK, "0 = never lock"},
};

static_assert(std::adjacent_find(std::begin(kStrings), std::end(kStrings),
                                 [](const StringEntry& a, const StringEntry& b) { return a.id >= b.id; }) ==
                  std::end(kStrings),
              "kStrings must be sorted by id without repeats");

}  // namespace

wxString LoadResString(unsigned id) {
    auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                  [](const StringEntry& entry, unsigned key) { return entry.id < key; });
    if (found == std::end(kStrings) || found->id != id) return {};
    return wxString::FromUTF8(found->text);
}
