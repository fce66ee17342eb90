// The backups in the phone's backup folder: the list read (every "Backup*.*" that opens as a wallet store),
// backups made and deleted, and the restore, which leaves the wallet either as it was or the backup.
#include <gtest/gtest.h>

#include "DeviceFixture.h"
#include "device/TesseraBackup.h"
#include "phone/NewStoreFile.h"
#include "platform/Utf16.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

class TesseraBackupTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        std::filesystem::create_directories(Fs("Backups"));
        backups.folder = u"\\Backups";
    }
    void MakeStore(const std::string& file, const char16_t* password) {
        SecureBytes bytes = PasswordBytes(password);
        std::string error;
        ASSERT_TRUE(CreateStoreFile(Fs(file), StoreKind::Wallet, bytes.data(), bytes.size(), error)) << error;
    }
    static constexpr char kWallet[] = "Program Files/Tessera/Tessera.dat";
    static constexpr char16_t kWalletPath[] = u"\\Program Files\\Tessera\\Tessera.dat";
    CTesseraBackup backups;
};

TEST_F(TesseraBackupTest, ListsTheStoresAmongTheBackupFilesAndSaysWhetherAnyFileWasFound) {
    EXPECT_EQ(backups.Scan(), 0);  // an empty folder: the next Backup page reads it again

    WriteBytes(Fs("Backups/Backup(Manual).20101231235958_1"), {1, 2, 3});
    EXPECT_EQ(backups.Scan(), 1);
    EXPECT_TRUE(backups.entries.empty());

    MakeStore("Backups/Backup(Manual).20101231235958", u"old password");
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

TEST_F(TesseraBackupTest, MakesStampedBackupsWithinTheLengthAndDeletesThemByExactName) {
    MakeStore(kWallet, u"pw");
    const SYSTEMTIME now{2010, 12, 5, 31, 23, 59, 58, 0};
    const std::u16string stamp = CTesseraBackup::StampedName(now);
    EXPECT_EQ(backups.Make(u"\\Backups\\New", kWalletPath, now, 7), stamp);          // the folder is made
    EXPECT_EQ(backups.Make(u"\\Backups\\New", kWalletPath, now, 8), stamp + u"_1");  // the same second
    // Another program's backup takes the free name during the copy: never overwritten, the next name is.
    const std::string taken = "Backups/New/" + Utf16ToUtf8Lossy(stamp) + "_1_1";
    faults->RunBefore(RapiOp::CopyFile, 1, [&] { WriteBytes(Fs(taken), {7}); });
    EXPECT_EQ(backups.Make(u"\\Backups\\New", kWalletPath, now, 8), stamp + u"_1_1_1");
    EXPECT_EQ(ReadBytes(Fs(taken)), std::vector<uint8_t>{7});
    EXPECT_EQ(backups.Make(u"\\Backups\\" + std::u16string(171, u'f'), kWalletPath, now, 9), u"");
    EXPECT_EQ(backups.Delete(stamp + u"_1"), 1);
    EXPECT_EQ(backups.Delete(stamp + u"_1"), 0);  // gone already: the list stays
    EXPECT_EQ(backups.Delete(stamp + u"_1_1_1"), 1);
    EXPECT_EQ(backups.Delete(u"Backup\\..\\..\\Program Files\\Tessera\\Tessera.dat"), 0);
    ASSERT_EQ(backups.entries.size(), 1u);
    EXPECT_EQ(backups.entries[0].name, stamp);
}

TEST_F(TesseraBackupTest, TemporaryNamesAppendOneSuffixPerNameTakenWithinTheLimit) {
    std::u16string free;
    WriteBytes(Fs("Backups/W_1"), {1});
    ASSERT_TRUE(FreeTempName(u"\\Backups\\W", free));
    EXPECT_EQ(free, u"\\Backups\\W_1_1");
    const std::u16string longest = u"\\Backups\\X" + std::u16string(246, u'x');  // 256 units
    EXPECT_TRUE(FreeTempName(longest, free) && free.size() == 258);
    EXPECT_FALSE(FreeTempName(longest + u"x", free) || FreeTempName(u"", free));
}

}  // namespace
