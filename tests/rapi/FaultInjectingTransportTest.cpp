// Faults armed on the wrapping transport fire once, on the call they were armed for.
#include "RapiContract.h"
#include "platform/rapi/FaultInjectingTransport.h"
#include "platform/rapi/FolderTransport.h"

namespace {

class FaultInjectingTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        faults = std::make_shared<FaultInjectingTransport>(FolderTransport::ForFsRoot(dir.Path()));
        RapiSetTransport(faults);
        ASSERT_EQ(CeRapiInit(), S_OK);
        file = Open(u"\\f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
    }

    void TearDown() override {
        CeRapiUninit();
        RapiSetTransport(nullptr);
    }

    TempDir dir;
    std::shared_ptr<FaultInjectingTransport> faults;
    HANDLE file = INVALID_HANDLE_VALUE;
};

TEST_F(FaultInjectingTransportTest, FailsOnlyTheNthCallAndChangesNothing) {
    faults->FailCall(RapiOp::WriteFile, 2, ERROR_DISK_FULL);
    faults->FailAnyCall(4, ERROR_NOT_CONNECTED);
    EXPECT_TRUE(Write(file, "one"));
    EXPECT_EQ(CeGetFileSize(file, nullptr), 3u);  // other kinds do not count towards the fault
    DWORD written = 9;
    EXPECT_FALSE(CeWriteFile(file, "two", 3, &written, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(CeCreateDirectory(u"\\made", nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_NOT_CONNECTED);
    EXPECT_FALSE(std::filesystem::exists(dir / "made"));
    faults->FailCall(RapiOp::WriteFile, 1, ERROR_DISK_FULL);
    faults->Disarm();
    EXPECT_TRUE(Write(file, "three"));
    EXPECT_EQ(ReadText(dir / "f"), "onethree");
}

TEST_F(FaultInjectingTransportTest, ShortWritesAndReadsMoveOnlyPart) {
    faults->ShortWrite(1, 3);
    DWORD written = 0;
    EXPECT_TRUE(CeWriteFile(file, "abcdefgh", 8, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(Write(file, "de"));  // the fault fired once
    EXPECT_EQ(ReadText(dir / "f"), "abcde");
    CeSetFilePointer(file, 0, nullptr, FILE_BEGIN);
    faults->ShortRead(2, 2);
    EXPECT_EQ(Read(file, 1), "a");
    EXPECT_EQ(Read(file, 8), "bc");
    EXPECT_EQ(Read(file, 8), "de");
}

}  // namespace
