// Finding, copying, moving and deleting files, and making folders.
#include <ctime>

#include "RapiContract.h"
#include "platform/Utf16.h"

namespace {

using Names = std::vector<std::u16string>;

class RapiFolderTest : public RapiContractTest {
protected:
    void SetUp() override {
        RapiContractTest::SetUp();
        for (const char* name : {"b.txt", "A.txt", "c.dat", "Backup1", "backup2.bak", "ab.txt"})
            WriteBytes(Host(name), {'1', '2', '3'});
        std::filesystem::create_directory(Host("Sub"));
    }
};
INSTANTIATE_TEST_SUITE_P(Transports, RapiFolderTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiFolderTest, FindMatchesWildcardsWithoutCaseInNameOrder) {
    const Names all{u"A.txt", u"ab.txt", u"b.txt", u"Backup1", u"backup2.bak", u"c.dat", u"Sub"};
    const struct {
        const char16_t* pattern;
        Names names;
        DWORD error = ERROR_SUCCESS;
    } cases[] = {
        {u"\\*.TXT", {u"A.txt", u"ab.txt", u"b.txt"}},
        {u"\\?.txt", {u"A.txt", u"b.txt"}},
        {u"\\a*", {u"A.txt", u"ab.txt"}},
        {u"\\BACKUP*.*", {u"Backup1", u"backup2.bak"}},
        {u"\\*", all},
        {u"\\*.*", all},
        {u"\\*.zip", {}, ERROR_FILE_NOT_FOUND},
        {u"\\Sub\\*", {}, ERROR_FILE_NOT_FOUND},
        {u"\\Nowhere\\*", {}, ERROR_PATH_NOT_FOUND},
        {u"\\c.dat\\*", {}, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindNames(c.pattern), c.names) << Utf16ToUtf8Lossy(c.pattern);
        if (c.names.empty()) {
            EXPECT_EQ(CeGetLastError(), c.error) << Utf16ToUtf8Lossy(c.pattern);
        }
    }
}

TEST_P(RapiFolderTest, FindFillsAttributesSizesAndTimesUntilClosed) {
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(u"\\sub", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"Sub");
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(CeFindClose(search));
    EXPECT_TRUE(Refused(!CeFindNextFile(search, &data), ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CeFindClose(search));

    search = CeFindFirstFile(u"\\c.dat", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 3u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    uint64_t ticks = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    int64_t unixSeconds = static_cast<int64_t>(ticks / 10'000'000) - 11644473600;
    EXPECT_NEAR(static_cast<double>(unixSeconds), static_cast<double>(std::time(nullptr)), 600);
    EXPECT_TRUE(CeFindClose(search));
    EXPECT_TRUE(Refused(CeFindFirstFile(u"\\*", nullptr) == INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER));
}

// A search keeps names, not records: each entry is looked at as it is given, so one removed since the
// listing is left out. Sixteen searches go on side by side; a seventeenth is refused.
TEST_P(RapiFolderTest, SearchesGoOnSideBySideUpToSixteenAndLeaveOutWhatIsGone) {
    const Names all{u"A.txt", u"ab.txt", u"b.txt", u"Backup1", u"backup2.bak", u"c.dat", u"Sub"};
    std::vector<HANDLE> searches(16);
    std::vector<Names> names(16);
    CE_FIND_DATA data;
    for (size_t i = 0; i < searches.size(); ++i) {
        searches[i] = CeFindFirstFile(u"\\*", &data);
        ASSERT_NE(searches[i], INVALID_HANDLE_VALUE) << i;
        names[i].emplace_back(data.cFileName);
    }
    EXPECT_TRUE(Refused(CeFindFirstFile(u"\\*", &data) == INVALID_HANDLE_VALUE, ERROR_TOO_MANY_OPEN_FILES));
    std::filesystem::remove(Host("b.txt"));
    for (size_t step = 0; step < all.size(); ++step) {
        for (size_t i = 0; i < searches.size(); ++i)
            if (CeFindNextFile(searches[i], &data)) names[i].emplace_back(data.cFileName);
    }
    Names left = all;
    std::erase(left, u"b.txt");
    for (size_t i = 0; i < searches.size(); ++i) {
        EXPECT_EQ(names[i], left) << i;
        EXPECT_TRUE(CeFindClose(searches[i]));
    }
}

TEST_P(RapiFolderTest, CopyCanRefuseToReplaceAndNeedsAReadableSource) {
    Put(u"\\from", "new");
    Put(u"\\to", "old");
    EXPECT_TRUE(Refused(!CeCopyFile(u"\\from", u"\\TO", TRUE), ERROR_FILE_EXISTS));
    EXPECT_EQ(Contents(u"\\to"), "old");
    EXPECT_TRUE(CeCopyFile(u"\\from", u"\\TO", FALSE));
    EXPECT_EQ(Contents(u"\\to"), "new");
    EXPECT_TRUE(CeCopyFile(u"\\from", u"\\SUB\\Copy", TRUE));
    Put(u"\\sub\\Made", "m");
    EXPECT_EQ(ReadText(Host("Sub/Copy")) + ReadText(Host("Sub/Made")), "newm");  // new names keep their case
    EXPECT_EQ(Contents(u"\\from"), "new");

    EXPECT_TRUE(Refused(!CeCopyFile(u"\\missing", u"\\to2", FALSE), ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Refused(!CeCopyFile(u"\\Sub", u"\\to2", FALSE), ERROR_ACCESS_DENIED));
    HANDLE held = Open(u"\\c.dat", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    EXPECT_TRUE(Refused(!CeCopyFile(u"\\c.dat", u"\\to2", FALSE), ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CeCloseHandle(held));
    EXPECT_FALSE(std::filesystem::exists(Host("to2")));
}

TEST_P(RapiFolderTest, MoveRenamesButNeverReplaces) {
    Put(u"\\old", "moved");
    EXPECT_TRUE(CeMoveFile(u"\\OLD", u"\\Sub\\new"));
    EXPECT_EQ(Contents(u"\\sub\\new"), "moved");
    EXPECT_EQ(Contents(u"\\old"), "<error 2>");
    EXPECT_TRUE(Refused(!CeMoveFile(u"\\sub\\new", u"\\c.dat"), ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Contents(u"\\c.dat"), "123");
    EXPECT_TRUE(Refused(!CeMoveFile(u"\\missing", u"\\x"), ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(CeMoveFile(u"\\Sub", u"\\Moved"));
    EXPECT_EQ(FindNames(u"\\moved\\*"), Names{u"new"});
}

TEST_P(RapiFolderTest, OpenFilesAndTheirFoldersAreNeitherMovedNorDeleted) {
    Put(u"\\Sub\\inner", "x");
    HANDLE inner = Open(u"\\Sub\\inner", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    HANDLE held = Open(u"\\c.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    EXPECT_TRUE(Refused(!CeMoveFile(u"\\Sub", u"\\Elsewhere"), ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(Refused(!CeMoveFile(u"\\c.dat", u"\\d.dat"), ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(Refused(!CeDeleteFile(u"\\c.dat"), ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CeCloseHandle(held));
    EXPECT_TRUE(CeCloseHandle(inner));
    EXPECT_TRUE(std::filesystem::exists(Host("c.dat")));
    EXPECT_TRUE(CeDeleteFile(u"\\C.DAT"));
    EXPECT_FALSE(std::filesystem::exists(Host("c.dat")));
    EXPECT_TRUE(Refused(!CeDeleteFile(u"\\c.dat"), ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Refused(!CeDeleteFile(u"\\Sub"), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(std::filesystem::is_directory(Host("Sub")));
}

TEST_P(RapiFolderTest, CreateDirectoryRefusesExistingNamesAndMissingParents) {
    EXPECT_TRUE(CeCreateDirectory(u"\\Sub\\Deeper", nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(Host("Sub/Deeper")));
    EXPECT_TRUE(Refused(!CeCreateDirectory(u"\\SUB\\deeper", nullptr), ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(Refused(!CeCreateDirectory(u"\\c.dat", nullptr), ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(Refused(!CeCreateDirectory(u"\\No\\Parent", nullptr), ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(std::filesystem::exists(Host("No")));
}

}  // namespace
