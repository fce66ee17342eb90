// The plug-in's backup rules without windows: when a backup is made, and what the user is told.
#include "device/BackupRules.h"

#include "DeviceFixture.h"

namespace {

class BackupRulesTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        ASSERT_EQ(PhoneOptionRecord::Fresh(u"\\Backups").Write(u"\\Program Files\\Tessera\\Options.dat"), 1);
        ASSERT_TRUE(location.Locate());
    }

    WalletLocation location;
    PhoneOptionRecord options;
    bool open = true;
    std::vector<std::pair<BackupNotice, std::u16string>> told;
    BackupRules rules{
        {location, options, [this] { return open; }, [] { return 3u; }},
        [this](BackupNotice notice, const std::u16string& name) { told.emplace_back(notice, name); }};
};

TEST_F(BackupRulesTest, ABackupIsMadeOnlyOfAnOpenWalletAndListedBeforeTheUserIsTold) {
    open = false;
    EXPECT_EQ(rules.Make(), u"");
    EXPECT_TRUE(told.empty());
    open = true;
    EXPECT_EQ(rules.Make(), u"");  // no wallet file to copy
    EXPECT_EQ(told, (decltype(told){{BackupNotice::MakeFailed, u""}}));
    EXPECT_FALSE(rules.ListRead());

    WriteBytes(Fs("Program Files/Tessera/Tessera.dat"), {1, 2, 3});
    size_t toldWhenListed = 99;
    std::u16string made = rules.Make([&](const std::u16string&) { toldWhenListed = told.size(); });
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(toldWhenListed, 1u);
    EXPECT_EQ(told.back(), std::make_pair(BackupNotice::Made, made));
    EXPECT_TRUE(rules.ListRead());
    ASSERT_EQ(rules.List().entries.size(), 1u);
    EXPECT_EQ(rules.List().entries[0].count, 3u);
    EXPECT_EQ(ReadBytes(Fs("Backups/" + std::string(made.begin(), made.end()))),
              (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(BackupRulesTest, ARestoreThatFailsSaysWhyAndLeavesTheWallet) {
    WriteBytes(Fs("Program Files/Tessera/Tessera.dat"), {1, 2, 3});
    std::filesystem::create_directories(Fs("Backups"));
    WriteBytes(Fs("Backups/Backup(Manual).1"), {4, 5, 6});  // no wallet store
    auto never = [](CTesseraEncryptedLinkList&) {
        ADD_FAILURE() << "no password is asked of a backup that cannot be restored";
        return BackupLogin::Accepted;
    };
    EXPECT_FALSE(rules.Restore(u"Backup(Manual).1", never));
    EXPECT_FALSE(rules.Restore(u"Backup(Manual).2", never));
    using enum BackupNotice;
    EXPECT_EQ(told, (decltype(told){{Unreadable, u"Backup(Manual).1"},
                                    {RestoreFailed, u"Backup(Manual).1"},
                                    {RestoreFailed, u"Backup(Manual).2"}}));
    EXPECT_EQ(ReadBytes(Fs("Program Files/Tessera/Tessera.dat")), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
