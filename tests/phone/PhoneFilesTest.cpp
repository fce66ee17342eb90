// The files that make a phone: new store files, the options record and the registry file.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "phone/NewStoreFile.h"
#include "phone/OptionRecord.h"
#include "phone/RegistryFile.h"
#include "platform/ByteOrder.h"
#include "platform/SystemTime.h"
#include "store/PasswordBytes.h"

namespace {

// The store's tests open these files and pin what the open checks; here is what it skips.
TEST(NewStoreFileTest, WritesZeroPaddingTheTimeAndAPasswordSectionOfItsOwn) {
    TempDir dir;
    SecureBytes password = PasswordBytes(u"hunter2");
    std::string error;
    ASSERT_TRUE(
        CreateStoreFile(dir / "T.dat", StoreKind::Templates, password.data(), password.size(), error));
    std::vector<uint8_t> b = ReadBytes(dir / "T.dat");
    ASSERT_EQ(b.size(), 72u + 4 + 64 + 32);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 17, b.begin() + 32), std::vector<uint8_t>(15, 0));
    EXPECT_EQ(GetU32(b.data() + 40) | GetU32(b.data() + 44) | GetU32(b.data() + 48), 0u);
    SYSTEMTIME written = LoadTime(b.data() + 52);
    EXPECT_EQ(written.wYear, GetSystemTimeUtc().wYear);
    EXPECT_EQ(written.wDayOfWeek, DayOfWeek(written.wYear, written.wMonth, written.wDay));

    // A second file under the same password has a password section of its own.
    ASSERT_TRUE(
        CreateStoreFile(dir / "U.dat", StoreKind::Templates, password.data(), password.size(), error));
    std::vector<uint8_t> other = ReadBytes(dir / "U.dat");
    EXPECT_NE(std::vector<uint8_t>(other.begin() + 76, other.end()),
              std::vector<uint8_t>(b.begin() + 76, b.end()));
}

TEST(NewStoreFileTest, RefusesToReplaceAFileOrToUseNoPassword) {
    TempDir dir;
    WriteBytes(dir / "Tessera.dat", {1, 2, 3});
    SecureBytes password = PasswordBytes(u"x");
    std::string error;
    EXPECT_FALSE(
        CreateStoreFile(dir / "Tessera.dat", StoreKind::Wallet, password.data(), password.size(), error));
    EXPECT_EQ(ReadBytes(dir / "Tessera.dat"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CreateStoreFile(dir / "New.dat", StoreKind::Wallet, password.data(), 0, error));
    EXPECT_FALSE(std::filesystem::exists(dir / "New.dat"));
}

std::u16string FolderOf(const OptionRecord& record) {
    std::u16string folder;
    for (size_t i = 0; i < 260; ++i) {
        char16_t unit = GetU16(record.data() + 40 + 2 * i);
        if (!unit) break;
        folder += unit;
    }
    return folder;
}

TEST(OptionRecordTest, FreshRecordHoldsTheBackupFolderAndNoLockout) {
    const std::u16string folder = u"\\My Documents\\Tessera Backup";
    OptionRecord record = NewOptionRecord(folder);
    ASSERT_EQ(record.size(), 608u);
    EXPECT_EQ(GetU32(record.data() + 20), 0u);  // remaining lockout
    EXPECT_EQ(GetU32(record.data() + 36), 0u);  // lockout duration index: 5 minutes
    EXPECT_EQ(FolderOf(record), folder);
    // Everything after the folder's terminator up to the end of its slot is zero.
    for (size_t i = 40 + 2 * folder.size(); i < 560; ++i) ASSERT_EQ(record[i], 0) << "byte " << i;
}

TEST(OptionRecordTest, LongBackupFolderIsCutAndStaysTerminatedInsideItsSlot) {
    OptionRecord record = NewOptionRecord(std::u16string(300, u'x'));
    EXPECT_EQ(FolderOf(record), std::u16string(259, u'x'));
    EXPECT_EQ(GetU16(record.data() + 40 + 2 * 259), 0);
    for (size_t i = 560; i < 564; ++i) EXPECT_EQ(record[i], 0) << "byte " << i;
}

constexpr const char* kKey = "HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera";

TEST(RegistryFileTest, ChangesAndRemovalsFindAKeyAndAValueWhateverTheirSpelling) {
    TempDir dir;
    WriteBytes(dir / "registry.json", [] {
        std::string text = R"({"HKEY_LOCAL_MACHINE\\SOFTWARE\\quillmark tessera":
            {"installpath": {"type": "sz", "value": "\\Old"}, "Count": {"type": "dword", "value": 3}},
            "HKEY_LOCAL_MACHINE\\Software\\Other": {}})";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    RegistryFile registry(dir / "registry.json");
    std::string error;
    ASSERT_TRUE(registry.Load(error)) << error;
    EXPECT_EQ(registry.GetString(kKey, "InstallPath"), "\\Old");
    EXPECT_EQ(registry.GetString(kKey, "Count"), std::nullopt);  // not a string
    registry.SetString(kKey, "InstallPath", "\\New");
    ASSERT_TRUE(registry.Save(error)) << error;

    nlohmann::json saved = nlohmann::json::parse(ReadText(dir / "registry.json"));
    ASSERT_EQ(saved.size(), 2u);
    const nlohmann::json& values = saved["HKEY_LOCAL_MACHINE\\SOFTWARE\\quillmark tessera"];
    EXPECT_EQ(values.size(), 2u);
    EXPECT_EQ(values["installpath"]["value"], "\\New");
    EXPECT_EQ(values["Count"]["value"], 3);

    registry.RemoveKey("hkey_local_machine\\software\\QUILLMARK TESSERA");
    EXPECT_EQ(registry.GetString(kKey, "InstallPath"), std::nullopt);
    EXPECT_EQ(registry.Values().size(), 1u);  // the other key stays
}

TEST(RegistryFileTest, MissingFileIsEmptyAndAMalformedOneIsRefused) {
    TempDir dir;
    RegistryFile missing(dir / "none.json");
    std::string error;
    ASSERT_TRUE(missing.Load(error));
    EXPECT_TRUE(missing.Values().empty());
    WriteBytes(dir / "bad.json", {'[', '1', ']'});
    RegistryFile bad(dir / "bad.json");
    EXPECT_FALSE(bad.Load(error));
    EXPECT_NE(error.find("malformed"), std::string::npos) << error;
}

}  // namespace
