// The backup list read from the phone's backup folder: every "Backup*.*" that opens as a wallet store,
// with its header's time and record count; files that are no store are left out.
#include <gtest/gtest.h>

#include "DeviceFixture.h"
#include "device/TesseraBackup.h"
#include "phone/NewStoreFile.h"
#include "store/PasswordBytes.h"

namespace {

class TesseraBackupTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        std::filesystem::create_directories(Fs("Backups"));
        backups.folder = u"\\Backups";
    }
    CTesseraBackup backups;
};

TEST_F(TesseraBackupTest, ListsTheStoresAmongTheBackupFilesAndSaysWhetherAnyFileWasFound) {
    RapiConnection connection;
    EXPECT_EQ(backups.Scan(), 0);  // an empty folder: the next Backup page reads it again

    WriteBytes(Fs("Backups/Backup(Manual).20101231235958_1"), {1, 2, 3});
    EXPECT_EQ(backups.Scan(), 1);
    EXPECT_TRUE(backups.entries.empty());

    SecureBytes password = PasswordBytes(u"old password");
    std::string error;
    ASSERT_TRUE(CreateStoreFile(Fs("Backups/Backup(Manual).20101231235958"), StoreKind::Wallet,
                                password.data(), password.size(), error));
    WriteBytes(Fs("Backups/Notes.txt"), {0});
    EXPECT_EQ(backups.Scan(), 1);
    ASSERT_EQ(backups.entries.size(), 1u);
    EXPECT_EQ(backups.entries[0].name, u"Backup(Manual).20101231235958");
    EXPECT_EQ(backups.entries[0].count, 0u);
    EXPECT_GE(backups.entries[0].time.wYear, 2024);

    backups.folder.clear();
    EXPECT_EQ(backups.Scan(), 0);
    EXPECT_EQ(backups.entries.size(), 1u);  // nothing changes without a folder
}

}  // namespace
