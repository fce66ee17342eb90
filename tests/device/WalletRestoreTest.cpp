// A restore over the wallet, cut or refused at any step, and what check and repair make of what it left:
// after them the wallet is the old one or the backup, whole, and nothing else lies beside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "DeviceFixture.h"
#include "device/WalletRestore.h"
#include "phone/NewStoreFile.h"
#include "platform/rapi/FolderFileSystem.h"
#include "platform/rapi/TurnTaking.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

using Bytes8 = std::vector<uint8_t>;

class WalletRestoreTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        std::filesystem::create_directories(Fs("Backups"));
        old = Store(kWallet, u"old", 1);
        backup = Store("Backups/Backup.1", u"backup", 3);
    }
    // A wallet store with that many cards, as bytes.
    Bytes8 Store(const std::string& file, const char16_t* password, uint32_t cards) {
        SecureBytes bytes = PasswordBytes(password);
        std::string error;
        EXPECT_TRUE(CreateStoreFile(Fs(file), StoreKind::Wallet, bytes.data(), bytes.size(), error)) << error;
        std::u16string path = u"\\" + std::u16string(file.begin(), file.end());
        std::replace(path.begin(), path.end(), u'/', u'\\');
        CTesseraEncryptedLinkList store(path, kWalletFileType);
        EXPECT_TRUE(store.Open() == 0 && store.CheckPassword(bytes.data(), bytes.size()));
        for (uint32_t id = 1; id <= cards; ++id) EXPECT_TRUE(store.AddRecord(CTesseraItem(), id));
        return ReadBytes(Fs(file));
    }
    RestoreResult Restore() {
        return RestoreBackup(u"\\Backups", u"Backup.1", kWalletPath, [](CTesseraEncryptedLinkList& store) {
            SecureBytes bytes = PasswordBytes(u"backup");
            return store.CheckPassword(bytes.data(), bytes.size()) ? BackupLogin::Accepted : BackupLogin::Refused;
        });
    }
    // The install folder holding exactly these files.
    void Put(const std::map<std::string, const Bytes8*>& files) {
        std::filesystem::remove_all(Fs(kFolder));
        std::filesystem::create_directories(Fs(kFolder));
        for (const auto& [name, bytes] : files) WriteBytes(Fs(kFolder) / name, *bytes);
    }
    size_t FilesBeside() const {
        return std::distance(std::filesystem::directory_iterator(Fs(kFolder)), {});
    }
    // A new connection, as a new run of a program: the cut one's open files are closed.
    void Reconnect() {
        connection.reset();
        connection = std::make_unique<RapiConnection>();
        ASSERT_TRUE(connection->Ok());
    }
    static constexpr char kFolder[] = "Program Files/Tessera";
    static constexpr char kWallet[] = "Program Files/Tessera/Tessera.dat";
    static constexpr char16_t kWalletPath[] = u"\\Program Files\\Tessera\\Tessera.dat";
    Bytes8 old, backup;
};

