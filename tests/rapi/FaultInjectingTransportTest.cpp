// Faults armed on the wrapping transport, and its call counters.
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

TEST_F(FaultInjectingTransportTest, FailsOnlyTheNthCallOfItsKind) {
    faults->FailCall(RapiOp::WriteFile, 2, ERROR_DISK_FULL);
    EXPECT_TRUE(Write(file, "one"));
    EXPECT_EQ(CeGetFileSize(file, nullptr), 3u);  // other kinds do not count towards the fault
    DWORD written = 9;
    EXPECT_FALSE(CeWriteFile(file, "two", 3, &written, nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(Write(file, "three"));
    EXPECT_EQ(ReadText(dir / "f"), "onethree");
}

TEST_F(FaultInjectingTransportTest, FailsTheNthCallOfAnyKind) {
    faults->FailAnyCall(2, ERROR_NOT_CONNECTED);
    EXPECT_TRUE(Write(file, "x"));
    EXPECT_FALSE(CeCreateDirectory(u"\\made", nullptr));
    EXPECT_EQ(CeGetLastError(), ERROR_NOT_CONNECTED);
    EXPECT_FALSE(std::filesystem::exists(dir / "made"));
    EXPECT_TRUE(CeCreateDirectory(u"\\made", nullptr));
}

TEST_F(FaultInjectingTransportTest, FailedCallsChangeNothing) {
    faults->FailCall(RapiOp::CreateFile, 1, ERROR_ACCESS_DENIED);
    faults->FailCall(RapiOp::DeleteFile, 1, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpenError(u"\\new", GENERIC_WRITE, 0, CREATE_NEW), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(dir / "new"));
    EXPECT_TRUE(CeCloseHandle(file));
    EXPECT_FALSE(CeDeleteFile(u"\\f"));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(std::filesystem::exists(dir / "f"));
    faults->FailCall(RapiOp::RegOpenKey, 1, ERROR_BADDB);
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software", 0, KEY_READ, &key),
              static_cast<LONG>(ERROR_BADDB));
    EXPECT_EQ(key, nullptr);
}

TEST_F(FaultInjectingTransportTest, ShortWriteWritesAndReportsOnlyPart) {
    faults->ShortWrite(1, 3);
    DWORD written = 0;
    EXPECT_TRUE(CeWriteFile(file, "abcdefgh", 8, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(ReadText(dir / "f"), "abc");
    EXPECT_TRUE(Write(file, "de"));  // the fault fired once
    EXPECT_EQ(ReadText(dir / "f"), "abcde");
}

TEST_F(FaultInjectingTransportTest, ShortReadDeliversOnlyPart) {
    ASSERT_TRUE(Write(file, "0123456789"));
    CeSetFilePointer(file, 0, nullptr, FILE_BEGIN);
    faults->ShortRead(2, 4);
    EXPECT_EQ(Read(file, 2), "01");
    EXPECT_EQ(Read(file, 8), "2345");
    EXPECT_EQ(Read(file, 8), "6789");
}

TEST_F(FaultInjectingTransportTest, DisarmForgetsPendingFaults) {
    faults->FailCall(RapiOp::WriteFile, 1, ERROR_DISK_FULL);
    faults->Disarm();
    EXPECT_TRUE(Write(file, "x"));
}

TEST_F(FaultInjectingTransportTest, CountsEveryCallOfEverySession) {
    faults->ResetCounters();
    EXPECT_EQ(faults->TotalCalls(), 0u);
    Write(file, "abc");
    CeSetFilePointer(file, 0, nullptr, FILE_BEGIN);
    Read(file, 3);
    faults->FailCall(RapiOp::ReadFile, 1, ERROR_DISK_FULL);
    Read(file, 3);  // failed calls count too
    FindNames(u"\\*");
    InOtherSession([] { return OpenError(u"\\g", GENERIC_WRITE, 0, CREATE_NEW); });
    EXPECT_EQ(faults->Calls(RapiOp::WriteFile), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::SetFilePointer), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::ReadFile), 2u);
    EXPECT_EQ(faults->Calls(RapiOp::FindFirstFile), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::FindNextFile), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::FindClose), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::CreateFile), 1u);
    EXPECT_EQ(faults->Calls(RapiOp::CloseHandle), 1u);
    EXPECT_EQ(faults->TotalCalls(), 9u);
    faults->ResetCounters();
    EXPECT_EQ(faults->Calls(RapiOp::ReadFile), 0u);
    EXPECT_EQ(faults->TotalCalls(), 0u);
}

TEST_F(FaultInjectingTransportTest, CallsRefusedBeforeTheSessionAreNotCounted) {
    faults->ResetCounters();
    CE_FIND_DATA data;
    EXPECT_EQ(CeFindFirstFile(u"\\*", nullptr), INVALID_HANDLE_VALUE);
    OnNewThread([&] { return CeFindFirstFile(u"\\*", &data); });
    EXPECT_EQ(faults->TotalCalls(), 0u);
}

}  // namespace
