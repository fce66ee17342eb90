#include "ui/StringTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "ui/Resource.h"

namespace {

// Every IDS_ name of the resource header with its number, read from the header itself so that a string
// id added there without a text in the table is caught.
std::map<std::string, unsigned> StringIdsOfHeader() {
    std::ifstream header(TESSERA_RESOURCE_HEADER);
    const std::regex define(R"(^\s*#define\s+(IDS_\w+)\s+(\d+)\s*$)");
    std::map<std::string, unsigned> ids;
    for (std::string line; std::getline(header, line);) {
        std::smatch match;
        if (std::regex_match(line, match, define))
            ids[match[1]] = static_cast<unsigned>(std::stoul(match[2]));
    }
    return ids;
}

std::string Text(unsigned id) {
    return LoadResString(id).utf8_string();
}

TEST(StringTable, EveryStringIdOfTheHeaderHasText) {
    const auto ids = StringIdsOfHeader();
    ASSERT_GT(ids.size(), 100u) << "could not read the string ids from " << TESSERA_RESOURCE_HEADER;
    for (const auto& [name, id] : ids) EXPECT_FALSE(Text(id).empty()) << name << " (" << id << ")";
}

TEST(StringTable, NoTwoStringNamesShareANumber) {
    std::map<unsigned, std::string> owner;
    for (const auto& [name, id] : StringIdsOfHeader()) {
        auto [at, added] = owner.emplace(id, name);
        EXPECT_TRUE(added) << name << " and " << at->second << " are both " << id;
    }
}

TEST(StringTable, UnknownIdGivesEmptyText) {
    EXPECT_TRUE(LoadResString(0).empty());
    EXPECT_TRUE(LoadResString(13019).empty());  // just below the first string
    EXPECT_TRUE(LoadResString(13043).empty());  // a gap between fixed strings
    EXPECT_TRUE(LoadResString(13150).empty());
    EXPECT_TRUE(LoadResString(IDC_NAV_TREE).empty());
    EXPECT_TRUE(LoadResString(0xFFFFFFFFu).empty());
}

TEST(StringTable, TreeTextsKeepTheirLeadingSpace) {
    EXPECT_EQ(Text(IDS_TREE_ROOT), " Pocketdeck");
    EXPECT_EQ(Text(IDS_TREE_CARDS), " Cards");
    EXPECT_EQ(Text(IDS_TREE_BACKUP), " Backup");
    EXPECT_EQ(Text(IDS_TREE_HELP), " Help");
}

TEST(StringTable, TrailingSpacesAreKept) {
    EXPECT_EQ(Text(IDS_BUTTON_EMPTY_CARD), "Empty Card ");
    EXPECT_EQ(Text(IDS_BACKUP_LAST_MODIFY), "Last Modify: ");
    EXPECT_EQ(Text(IDS_BACKUP_CARD_COUNT), "Number of Card: ");
}

TEST(StringTable, MessagesBreakLinesWithRealNewlines) {
    EXPECT_EQ(Text(IDS_RESTORE_DONE),
              "Restore completed successfully! Please restart Pocketdeck and login with the backup file "
              "password.\n\nPress OK to continue.");
    EXPECT_EQ(Text(IDS_WALLET_MISSING),
              "Please exit Pocketdeck, launch Tessera on your phone and initialize the password.\n\n"
              "Press OK to continue.");
    EXPECT_EQ(Text(IDS_APP_RUNNING),
              "Quillmark Tessera is currently running on the phone.\n\nPress OK to close it and continue.");
}

TEST(StringTable, VersionMessageEndsWithTheMakersAddress) {
    EXPECT_EQ(Text(IDS_VERSION_NOT_SUPPORTED),
              "The version of Quillmark Tessera on your phone is not supported.\n\n"
              "Please download and install the latest version from " +
                  std::string(kMakerWebsite) + ".");
}

TEST(StringTable, FormatTextsKeepTheirPlaceholders) {
    EXPECT_EQ(Text(IDS_BACKUP_DONE), "Backup to %s complete!");
    EXPECT_EQ(Text(IDS_LIST_TITLE), "%s ( %d )");
    EXPECT_EQ(Text(IDS_ARRANGED_BY), "Arranged By: %s");
    EXPECT_EQ(Text(IDS_SORT_BY), "Sort by:%s");
    EXPECT_EQ(Text(IDS_LOCKOUT_RUNNING),
              "You have entered incorrect password too many times, please retry in %d minutes.");
    EXPECT_EQ(wxString::Format(LoadResString(IDS_LIST_TITLE), LoadResString(IDS_TREE_CARDS), 0).utf8_string(),
              " Cards ( 0 )");
}

TEST(StringTable, FieldTypeNamesFollowTheTypeCodes) {
    const char* const names[] = {"TEXT", "NUMBER", "PNONE NUMBER", "PASSWORD",
                                 "URL",  "E-MAIL", "DATE",         "TIME"};
    for (unsigned code = 0; code < std::size(names); ++code)
        EXPECT_EQ(Text(IDS_TYPE_TEXT + code), names[code]) << "type " << code;
}

}  // namespace
