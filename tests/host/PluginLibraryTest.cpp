// Opening plug-in libraries: the folders searched, the folder listing, the entry points, and the errors
// that name the reason.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "host/PluginFolders.h"
#include "host/PluginLibrary.h"

namespace {

TEST(PluginLibraryTest, FoldersAreTheUsersThenTheInstalledThenBesideTheProgram) {
    struct Case {
        const char *dataHome, *home, *userFolder;  // null: unset, none
    };
    for (const Case& c : {Case{"/data", "/home/u", "/data/pocketdeck/plugins"},
                          {"relative", "/home/u", "/home/u/.local/share/pocketdeck/plugins"},
                          {nullptr, "/home/u", "/home/u/.local/share/pocketdeck/plugins"},
                          {nullptr, nullptr, nullptr}}) {
        std::vector<std::filesystem::path> expected;
        if (c.userFolder) expected.emplace_back(c.userFolder);
        expected.insert(expected.end(), {"/opt/t/lib/pocketdeck/plugins", "/opt/t/bin/plugins"});
        EXPECT_EQ(PluginFolders("/opt/t/bin", c.dataHome, c.home), expected)
            << (c.dataHome ? c.dataHome : "-");
    }
}

TEST(PluginLibraryTest, ListsTheSharedLibrariesOfAFolderByName) {
    TempDir dir;
    for (const char* name : {"b.so", "a.so", "notes.txt", "c.so.1"}) WriteBytes(dir / name, {0});
    std::filesystem::create_directory(dir / "folder.so");
    std::vector<std::filesystem::path> files = ListPluginFiles(dir.Path());
    EXPECT_EQ(files, (std::vector<std::filesystem::path>{dir / "a.so", dir / "b.so"}));
    EXPECT_TRUE(ListPluginFiles(dir / "missing").empty());
}

TEST(PluginLibraryTest, OpensAGoodLibraryAndFailuresSayWhy) {
    TempDir dir;
    std::string error;
    auto library = PluginLibrary::Open(FAKE_PLUGIN_GOOD, error);
    ASSERT_TRUE(library) << error;
    uint32_t info[plugin::kInfoWords] = {};
    ASSERT_EQ(library->Call().getPluginInfo(info), 1);
    EXPECT_EQ(PluginInfoName(info), u"Fake");

    EXPECT_FALSE(PluginLibrary::Open(FAKE_PLUGIN_MISSING_EXPORT, error));
    EXPECT_NE(error.find("SetSleepTickCount"), std::string::npos) << error;

    WriteBytes(dir / "broken.so", {'n', 'o', 't'});
    EXPECT_FALSE(PluginLibrary::Open(dir / "broken.so", error));
    EXPECT_NE(error.find("cannot be loaded"), std::string::npos) << error;
    EXPECT_FALSE(PluginLibrary::Open(dir / "missing.so", error));
    EXPECT_NE(error.find("missing.so"), std::string::npos) << error;
}

TEST(PluginLibraryTest, NameIsBoundedBy32Units) {
    uint32_t info[plugin::kInfoWords] = {};
    EXPECT_EQ(PluginInfoName(info), u"");
    for (int word = 6; word < plugin::kInfoWords; ++word) info[word] = 'x' | 'y' << 16;
    std::u16string full = PluginInfoName(info);
    EXPECT_EQ(full.size(), 32u);
    EXPECT_EQ(full.substr(0, 4), u"xyxy");
    info[7] = 'z';  // a terminator in the high half of the second word
    EXPECT_EQ(PluginInfoName(info), u"xyz");
}

}  // namespace
