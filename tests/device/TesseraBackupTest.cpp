// The backups in the phone's backup folder: the list read (every "Backup*.*" that opens as a wallet store,
// with its header's time and record count), backups made and deleted, and the restore, which leaves the
// wallet either as it was or the backup whatever call of the link fails.
#include <gtest/gtest.h>

#include "DeviceFixture.h"
#include "device/TesseraBackup.h"
#include "phone/NewStoreFile.h"
#include "platform/Utf16.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

class TesseraBackupTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        std::filesystem::create_directories(Fs("Backups"));
        backups.folder = u"\\Backups";
    }
    void MakeStore(const std::string& file, const char16_t* password) {
        SecureBytes bytes = PasswordBytes(password);
        std::string error;
        ASSERT_TRUE(CreateStoreFile(Fs(file), StoreKind::Wallet, bytes.data(), bytes.size(), error)) << error;
    }
    CTesseraBackup backups;
};

// The wallet and one backup under another password, with the call that types it.
class RestoreTest : public TesseraBackupTest {
protected:
    void SetUp() override {
        TesseraBackupTest::SetUp();
        MakeStore(kWallet, u"old password");
        MakeStore("Backups/Backup(Manual).20101231235958", u"backup password");
        oldWallet = ReadBytes(Fs(kWallet));
        backup = ReadBytes(Fs("Backups/Backup(Manual).20101231235958"));
        connection = std::make_unique<RapiConnection>();
    }
    RestoreResult Restore(const char16_t* typed = u"backup password") {
        return RestoreBackup(u"\\Backups", u"Backup(Manual).20101231235958", kWalletPath,
                             [typed](CTesseraEncryptedLinkList& store) {
                                 SecureBytes bytes = PasswordBytes(typed);
                                 return store.CheckPassword(bytes.data(), bytes.size())
                                            ? BackupLogin::Accepted
                                            : BackupLogin::Refused;
                             });
    }
    static constexpr char kWallet[] = "Program Files/Tessera/Tessera.dat";
    static constexpr char16_t kWalletPath[] = u"\\Program Files\\Tessera\\Tessera.dat";
    std::vector<uint8_t> oldWallet, backup;
    std::unique_ptr<RapiConnection> connection;
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

TEST_F(TesseraBackupTest, MakesStampedBackupsOneSecondApartOrNotAtAllAndDeletesByExactName) {
    RapiConnection connection;
    MakeStore("Program Files/Tessera/Tessera.dat", u"pw");
    const std::u16string wallet = u"\\Program Files\\Tessera\\Tessera.dat";
    const SYSTEMTIME now{2010, 12, 5, 31, 23, 59, 58, 0};
    const std::u16string stamp = CTesseraBackup::StampedName(now);
    EXPECT_TRUE(stamp.starts_with(u"Backup(Manual).2") && stamp.size() == 29) << Utf16ToUtf8Lossy(stamp);

    EXPECT_EQ(backups.Make(u"\\Backups\\New\\Deep", wallet, now, 7), stamp);  // the folder is made
    EXPECT_EQ(backups.Make(u"\\Backups\\New\\Deep", wallet, now, 8), stamp + u"_1");
    EXPECT_EQ(ReadBytes(Fs("Backups/New/Deep/" + Utf16ToUtf8Lossy(stamp) + "_1")),
              ReadBytes(Fs("Program Files/Tessera/Tessera.dat")));
    ASSERT_EQ(backups.entries.size(), 2u);
    EXPECT_EQ(backups.entries[1].count, 8u);
    EXPECT_EQ(backups.entries[1].time.wSecond, 58);

    std::u16string longFolder = u"\\Backups\\" + std::u16string(kBackupPathLimit - 39, u'f');
    faults->FailCall(RapiOp::CopyFile, 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(backups.Make(u"\\Backups\\New\\Deep", wallet, now, 9), u"");
    EXPECT_EQ(backups.Make(longFolder, wallet, now, 9), u"");  // 210 units or more
    EXPECT_EQ(backups.entries.size(), 2u);

    EXPECT_EQ(backups.Delete(stamp + u"_1"), 1);
    EXPECT_EQ(backups.Delete(stamp + u"_1"), 0);  // already gone: the list stays
    ASSERT_EQ(backups.entries.size(), 1u);
    EXPECT_EQ(backups.entries[0].name, stamp);
    EXPECT_TRUE(std::filesystem::exists(Fs("Backups/New/Deep/" + Utf16ToUtf8Lossy(stamp))));
    EXPECT_EQ(backups.Delete(u"Backup\\..\\..\\..\\Program Files\\Tessera\\Tessera.dat"), 0);
    EXPECT_TRUE(std::filesystem::exists(Fs("Program Files/Tessera/Tessera.dat")));
}

TEST_F(TesseraBackupTest, TemporaryNamesAppendOneSuffixPerNameTakenWithinTheLimit) {
    RapiConnection connection;
    std::u16string free;
    EXPECT_FALSE(FreeTempName(u"", free));
    ASSERT_TRUE(FreeTempName(u"\\Backups\\W", free));
    EXPECT_EQ(free, u"\\Backups\\W_1");
    WriteBytes(Fs("Backups/W_1"), {1});
    WriteBytes(Fs("Backups/W_1_1"), {1});
    ASSERT_TRUE(FreeTempName(u"\\Backups\\W", free));
    EXPECT_EQ(free, u"\\Backups\\W_1_1_1");
    const std::u16string longest = u"\\Backups\\W" + std::u16string(246, u'w');  // 256 units
    EXPECT_TRUE(FreeTempName(longest, free) && free.size() == 258);
    EXPECT_FALSE(FreeTempName(longest + u"w", free));
}

TEST_F(RestoreTest, ReplacesTheWalletWithTheBackupOnlyWithItsPasswordAndWithoutAStaleCopy) {
    EXPECT_EQ(Restore(u"old password"), RestoreResult::Failed);
    WriteBytes(Fs(std::string(kWallet) + ".bak"), {1, 2});
    EXPECT_EQ(Restore(), RestoreResult::Failed);
    EXPECT_EQ(ReadBytes(Fs(kWallet)), oldWallet);
    std::filesystem::remove(Fs(std::string(kWallet) + ".bak"));
    WriteBytes(Fs("Backups/Backup(Manual).20101231235958"), {1, 2, 3});
    EXPECT_EQ(Restore(), RestoreResult::Unreadable);
    WriteBytes(Fs("Backups/Backup(Manual).20101231235958"), backup);

    EXPECT_EQ(Restore(), RestoreResult::Restored);
    EXPECT_EQ(ReadBytes(Fs(kWallet)), backup);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Fs("Program Files/Tessera")), {}), 1)
        << "neither the copy nor the moved wallet stays";
}

TEST_F(RestoreTest, AFailureAtAnyCallLeavesEitherTheOldWalletOrTheBackup) {
    for (RapiOp op : {RapiOp::FindFirstFile, RapiOp::CopyFile, RapiOp::MoveFile, RapiOp::DeleteFile}) {
        for (uint64_t nth = 1; nth <= 4; ++nth) {
            SCOPED_TRACE(testing::Message() << "call " << static_cast<int>(op) << " #" << nth);
            for (const auto& entry : std::filesystem::directory_iterator(Fs("Program Files/Tessera")))
                std::filesystem::remove(entry.path());
            WriteBytes(Fs(kWallet), oldWallet);
            faults->FailCall(op, nth, ERROR_ACCESS_DENIED);
            RestoreResult result = Restore();
            faults->Disarm();
            std::vector<uint8_t> wallet = ReadBytes(Fs(kWallet));
            EXPECT_TRUE(result == RestoreResult::Restored ? wallet == backup : wallet == oldWallet);
        }
    }
}

}  // namespace
