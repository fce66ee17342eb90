#include "ui/resources/StringTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "ui/resources/Resource.h"

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

// A text that goes through wxString::Format or a message box: only %s and %d placeholders, and line
// breaks as real newlines rather than an escaped backslash.
TEST(StringTable, TextsHoldOnlyKnownPlaceholdersAndRealNewlines) {
    const std::regex placeholder("%[^sd]|%$");
    for (const auto& [name, id] : StringIdsOfHeader()) {
        std::string text = Text(id);
        EXPECT_FALSE(std::regex_search(text, placeholder)) << name << ": " << text;
        EXPECT_EQ(text.find("\\n"), std::string::npos) << name;
    }
}

}  // namespace
