#include "device/DeviceFiles.h"

#include <chrono>

#include "DeviceFixture.h"
#include "device/DeviceLink.h"

namespace {

using DeviceFilesTest = ConnectedDeviceFixture;

TEST_F(DeviceFixture, ConnectMakesOneConnectionAndRefusesASecond) {
    DeviceLink link;
    ASSERT_TRUE(link.Connect());
    EXPECT_TRUE(link.RapiInitialized());
    EXPECT_FALSE(link.Connect());
    EXPECT_TRUE(link.RapiInitialized());
    EXPECT_EQ(DeviceDirectoryExists(u"\\Program Files"), 1);  // the connection serves this thread
    link.Disconnect();
    EXPECT_FALSE(link.RapiInitialized());
    EXPECT_EQ(DeviceDirectoryExists(u"\\Program Files"), 0);
    EXPECT_TRUE(link.Connect());
    link.Disconnect();
}

TEST_F(DeviceFixture, ConnectFailsQuietlyWithoutAPhone) {
    std::filesystem::remove_all(dir / "fs");
    DeviceLink link;
    EXPECT_FALSE(link.Connect());
    EXPECT_FALSE(link.RapiInitialized());
}

TEST_F(DeviceFilesTest, ExistenceTests) {
    WriteBytes(Fs("Program Files/Tessera/Options.dat"), {1});
    EXPECT_EQ(DeviceFileExists(u"\\Program Files\\Tessera\\Options.dat"), 1);
    EXPECT_EQ(DeviceFileExists(u"\\Program Files\\Tessera"), 1);
    EXPECT_EQ(DeviceDirectoryExists(u"\\Program Files\\Tessera"), 1);
    EXPECT_EQ(DeviceDirectoryExists(u"\\Program Files\\Tessera\\Options.dat"), 0);
    EXPECT_EQ(DeviceFileExists(u"\\Nowhere"), 0);
    faults->ResetCounters();
    EXPECT_EQ(DeviceFileExists(nullptr), 0);
    EXPECT_EQ(DeviceDirectoryExists(nullptr), 0);
    EXPECT_EQ(faults->TotalCalls(), 0u);
}

TEST_F(DeviceFilesTest, CreateDirectoryPathCreatesOnlyWhatIsMissing) {
    faults->ResetCounters();
    EXPECT_EQ(DeviceCreateDirectoryPath(u"\\Program Files\\Tessera"), 1);
    EXPECT_EQ(faults->Calls(RapiOp::CreateDirectory), 0u);
    EXPECT_EQ(DeviceCreateDirectoryPath(u"\\My Documents\\Tessera Backup\\Old"), 1);
    EXPECT_EQ(faults->Calls(RapiOp::CreateDirectory), 3u);
    EXPECT_TRUE(std::filesystem::is_directory(Fs("My Documents/Tessera Backup/Old")));
    EXPECT_EQ(DeviceCreateDirectoryPath(u""), 1);
    WriteBytes(Fs("Blocker"), {1});
    EXPECT_EQ(DeviceCreateDirectoryPath(u"\\Blocker\\Below"), 0);
    EXPECT_EQ(DeviceCreateDirectoryPath(nullptr), 0);
}

TEST_F(DeviceFilesTest, ListEntriesKeepsThePhonesOrderAndClearsTheList) {
    for (const char* name : {"Backup2.dat", "backup1.dat", "Other.dat"}) WriteBytes(Fs(name), {1, 2});
    DynamicList<CE_FIND_DATA> entries;
    ASSERT_EQ(DeviceListEntries(u"\\Backup*.*", entries), 1);
    ASSERT_EQ(entries.count, 2);
    EXPECT_EQ(std::u16string(entries.head->element.cFileName), u"backup1.dat");
    EXPECT_EQ(entries.head->element.nFileSizeLow, 2u);
    EXPECT_EQ(std::u16string(entries.tail->element.cFileName), u"Backup2.dat");
    EXPECT_EQ(DeviceListEntries(u"\\Missing*.*", entries), 0);
    EXPECT_EQ(entries.count, 0);
}

TEST_F(DeviceFilesTest, ARecordReadDeliversAllOrNothing) {
    uint8_t destination[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    WriteBytes(Fs("Short.dat"), {1, 2, 3, 4, 5, 6, 7});
    DWORD error = 0;
    EXPECT_EQ(DeviceReadRecordFile(u"\\Short.dat", destination, 8, &error), 0);
    EXPECT_EQ(destination[0], 9);
    WriteBytes(Fs("Long.dat"), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(DeviceReadRecordFile(u"\\Long.dat", destination, 8, nullptr), 1);
    EXPECT_EQ(destination[7], 8);

    faults->ResetCounters();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DeviceReadRecordFile(u"\\Missing.dat", destination, 8, &error), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kRecordFileRetryPauseMs));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(faults->Calls(RapiOp::CreateFile), 1u);  // one attempt only
}

TEST_F(DeviceFilesTest, ARecordWriteCreatesTheFileAndKeepsALongerTail) {
    const uint8_t record[4] = {1, 2, 3, 4};
    EXPECT_EQ(DeviceWriteRecordFile(u"\\New.dat", record, 4, nullptr), 1);
    EXPECT_EQ(ReadBytes(Fs("New.dat")), (std::vector<uint8_t>{1, 2, 3, 4}));
    WriteBytes(Fs("Long.dat"), {9, 9, 9, 9, 9, 9});
    EXPECT_EQ(DeviceWriteRecordFile(u"\\Long.dat", record, 4, nullptr), 1);
    EXPECT_EQ(ReadBytes(Fs("Long.dat")), (std::vector<uint8_t>{1, 2, 3, 4, 9, 9}));

    faults->ShortWrite(1, 2);
    DWORD error = 0;
    EXPECT_EQ(DeviceWriteRecordFile(u"\\New.dat", record, 4, &error), 0);
    HANDLE held = CeCreateFile(u"\\New.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(DeviceWriteRecordFile(u"\\New.dat", record, 4, &error), 0);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CeCloseHandle(held);
}

}  // namespace
