// The backups in the phone's backup folder: the list read (every "Backup*.*" that opens as a wallet store),
// backups made and deleted; restores cut (on either transport) or refused at any step, with what check and
// repair make of what they left: after them the wallet is the old one or the backup, whole, and alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "DeviceFixture.h"
#include "device/TesseraBackup.h"
#include "device/WalletRestore.h"
#include "phone/NewStoreFile.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/FolderFileSystem.h"
#include "platform/rapi/client/TurnTaking.h"
#include "rapi/RapiContract.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

using Bytes8 = std::vector<uint8_t>;

class TesseraBackupTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        std::filesystem::create_directories(Fs("Backups"));
        backups.folder = u"\\Backups";
    }
    // A wallet store with that many cards, as bytes.
    Bytes8 Store(const std::string& file, const char16_t* password, uint32_t cards) {
        SecureBytes bytes = PasswordBytes(password);
        std::string error;
        EXPECT_TRUE(CreateStoreFile(Fs(file), StoreKind::Wallet, bytes.data(), bytes.size(), error)) << error;
        std::u16string path = u"\\" + Utf8ToUtf16Lossy(file);
        std::replace(path.begin(), path.end(), u'/', u'\\');
        CTesseraEncryptedLinkList store(path, kWalletFileType);
        EXPECT_TRUE(store.Open() == 0 && store.CheckPassword(bytes.data(), bytes.size()));
        for (uint32_t id = 1; id <= cards; ++id) EXPECT_TRUE(store.AddRecord(CTesseraItem(), id));
        return ReadBytes(Fs(file));
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

    Store("Backups/Backup(Manual).20101231235958", u"old password", 0);
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
    Store(kWallet, u"pw", 0);
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

class WalletRestoreTest : public TesseraBackupTest {
protected:
    void SetUp() override {
        TesseraBackupTest::SetUp();
        old = Store(kWallet, u"old", 1);
        backup = Store("Backups/Backup.1", u"backup", 3);
    }
    RestoreResult Restore() {
        return RestoreBackup(u"\\Backups", u"Backup.1", kWalletPath, [](CTesseraEncryptedLinkList& store) {
            SecureBytes bytes = PasswordBytes(u"backup");
            return store.CheckPassword(bytes.data(), bytes.size()) ? BackupLogin::Accepted
                                                                   : BackupLogin::Refused;
        });
    }
    // The install folder holding exactly these files: "Tessera.dat" and what follows.
    void Put(const std::map<std::string, const Bytes8*>& files) {
        std::filesystem::remove_all(Fs(kFolder));
        std::filesystem::create_directories(Fs(kFolder));
        for (const auto& [suffix, bytes] : files) WriteBytes(Fs(std::string(kWallet) + suffix), *bytes);
    }
    size_t FilesBeside() const { return std::distance(std::filesystem::directory_iterator(Fs(kFolder)), {}); }
    static constexpr char kFolder[] = "Program Files/Tessera";
    Bytes8 old, backup;
};

class CutRestoreTest : public WalletRestoreTest, public ::testing::WithParamInterface<ContractTransport> {
    std::shared_ptr<RapiTransport> Link() override { return GetParam().make(dir.Path()); }
};
INSTANTIATE_TEST_SUITE_P(Transports, CutRestoreTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(CutRestoreTest, ARestoreCutAtAnyCallLeavesTheOldWalletOrTheBackupOnceRepaired) {
    faults->ResetCounters();
    ASSERT_EQ(Restore(), RestoreResult::Restored);
    const uint64_t calls = faults->TotalCalls();
    int finishedByRepair = 0;
    for (uint64_t cut = 1; cut <= calls; ++cut) {
        Put({{"", &old}});
        faults->CutAt(cut);
        RestoreResult result = Restore();
        faults->Disarm();
        connection.reset();  // as a new run of a program: the cut one's files are closed
        connection = std::make_unique<RapiConnection>();
        std::string report;
        SCOPED_TRACE("cut at call " + std::to_string(cut));
        RestoreSettlement found = SettleRestore(kWalletPath, true, report);
        EXPECT_NE(found, RestoreSettlement::Refused) << report;
        EXPECT_EQ(SettleRestore(kWalletPath, false, report), found);
        Bytes8 now = ReadBytes(Fs(kWallet));
        EXPECT_TRUE(now == backup || (now == old && result != RestoreResult::Restored));
        EXPECT_EQ(FilesBeside(), 1u);
        finishedByRepair += result != RestoreResult::Restored && now == backup;
    }
    EXPECT_GE(finishedByRepair, 1) << "a cut between the two moves leaves the checked copy to move in";
    Put({{"", &old}});
    // The copy cannot move in: the wallet moves back.
    faults->FailCall(RapiOp::MoveFile, 2, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Restore(), RestoreResult::Failed);
    EXPECT_EQ(ReadBytes(Fs(kWallet)), old);
    EXPECT_EQ(FilesBeside(), 1u);
}

// Each state a cut restore can leave, this version's and an earlier one's (which copied the wallet to
// ".bak" and the backup straight over it): check names it and blocks restores, repair keeps the whole wallet.
TEST_F(WalletRestoreTest, CheckReportsWhatACutRestoreLeftAndRepairKeepsAWholeWallet) {
    const Bytes8 cut(backup.begin(), backup.end() - 5);
    struct Case {
        const char* what;
        std::map<std::string, const Bytes8*> files;
        const Bytes8* kept;  // null: nothing whole, all left alone
    };
    const Case cases[] = {
        {"copied over, cut", {{"", &cut}, {"_1", &old}, {".bak", &old}}, &old},
        {"copied over, aside gone", {{"", &cut}, {".bak", &old}}, &old},
        {"copy beside a wallet cut by a save", {{"", &cut}, {".restore", &backup}}, &cut},
        {"moved aside, copy cut", {{".restore", &cut}, {"_1", &old}}, &old},
        {"the latest aside", {{"_1", &backup}, {"_1_1", &old}}, &old},
        {"nothing whole", {{".restore", &cut}, {"_1", &cut}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.files);
        std::string report;
        RestoreSettlement expected = c.kept ? RestoreSettlement::Settled : RestoreSettlement::Refused;
        EXPECT_EQ(SettleRestore(kWalletPath, true, report), expected) << report;
        EXPECT_EQ(Restore(), RestoreResult::Unfinished);
        EXPECT_EQ(FilesBeside(), c.files.size()) << "the check or the refused restore changed a file";
        EXPECT_EQ(SettleRestore(kWalletPath, false, report), expected) << report;
        EXPECT_EQ(FilesBeside(), c.kept ? 1u : c.files.size());
        EXPECT_TRUE(!c.kept || ReadBytes(Fs(kWallet)) == *c.kept);
    }
    Put({{"", &old}, {".repair-20260101000000", &old}});  // a repair's copy is no restore's
    std::string report;
    EXPECT_EQ(SettleRestore(kWalletPath, true, report), RestoreSettlement::Nothing);
}

// Another program (a second file system on the phone folder) holds the wallet to save when the restore
// moves it aside, and saves after the turn's wait: the move is refused, the save lands in the wallet and
// stays.
TEST_F(WalletRestoreTest, ARestoreRefusedByAnotherProgramsSaveNeverUndoesIt) {
    Bytes8 saved = old;
    saved.push_back(0);
    FolderFileSystem elsewhere(dir / "fs");
    OpenedFile held;
    std::thread writer;
    faults->RunBefore(RapiOp::MoveFile, 1, [&] {
        ASSERT_EQ(elsewhere.Open(kWalletPath, GENERIC_WRITE, 0, OPEN_EXISTING, &held), ERROR_SUCCESS);
        writer = std::thread([&] {
            std::this_thread::sleep_for(kTurnWait + std::chrono::milliseconds(500));
            ASSERT_EQ(::pwrite(held.fd.Get(), saved.data(), saved.size(), 0), ssize_t(saved.size()));
            held = {};
        });
    });
    EXPECT_EQ(Restore(), RestoreResult::Failed);
    writer.join();
    EXPECT_EQ(ReadBytes(Fs(kWallet)), saved);
    EXPECT_EQ(FilesBeside(), 1u);
}

// A backup whose records were written under another password of the same length: it opens and the password
// fits, but no record decrypts. It is refused before the wallet is touched.
TEST_F(WalletRestoreTest, ABackupWhoseRecordsDoNotDecryptIsRefused) {
    Bytes8 spliced = Store("Backups/Section", u"backup", 0);
    Bytes8 records = Store("Backups/Records", u"backuq", 3);
    spliced.insert(spliced.end(), records.begin() + static_cast<ptrdiff_t>(spliced.size()), records.end());
    SealStoreFile(spliced.data(), spliced.size());
    WriteBytes(Fs("Backups/Backup.1"), spliced);
    EXPECT_EQ(Restore(), RestoreResult::Unreadable);
    EXPECT_EQ(ReadBytes(Fs(kWallet)), old);
    EXPECT_EQ(FilesBeside(), 1u);
}

}  // namespace
