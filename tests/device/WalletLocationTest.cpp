#include "device/WalletLocation.h"

#include "DeviceFixture.h"
#include "device/DeviceFiles.h"
#include "platform/ByteOrder.h"

namespace {

class WalletLocationTest : public ConnectedDeviceFixture {
protected:
    std::vector<uint8_t> OptionBytes(std::u16string_view backupFolder) {
        PhoneOptionRecord record;
        record.SetBackupFolder(backupFolder);
        return std::vector<uint8_t>(record.Bytes(), record.Bytes() + PhoneOptionRecord::kSize);
    }
};

TEST_F(WalletLocationTest, LocateBuildsThePathsFromTheRegistryAsItStands) {
    WalletLocation location;
    ASSERT_TRUE(location.Locate());
    EXPECT_EQ(location.WalletPath(), u"\\Program Files\\Tessera\\Tessera.dat");
    EXPECT_EQ(location.TemplatesPath(), u"\\Program Files\\Tessera\\Templates.dat");
    EXPECT_EQ(location.OptionsPath(), u"\\Program Files\\Tessera\\Options.dat");

    SetInstallPath("\\Storage Card\\");  // used exactly as held
    ASSERT_TRUE(location.Locate());
    EXPECT_EQ(location.WalletPath(), u"\\Storage Card\\\\Tessera.dat");
}

TEST_F(WalletLocationTest, LocateFailsQuietlyWithoutAKeyOrRoomForThePaths) {
    WalletLocation location;
    ASSERT_TRUE(location.Locate());
    std::ofstream(dir / "registry.json") << "{}";
    EXPECT_FALSE(location.Locate());
    EXPECT_FALSE(location.InstallDirKnown());
    SetInstallPath("\\" + std::string(250, 'd'));
    EXPECT_FALSE(location.Locate());
    SetInstallPath("");
    EXPECT_FALSE(location.Locate());
}

TEST_F(WalletLocationTest, SanitisingKeepsEveryFieldInRangeAndOtherBytesAsRead) {
    std::vector<uint8_t> bytes(PhoneOptionRecord::kSize);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    struct Field {
        uint32_t offset;
        int32_t stored, expected;
    };
    const Field fields[] = {{20, -5, 0}, {24, 2, 0},  {28, -1, 1}, {32, 7, 4},  {36, 7, 0},
                            {564, 3, 0}, {568, 5, 1}, {572, 4, 1}, {584, -9, 1}};
    for (const Field& f : fields) PutU32(bytes.data() + f.offset, static_cast<uint32_t>(f.stored));
    WriteBytes(Fs("Program Files/Tessera/Options.dat"), bytes);

    PhoneOptionRecord record;
    ASSERT_EQ(record.Read(u"\\Program Files\\Tessera\\Options.dat"), 1);
    std::vector<uint8_t> expected = bytes;
    for (const Field& f : fields) PutU32(expected.data() + f.offset, static_cast<uint32_t>(f.expected));
    EXPECT_EQ(std::vector<uint8_t>(record.Bytes(), record.Bytes() + PhoneOptionRecord::kSize), expected);
    EXPECT_EQ(record.LockoutDurationIndex(), 0);

    ASSERT_EQ(record.Write(u"\\Program Files\\Tessera\\Options.dat"), 1);
    EXPECT_EQ(ReadBytes(Fs("Program Files/Tessera/Options.dat")), expected);
}

// A fresh record as the phone's setup writes it, with a backup folder that fits and one cut to fit.
TEST_F(WalletLocationTest, AFreshRecordHoldsItsFolderAndNoLockoutAndReadsBackWhole) {
    for (size_t length : {28u, 300u}) {
        PhoneOptionRecord fresh = PhoneOptionRecord::Fresh(std::u16string(length, u'x'));
        std::vector<uint8_t> bytes(fresh.Bytes(), fresh.Bytes() + PhoneOptionRecord::kSize);
        size_t kept = std::min<size_t>(length, 259);
        EXPECT_EQ(fresh.BackupFolder(), std::u16string(kept, u'x'));
        EXPECT_EQ(GetU32(bytes.data() + 20) | GetU32(bytes.data() + 36), 0u);  // no lockout; 5 minutes
        for (size_t i = 40 + 2 * kept; i < 564; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;

        ASSERT_EQ(fresh.Write(u"\\Program Files\\Tessera\\Options.dat"), 1);
        PhoneOptionRecord read;
        ASSERT_EQ(read.Read(u"\\Program Files\\Tessera\\Options.dat"), 1);
        EXPECT_EQ(std::vector<uint8_t>(read.Bytes(), read.Bytes() + PhoneOptionRecord::kSize), bytes);
    }
}

TEST_F(WalletLocationTest, AShortOptionFileLeavesTheRecordAsItWas) {
    PhoneOptionRecord record;
    record.SetLockoutRemainingMs(60000);
    WriteBytes(Fs("Program Files/Tessera/Options.dat"), std::vector<uint8_t>(607, 0));
    EXPECT_EQ(record.Read(u"\\Program Files\\Tessera\\Options.dat"), 0);
    EXPECT_EQ(record.LockoutRemainingMs(), 60000);
}

TEST_F(WalletLocationTest, TheBackupFolderComesFromTheOptionsUntilAKnownOneExists) {
    WriteBytes(Fs("Program Files/Tessera/Options.dat"), OptionBytes(u"\\My Documents\\Tessera Backup"));
    WalletLocation location;
    PhoneOptionRecord options;
    EXPECT_EQ(location.BackupFolder(options), u"");  // the install folder is not known yet
    ASSERT_TRUE(location.Locate());
    EXPECT_EQ(location.BackupFolder(options), u"\\My Documents\\Tessera Backup");

    std::filesystem::create_directories(Fs("My Documents/Tessera Backup"));
    WriteBytes(Fs("Program Files/Tessera/Options.dat"), OptionBytes(u"\\Elsewhere"));
    EXPECT_EQ(location.BackupFolder(options), u"\\My Documents\\Tessera Backup");  // it exists: kept

    std::filesystem::remove_all(Fs("My Documents"));
    EXPECT_EQ(location.BackupFolder(options), u"\\Elsewhere");
    std::filesystem::remove(Fs("Program Files/Tessera/Options.dat"));
    EXPECT_EQ(location.BackupFolder(options), u"");  // neither the known folder nor the option file
}

}  // namespace