TEST_F(WalletRestoreTest, ARestoreCutAtAnyCallLeavesTheOldWalletOrTheBackupOnceRepaired) {
    faults->ResetCounters();
    ASSERT_EQ(Restore(), RestoreResult::Restored);
    const uint64_t calls = faults->TotalCalls();
    int finishedByRepair = 0;
    for (uint64_t cut = 1; cut <= calls; ++cut) {
        Put({{"Tessera.dat", &old}});
        faults->CutAt(cut);
        RestoreResult result = Restore();
        faults->Disarm();
        Reconnect();
        std::string report;
        RestoreSettlement found = SettleRestore(kWalletPath, true, report);
        EXPECT_NE(found, RestoreSettlement::Refused) << "cut at call " << cut << ": " << report;
        EXPECT_EQ(SettleRestore(kWalletPath, false, report), found) << "cut at call " << cut;
        Bytes8 now = ReadBytes(Fs(kWallet));
        EXPECT_TRUE(now == backup || (now == old && result != RestoreResult::Restored)) << "cut at call " << cut;
        EXPECT_EQ(FilesBeside(), 1u) << "cut at call " << cut;
        finishedByRepair += result != RestoreResult::Restored && now == backup;
    }
    EXPECT_GE(finishedByRepair, 1) << "a cut between the two moves leaves the checked copy to move in";
    Put({{"Tessera.dat", &old}});
    faults->FailCall(RapiOp::MoveFile, 2, ERROR_ACCESS_DENIED);  // the copy cannot move in: the wallet moves back
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
        {"copied over, cut", {{"Tessera.dat", &cut}, {"Tessera.dat_1", &old}, {"Tessera.dat.bak", &old}}, &old},
        {"copied over, aside gone", {{"Tessera.dat", &cut}, {"Tessera.dat.bak", &old}}, &old},
        {"only the safety copy", {{"Tessera.dat", &old}, {"Tessera.dat.bak", &old}}, &old},
        {"copy beside a wallet cut by a save", {{"Tessera.dat", &cut}, {"Tessera.dat.restore", &backup}}, &cut},
        {"moved aside, copy whole", {{"Tessera.dat.restore", &backup}, {"Tessera.dat_1", &old}}, &backup},
        {"moved aside, copy cut", {{"Tessera.dat.restore", &cut}, {"Tessera.dat_1", &old}}, &old},
        {"the latest aside", {{"Tessera.dat_1", &backup}, {"Tessera.dat_1_1", &old}}, &old},
        {"moved in, aside stays", {{"Tessera.dat", &backup}, {"Tessera.dat_1", &old}}, &backup},
        {"nothing whole", {{"Tessera.dat.restore", &cut}, {"Tessera.dat_1", &cut}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.files);
        std::string report;
        RestoreSettlement expected = c.kept ? RestoreSettlement::Settled : RestoreSettlement::Refused;
        EXPECT_EQ(SettleRestore(kWalletPath, true, report), expected);
        EXPECT_NE(report.find("an unfinished restore left"), std::string::npos) << report;
        EXPECT_EQ(Restore(), RestoreResult::Unfinished);
        EXPECT_EQ(FilesBeside(), c.files.size());
        EXPECT_EQ(SettleRestore(kWalletPath, false, report), expected) << report;
        EXPECT_EQ(FilesBeside(), c.kept ? 1u : c.files.size());
        if (c.kept) {
            EXPECT_EQ(ReadBytes(Fs(kWallet)), *c.kept);
        }
    }
    Put({{"Tessera.dat", &old}, {"Tessera.dat.repair-20260101000000", &old}});
    std::string report;
    EXPECT_EQ(SettleRestore(kWalletPath, true, report), RestoreSettlement::Nothing);
}

// Another program (a second file system on the phone folder) holds the wallet to save when the restore
// moves it aside, and saves a little or long after: the move waits its turn, so the save lands in the
// wallet, which the restore then replaces, or, when the turn does not come, keeps.
TEST_F(WalletRestoreTest, ARestoreWaitsForAnotherProgramsSaveAndNeverUndoesIt) {
    Bytes8 saved = old;
    saved.push_back(0);
    for (auto hold : {std::chrono::milliseconds(50), kTurnWait + std::chrono::milliseconds(500)}) {
        Put({{"Tessera.dat", &old}});
        FolderFileSystem elsewhere(dir / "fs");
        OpenedFile held;
        bool landed = false;
        std::thread writer;
        faults->RunBefore(RapiOp::MoveFile, 1, [&] {
            ASSERT_EQ(elsewhere.Open(u"\\Program Files\\Tessera\\Tessera.dat", GENERIC_WRITE, 0, OPEN_EXISTING,
                                     &held),
                      ERROR_SUCCESS);
            writer = std::thread([&, hold] {
                std::this_thread::sleep_for(hold);
                ASSERT_EQ(::pwrite(held.fd.Get(), saved.data(), saved.size(), 0), ssize_t(saved.size()));
                landed = ReadBytes(Fs(kWallet)) == saved;
                held = {};
            });
        });
        RestoreResult result = Restore();
        writer.join();
        EXPECT_TRUE(landed) << "the save went to a file moved aside";
        EXPECT_EQ(result, hold < kTurnWait ? RestoreResult::Restored : RestoreResult::Failed);
        EXPECT_EQ(ReadBytes(Fs(kWallet)), result == RestoreResult::Restored ? backup : saved);
        EXPECT_EQ(FilesBeside(), 1u);
    }
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
