// Opening, reading, writing, seeking and closing files.
#include "RapiContract.h"
#include "platform/Utf16.h"

namespace {

class RapiFileTest : public RapiContractTest {};
INSTANTIATE_TEST_SUITE_P(Transports, RapiFileTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiFileTest, WrittenBytesReadBackWhereverTheySeek) {
    HANDLE file = Open(u"\\notes.txt", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Write(file, "0123456789"));
    DWORD high = 7;
    EXPECT_EQ(CeGetFileSize(file, &high), 10u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(CeSetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(CeSetFilePointer(file, 2, nullptr, FILE_CURRENT), 6u);
    EXPECT_EQ(CeSetFilePointer(file, -3, nullptr, FILE_CURRENT), 3u);
    EXPECT_EQ(Read(file, 2), "34");
    EXPECT_EQ(CeSetFilePointer(file, -1, nullptr, FILE_END), 9u);
    EXPECT_EQ(Read(file, 5), "9");
    EXPECT_EQ(Read(file, 100), "");  // at the end a read succeeds with nothing
    EXPECT_EQ(CeSetFilePointer(file, 12, nullptr, FILE_BEGIN), 12u);
    EXPECT_TRUE(Write(file, "z"));  // the gap fills with zeros
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_EQ(ReadText(Host("notes.txt")), std::string("0123456789\0\0z", 13));
}

TEST_P(RapiFileTest, RefusedSeeksKeepThePositionAndSeeksNeverGrowTheFile) {
    Put(u"\\digits", "0123456789");
    HANDLE file = Open(u"\\digits", GENERIC_READ, 0, OPEN_EXISTING);
    EXPECT_EQ(CeSetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_TRUE(Refused(CeSetFilePointer(file, -6, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER,
                        ERROR_NEGATIVE_SEEK));
    EXPECT_TRUE(
        Refused(CeSetFilePointer(file, 0, nullptr, 7) == INVALID_SET_FILE_POINTER, ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Read(file, 2), "56");
    LONG high = 1;
    EXPECT_EQ(CeSetFilePointer(file, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(CeGetLastError(), ERROR_SUCCESS);
    high = -1;  // with the low part: minus one
    EXPECT_EQ(CeSetFilePointer(file, -1, &high, FILE_CURRENT), 4u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(Read(file, 1), "");
    DWORD sizeHigh = 9;
    EXPECT_EQ(CeGetFileSize(file, &sizeHigh), 10u);
    EXPECT_EQ(sizeHigh, 0u);
    EXPECT_TRUE(CeCloseHandle(file));
}

// Each case opens a name with "old" in \a.dat, \b.dat missing and a folder \dir, and writes "N" if it can.
TEST_P(RapiFileTest, DispositionsCreateKeepOrEmptyTheFile) {
    struct Case {
        const char16_t* name;
        DWORD access, disposition, error;
        std::string after;
    };
    const DWORD r = GENERIC_READ, w = GENERIC_WRITE;
    const Case cases[] = {
        {u"\\A.DAT", w, CREATE_NEW, ERROR_FILE_EXISTS, "old"},
        {u"\\a.dat", w, CREATE_ALWAYS, ERROR_ALREADY_EXISTS, "N"},
        {u"\\a.dat", w, OPEN_ALWAYS, ERROR_ALREADY_EXISTS, "Nld"},
        {u"\\a.dat", w, OPEN_EXISTING, ERROR_SUCCESS, "Nld"},
        {u"\\a.dat", w, TRUNCATE_EXISTING, ERROR_SUCCESS, "N"},
        {u"\\a.dat", r, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER, "old"},
        {u"\\b.dat", w, CREATE_NEW, ERROR_SUCCESS, "N"},
        {u"\\b.dat", w, CREATE_ALWAYS, ERROR_SUCCESS, "N"},
        {u"\\b.dat", w, OPEN_ALWAYS, ERROR_SUCCESS, "N"},
        {u"\\b.dat", r, OPEN_EXISTING, ERROR_FILE_NOT_FOUND, "<error 2>"},
        {u"\\b.dat", w, TRUNCATE_EXISTING, ERROR_FILE_NOT_FOUND, "<error 2>"},
        {u"\\b.dat", r, 0, ERROR_INVALID_PARAMETER, "<error 2>"},
        {u"\\b.dat", r, 6, ERROR_INVALID_PARAMETER, "<error 2>"},
        {u"\\no folder\\f", w, OPEN_ALWAYS, ERROR_PATH_NOT_FOUND, "<error 3>"},
        {u"\\dir", r, OPEN_EXISTING, ERROR_ACCESS_DENIED, "<error 5>"},
        {u"\\dir", w, CREATE_ALWAYS, ERROR_ACCESS_DENIED, "<error 5>"},
    };
    std::filesystem::create_directory(Host("dir"));
    for (const Case& c : cases) {
        const std::string name = Utf16ToUtf8Lossy(c.name);
        Put(u"\\a.dat", "old");
        std::filesystem::remove(Host("b.dat"));
        HANDLE file = Open(c.name, c.access, 0, c.disposition);
        EXPECT_EQ(CeGetLastError(), c.error) << name << " " << c.disposition;
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(Write(file, "N")) << name << " " << c.disposition;
            EXPECT_TRUE(CeCloseHandle(file));
        }
        EXPECT_EQ(Contents(c.name), c.after) << name << " " << c.disposition;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Host("dir")));
}

TEST_P(RapiFileTest, HandlesRefuseWhatTheyCannotDo) {
    Put(u"\\f", "data");
    HANDLE reading = Open(u"\\f", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    HANDLE writing = Open(u"\\f", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    DWORD done = 5;
    EXPECT_TRUE(Refused(!CeWriteFile(reading, "x", 1, &done, nullptr), ERROR_ACCESS_DENIED));
    EXPECT_EQ(done, 0u);
    char c;
    EXPECT_TRUE(Refused(!CeReadFile(writing, &c, 1, &done, nullptr), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Refused(!CeReadFile(reading, &c, 1, nullptr, nullptr), ERROR_INVALID_PARAMETER));
    done = 3;
    EXPECT_TRUE(Refused(!CeWriteFile(writing, nullptr, 1, &done, nullptr), ERROR_INVALID_PARAMETER));
    EXPECT_EQ(done, 0u);
    EXPECT_TRUE(CeCloseHandle(reading));
    EXPECT_TRUE(CeCloseHandle(writing));
    EXPECT_EQ(Contents(u"\\f"), "data");
    EXPECT_EQ(Open(nullptr, GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    // A closed handle is invalid for every call.
    EXPECT_TRUE(Refused(!CeCloseHandle(reading), ERROR_INVALID_HANDLE));
    EXPECT_EQ(Read(reading, 1), "<error 6>");
    EXPECT_TRUE(Refused(CeGetFileSize(reading, nullptr) == INVALID_FILE_SIZE, ERROR_INVALID_HANDLE));
    EXPECT_TRUE(Refused(CeSetFilePointer(reading, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER,
                        ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CeCloseHandle(INVALID_HANDLE_VALUE));
}

}  // namespace
