// Opening, reading, writing, seeking and closing files.
#include "RapiContract.h"

namespace {

class RapiFileTest : public RapiContractTest {};
INSTANTIATE_TEST_SUITE_P(Transports, RapiFileTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiFileTest, WrittenBytesReadBackAfterSeeking) {
    HANDLE file = Open(u"\\notes.txt", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Write(file, "hello world"));
    DWORD high = 7;
    EXPECT_EQ(CeGetFileSize(file, &high), 11u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(CeSetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
    EXPECT_EQ(Read(file, 100), "world");
    EXPECT_EQ(Read(file, 100), "");  // at the end a read succeeds with nothing
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_EQ(ReadText(Host("notes.txt")), "hello world");
}

TEST_P(RapiFileTest, SeeksFromTheCurrentPositionAndTheEnd) {
    Put(u"\\digits", "0123456789");
    HANDLE file = Open(u"\\digits", GENERIC_READ, 0, OPEN_EXISTING);
    EXPECT_EQ(CeSetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(CeSetFilePointer(file, 2, nullptr, FILE_CURRENT), 6u);
    EXPECT_EQ(CeSetFilePointer(file, -3, nullptr, FILE_CURRENT), 3u);
    EXPECT_EQ(Read(file, 2), "34");
    EXPECT_EQ(CeSetFilePointer(file, -1, nullptr, FILE_END), 9u);
    EXPECT_EQ(Read(file, 5), "9");
    EXPECT_TRUE(CeCloseHandle(file));
}

TEST_P(RapiFileTest, RefusedSeeksKeepThePosition) {
    Put(u"\\digits", "0123456789");
    HANDLE file = Open(u"\\digits", GENERIC_READ, 0, OPEN_EXISTING);
    EXPECT_EQ(CeSetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_EQ(CeSetFilePointer(file, -6, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(CeGetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(CeSetFilePointer(file, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Read(file, 2), "56");
    EXPECT_TRUE(CeCloseHandle(file));
}

TEST_P(RapiFileTest, SeekDistanceHasAHighPart) {
    Put(u"\\digits", "0123456789");
    HANDLE file = Open(u"\\digits", GENERIC_READ, 0, OPEN_EXISTING);
    LONG high = 1;
    EXPECT_EQ(CeSetFilePointer(file, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(CeGetLastError(), ERROR_SUCCESS);
    high = -1;  // with the low part: minus one
    EXPECT_EQ(CeSetFilePointer(file, -1, &high, FILE_CURRENT), 4u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(Read(file, 1), "");
    DWORD sizeHigh = 9;
    EXPECT_EQ(CeGetFileSize(file, &sizeHigh), 10u);  // seeking does not grow the file
    EXPECT_EQ(sizeHigh, 0u);
    EXPECT_TRUE(CeCloseHandle(file));
}

TEST_P(RapiFileTest, WritingPastTheEndFillsTheGapWithZeros) {
    HANDLE file = Open(u"\\sparse", GENERIC_WRITE, 0, CREATE_NEW);
    EXPECT_TRUE(Write(file, "ab"));
    EXPECT_EQ(CeSetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
    EXPECT_TRUE(Write(file, "z"));
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_EQ(ReadText(Host("sparse")), std::string("ab\0\0\0\0z", 7));
}

TEST_P(RapiFileTest, OpeningExistingFilesNeedsThemAndTheirFolders) {
    EXPECT_EQ(OpenError(u"\\missing.dat", GENERIC_READ, 0, OPEN_EXISTING), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenError(u"\\missing.dat", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenError(u"\\no folder\\file.dat", GENERIC_WRITE, 0, OPEN_ALWAYS), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(OpenError(u"\\missing.dat", GENERIC_READ, 0, 0), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(OpenError(u"\\missing.dat", GENERIC_READ, 0, 6), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(std::filesystem::is_empty(Host("")));
}

TEST_P(RapiFileTest, CreateNewRefusesAnExistingFile) {
    Put(u"\\a.dat", "keep");
    EXPECT_EQ(OpenError(u"\\A.DAT", GENERIC_WRITE, 0, CREATE_NEW), ERROR_FILE_EXISTS);
    EXPECT_EQ(Contents(u"\\a.dat"), "keep");
}

TEST_P(RapiFileTest, OpenAlwaysCreatesOrKeepsTheContents) {
    HANDLE created = Open(u"\\opt.dat", GENERIC_WRITE, 0, OPEN_ALWAYS);
    EXPECT_EQ(CeGetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(Write(created, "0123456789"));
    EXPECT_TRUE(CeCloseHandle(created));
    HANDLE again = Open(u"\\opt.dat", GENERIC_WRITE, 0, OPEN_ALWAYS);
    EXPECT_EQ(CeGetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(Write(again, "AB"));
    EXPECT_TRUE(CeCloseHandle(again));
    EXPECT_EQ(Contents(u"\\opt.dat"), "AB23456789");
}

TEST_P(RapiFileTest, CreateAlwaysAndTruncateExistingEmptyTheFile) {
    Put(u"\\t.dat", "old contents");
    HANDLE file = Open(u"\\t.dat", GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_EQ(CeGetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_EQ(Contents(u"\\t.dat"), "");
    Put(u"\\t.dat", "again");
    EXPECT_EQ(OpenError(u"\\t.dat", GENERIC_READ, 0, TRUNCATE_EXISTING), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Contents(u"\\t.dat"), "again");
    EXPECT_EQ(OpenError(u"\\t.dat", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_SUCCESS);
    EXPECT_EQ(Contents(u"\\t.dat"), "");
}

TEST_P(RapiFileTest, HandlesOnlyDoWhatTheyWereOpenedFor) {
    Put(u"\\f", "data");
    HANDLE reading = Open(u"\\f", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    HANDLE writing = Open(u"\\f", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    DWORD done = 5;
    EXPECT_FALSE(CeWriteFile(reading, "x", 1, &done, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(done, 0u);
    char c;
    EXPECT_FALSE(CeReadFile(writing, &c, 1, &done, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CeCloseHandle(reading));
    EXPECT_TRUE(CeCloseHandle(writing));
    EXPECT_EQ(Contents(u"\\f"), "data");
}

TEST_P(RapiFileTest, ClosedHandlesAreInvalid) {
    HANDLE file = Open(u"\\f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_FALSE(CeCloseHandle(file));
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Read(file, 1), "<error 6>");
    EXPECT_EQ(CeGetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CeSetFilePointer(file, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CeCloseHandle(INVALID_HANDLE_VALUE));
}

TEST_P(RapiFileTest, FoldersAreNotOpenedAsFiles) {
    std::filesystem::create_directory(Host("dir"));
    EXPECT_EQ(OpenError(u"\\dir", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(u"\\dir", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_directory(Host("dir")));
}

TEST_P(RapiFileTest, NamesMatchWhateverTheirCase) {
    WriteBytes(Host("Wallet.DAT"), {'a', 'b', 'c'});
    std::filesystem::create_directory(Host("Backup"));
    EXPECT_EQ(Contents(u"\\WALLET.dat"), "abc");
    Put(u"\\backup\\New File.Txt", "n");
    EXPECT_EQ(ReadText(Host("Backup/New File.Txt")), "n");  // a new name keeps the case given
}

TEST_P(RapiFileTest, MissingPointersAreInvalidParameters) {
    HANDLE file = Open(u"\\f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    char c;
    EXPECT_FALSE(CeReadFile(file, &c, 1, nullptr, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_PARAMETER);
    DWORD done = 3;
    EXPECT_FALSE(CeWriteFile(file, nullptr, 1, &done, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(done, 0u);
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_EQ(Open(nullptr, GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

}  // namespace
