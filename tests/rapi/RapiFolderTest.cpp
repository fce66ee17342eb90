// Finding, copying, moving and deleting files, and making folders.
#include <ctime>

#include "RapiContract.h"

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
    EXPECT_EQ(FindNames(u"\\*.TXT"), (Names{u"A.txt", u"ab.txt", u"b.txt"}));
    EXPECT_EQ(FindNames(u"\\?.txt"), (Names{u"A.txt", u"b.txt"}));
    EXPECT_EQ(FindNames(u"\\a*"), (Names{u"A.txt", u"ab.txt"}));
    EXPECT_EQ(FindNames(u"\\BACKUP*.*"), (Names{u"Backup1", u"backup2.bak"}));
    EXPECT_EQ(FindNames(u"\\*"),
              (Names{u"A.txt", u"ab.txt", u"b.txt", u"Backup1", u"backup2.bak", u"c.dat", u"Sub"}));
    EXPECT_EQ(FindNames(u"\\*.*").size(), 7u);
}

TEST_P(RapiFolderTest, FindFillsAttributesSizesAndTimes) {
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(u"\\sub", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"Sub");
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CeFindNextFile(search, &data));
    EXPECT_EQ(CeGetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(CeFindClose(search));

    search = CeFindFirstFile(u"\\c.dat", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 3u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    uint64_t ticks = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    int64_t unixSeconds = static_cast<int64_t>(ticks / 10'000'000) - 11644473600;
    EXPECT_NEAR(static_cast<double>(unixSeconds), static_cast<double>(std::time(nullptr)), 600);
    EXPECT_TRUE(CeFindClose(search));
}

TEST_P(RapiFolderTest, FindThatMatchesNothingFails) {
    CE_FIND_DATA data;
    EXPECT_EQ(CeFindFirstFile(u"\\*.zip", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CeFindFirstFile(u"\\Nowhere\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CeFindFirstFile(u"\\c.dat\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindNames(u"\\Sub\\*"), Names{});
}

TEST_P(RapiFolderTest, ClosedSearchIsInvalid) {
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(u"\\*", &data);
    EXPECT_TRUE(CeFindClose(search));
    EXPECT_FALSE(CeFindNextFile(search, &data));
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CeFindClose(search));
    EXPECT_EQ(CeFindFirstFile(u"\\*", nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_P(RapiFolderTest, CopyCanRefuseToReplace) {
    Put(u"\\from", "new");
    Put(u"\\to", "old");
    EXPECT_FALSE(CeCopyFile(u"\\from", u"\\TO", TRUE));
    EXPECT_EQ(CeGetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(Contents(u"\\to"), "old");
    EXPECT_TRUE(CeCopyFile(u"\\from", u"\\TO", FALSE));
    EXPECT_EQ(Contents(u"\\to"), "new");
    EXPECT_TRUE(CeCopyFile(u"\\from", u"\\Sub\\copy", TRUE));
    EXPECT_EQ(Contents(u"\\sub\\copy"), "new");
    EXPECT_EQ(Contents(u"\\from"), "new");
}

TEST_P(RapiFolderTest, CopyNeedsASourceNobodyDeniesReading) {
    EXPECT_FALSE(CeCopyFile(u"\\missing", u"\\to", FALSE));
    EXPECT_EQ(CeGetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CeCopyFile(u"\\Sub", u"\\to", FALSE));
    EXPECT_EQ(CeGetLastError(), ERROR_ACCESS_DENIED);
    HANDLE held = Open(u"\\c.dat", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    EXPECT_FALSE(CeCopyFile(u"\\c.dat", u"\\to", FALSE));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CeCloseHandle(held));
    EXPECT_FALSE(std::filesystem::exists(Host("to")));
}

TEST_P(RapiFolderTest, MoveRenamesButNeverReplaces) {
    Put(u"\\old", "moved");
    EXPECT_TRUE(CeMoveFile(u"\\OLD", u"\\Sub\\new"));
    EXPECT_EQ(Contents(u"\\sub\\new"), "moved");
    EXPECT_EQ(Contents(u"\\old"), "<error 2>");
    EXPECT_FALSE(CeMoveFile(u"\\sub\\new", u"\\c.dat"));
    EXPECT_EQ(CeGetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Contents(u"\\c.dat"), "123");
    EXPECT_FALSE(CeMoveFile(u"\\missing", u"\\x"));
    EXPECT_EQ(CeGetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(CeMoveFile(u"\\Sub", u"\\Moved"));
    EXPECT_EQ(FindNames(u"\\moved\\*"), Names{u"new"});
}

TEST_P(RapiFolderTest, OpenFilesAreNeitherMovedNorDeleted) {
    HANDLE held = Open(u"\\c.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    EXPECT_FALSE(CeMoveFile(u"\\c.dat", u"\\d.dat"));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(CeDeleteFile(u"\\c.dat"));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CeCloseHandle(held));
    EXPECT_TRUE(std::filesystem::exists(Host("c.dat")));
    EXPECT_TRUE(CeDeleteFile(u"\\C.DAT"));
    EXPECT_FALSE(std::filesystem::exists(Host("c.dat")));
}

TEST_P(RapiFolderTest, FoldersWithOpenFilesStayPut) {
    Put(u"\\Sub\\inner", "x");
    HANDLE held = Open(u"\\Sub\\inner", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_FALSE(CeMoveFile(u"\\Sub", u"\\Elsewhere"));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CeCloseHandle(held));
}

TEST_P(RapiFolderTest, DeleteTakesOnlyExistingFiles) {
    EXPECT_FALSE(CeDeleteFile(u"\\missing"));
    EXPECT_EQ(CeGetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CeDeleteFile(u"\\Sub"));
    EXPECT_EQ(CeGetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_directory(Host("Sub")));
}

TEST_P(RapiFolderTest, CreateDirectoryRefusesExistingNamesAndMissingParents) {
    EXPECT_TRUE(CeCreateDirectory(u"\\Sub\\Deeper", nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(Host("Sub/Deeper")));
    EXPECT_FALSE(CeCreateDirectory(u"\\SUB\\deeper", nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CeCreateDirectory(u"\\c.dat", nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CeCreateDirectory(u"\\No\\Parent", nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(Host("No")));
}

}  // namespace
