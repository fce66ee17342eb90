#include "phone/PhoneSetup.h"

#include <gtest/gtest.h>

#include "PhoneTestSupport.h"
#include "TestSupport.h"
#include "device/PhoneOptionRecord.h"
#include "phone/PhoneReport.h"
#include "phone/PhoneSession.h"
#include "phone/StarterTemplates.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "store/CategoryRecord.h"
#include "store/PasswordBytes.h"

namespace fs = std::filesystem;

namespace {

class PhoneSetupTest : public ::testing::Test {
protected:
    int Init(std::string_view installPath = kDefaultInstallPath, bool withWallet = true) {
        return InitPhone(phone, installPath, withWallet ? &password : nullptr, error);
    }
    fs::path Installed(const std::string& name) const {
        return phone / "fs" / "Program Files" / "Tessera" / name;
    }
    nlohmann::ordered_json Status() {
        nlohmann::ordered_json status;
        EXPECT_EQ(AppStatus(phone, status, error), kDone) << error;
        return status;
    }
    // An InstallPath or Version value as the desktop reads it through the Ce* calls, or "-" when missing.
    std::u16string RegistryValue(const char16_t* name) {
        PhoneSession session(phone);
        HKEY key = nullptr;
        if (CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, u"\\Software\\Quillmark Tessera", 0, 0, &key) != 0)
            return u"-";
        char16_t value[260] = {};
        DWORD size = sizeof value;
        LONG result =
            CeRegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<uint8_t*>(value), &size);
        CeRegCloseKey(key);
        return result == 0 ? std::u16string(value) : u"-";
    }

    TempDir dir;
    fs::path phone = dir / "phone";
    SecureBytes password = PasswordBytes(u"s3cret");
    std::string error;
};

TEST_F(PhoneSetupTest, InitMakesTheStoresTheOptionsAndTheRegistry) {
    ASSERT_EQ(Init(), kDone) << error;
    StoreContent wallet = ReadStore(phone, kWalletPath, 0, u"s3cret");
    EXPECT_TRUE(wallet.unlocked);
    EXPECT_TRUE(wallet.records.empty());

    PhoneOptionRecord options = PhoneOptionRecord::Fresh(u"\\My Documents\\Tessera Backup");
    EXPECT_EQ(ReadBytes(Installed("Options.dat")),
              std::vector<uint8_t>(options.Bytes(), options.Bytes() + PhoneOptionRecord::kSize));
    EXPECT_TRUE(fs::is_directory(phone / "fs" / "My Documents" / "Tessera Backup"));
    EXPECT_EQ(RegistryValue(u"InstallPath"), u"\\Program Files\\Tessera");
    EXPECT_EQ(RegistryValue(u"Version"), u"1.0.1.519");
    EXPECT_EQ(Status().dump(), R"({"installed":true,"running":false,"version":"1.0.1.519"})");

    // The templates store holds named, empty templates and then the category record.
    StoreContent templates = ReadStore(phone, kTemplatesPath, 1, kTemplatesPassword);
    ASSERT_TRUE(templates.unlocked);
    size_t count = StarterTemplates().size();
    ASSERT_EQ(templates.records.size(), count + 1);
    EXPECT_EQ(templates.lastId, count);
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(templates.records[i].id, i + 1);
        std::vector<const ItemField*> fields = Fields(*templates.records[i].item);
        ASSERT_GE(fields.size(), 2u) << "template " << i;
        EXPECT_EQ(fields[0]->Name(), u"Name");
        EXPECT_FALSE(TextValue(*fields[0]).empty());
        for (size_t f = 1; f < fields.size(); ++f) EXPECT_EQ(fields[f]->length(), 0u) << "template " << i;
    }
    const StoredRecord& categoryRecord = templates.records.back();
    EXPECT_EQ(categoryRecord.id, 0xFFFFFFFFu);
    EXPECT_EQ(categoryRecord.item->icon | categoryRecord.item->categoryId | categoryRecord.item->draft, 0u);
    EXPECT_EQ(CategoryRecord::Read(*categoryRecord.item), StarterCategories());
    for (const ItemField* field : Fields(*categoryRecord.item)) EXPECT_EQ(field->length(), 0u);
}

TEST_F(PhoneSetupTest, NoWalletAndOtherInstallFoldersOrAnInstallOnABarePhone) {
    ASSERT_EQ(Init("\\Apps\\My Wallet", false), kDone) << error;
    fs::path folder = phone / "fs" / "Apps" / "My Wallet";
    EXPECT_TRUE(fs::exists(folder / "Templates.dat"));
    EXPECT_EQ(fs::file_size(folder / "Options.dat"), 608u);
    EXPECT_FALSE(fs::exists(folder / "Tessera.dat"));
    EXPECT_EQ(RegistryValue(u"InstallPath"), u"\\Apps\\My Wallet");

    phone = dir / "bare";  // installing on a bare phone makes the same
    fs::create_directories(phone / "fs");
    ASSERT_EQ(InstallApp(phone, "1.0.1.519", error), kDone) << error;
    EXPECT_TRUE(ReadStore(phone, kTemplatesPath, 1, kTemplatesPassword).unlocked);
    EXPECT_EQ(fs::file_size(Installed("Options.dat")), 608u);
    EXPECT_FALSE(fs::exists(Installed("Tessera.dat")));
    EXPECT_EQ(RegistryValue(u"InstallPath"), u"\\Program Files\\Tessera");
}

TEST_F(PhoneSetupTest, RefusesAFolderThatHoldsAPhoneAndLeavesItAsItWas) {
    ASSERT_EQ(Init(), kDone) << error;
    std::vector<uint8_t> wallet = ReadBytes(Installed("Tessera.dat"));
    std::string registry = ReadText(phone / "registry.json");
    EXPECT_EQ(Init("\\Other"), kFailed);
    EXPECT_NE(error.find("already holds a phone"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(Installed("Tessera.dat")), wallet);
    EXPECT_EQ(ReadText(phone / "registry.json"), registry);

    TempDir other;
    WriteBytes(other / "state.json", {'{', '}'});
    EXPECT_EQ(InitPhone(other.Path(), kDefaultInstallPath, &password, error), kFailed);
    EXPECT_FALSE(fs::exists(other / "fs"));
}

TEST_F(PhoneSetupTest, AFailedInitLeavesNothingBehind) {
    for (const std::string& path : std::vector<std::string>{
             "", "Program Files", "\\", "\\Apps\\", "\\A\\..\\B", "\\A:B", "\\" + std::string(250, 'x')}) {
        EXPECT_EQ(Init(path), kFailed) << path;
        EXPECT_FALSE(fs::exists(phone / "fs")) << path;
    }
    password.clear();  // the wallet, made last, cannot be made
    EXPECT_EQ(Init(), kFailed);
    EXPECT_NE(error.find("password"), std::string::npos) << error;
    for (const char* entry : {"fs", "registry.json", "state.json"})
        EXPECT_FALSE(fs::exists(phone / entry)) << entry;
}

TEST_F(PhoneSetupTest, ApplicationStartsClosesUpgradesAndUninstalls) {
    ASSERT_EQ(Init(), kDone) << error;
    std::vector<uint8_t> templates = ReadBytes(Installed("Templates.dat"));
    ASSERT_EQ(SetAppRunning(phone, true, error), kDone) << error;
    EXPECT_EQ(Status().dump(), R"({"installed":true,"running":true,"version":"1.0.1.519"})");

    ASSERT_EQ(InstallApp(phone, "2.0.0.7", error), kDone) << error;
    EXPECT_EQ(Status().dump(), R"({"installed":true,"running":false,"version":"2.0.0.7"})");
    EXPECT_EQ(ReadBytes(Installed("Templates.dat")), templates);

    ASSERT_EQ(UninstallApp(phone, error), kDone) << error;
    EXPECT_EQ(Status().dump(), R"({"installed":false,"running":false,"version":""})");
    EXPECT_EQ(RegistryValue(u"InstallPath"), u"-");
    EXPECT_TRUE(fs::exists(Installed("Tessera.dat")));
    EXPECT_EQ(SetAppRunning(phone, true, error), kFailed);
    EXPECT_EQ(error, "the wallet application is not installed");
    EXPECT_EQ(UninstallApp(phone, error), kFailed);
    ASSERT_EQ(SetAppRunning(phone, false, error), kDone) << error;

    ASSERT_EQ(InstallApp(phone, "1.0.1.519", error), kDone) << error;
    EXPECT_EQ(RegistryValue(u"InstallPath"), u"\\Program Files\\Tessera");
    EXPECT_EQ(ReadBytes(Installed("Templates.dat")), templates);
    EXPECT_TRUE(Status()["installed"]);
}

TEST_F(PhoneSetupTest, InspectListsTheInstallFolderAsThePhoneDoes) {
    ASSERT_EQ(Init(), kDone) << error;
    fs::create_directory(Installed("Backups"));
    nlohmann::ordered_json report;
    ASSERT_EQ(InspectPhone(phone, report, error), kDone) << error;
    EXPECT_EQ(report["app"], Status());
    EXPECT_EQ(report["installPath"], "\\Program Files\\Tessera");
    EXPECT_EQ(report["registry"]["HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera"]["Version"]["value"],
              "1.0.1.519");
    nlohmann::ordered_json expected = nlohmann::ordered_json::array();
    expected.push_back({{"name", "Backups"}, {"folder", true}});
    for (const char* name : {"Options.dat", "Templates.dat", "Tessera.dat"})
        expected.push_back({{"name", name}, {"size", fs::file_size(Installed(name))}});
    EXPECT_EQ(report["files"], expected);

    ASSERT_EQ(UninstallApp(phone, error), kDone);
    ASSERT_EQ(InspectPhone(phone, report, error), kDone) << error;
    EXPECT_TRUE(report["installPath"].is_null());
    EXPECT_TRUE(report["files"].empty());
}

TEST_F(PhoneSetupTest, CommandsRefuseAFolderThatIsNotAPhone) {
    nlohmann::ordered_json json;
    EXPECT_EQ(AppStatus(dir.Path(), json, error), kFailed);
    EXPECT_EQ(error, dir.Path().string() + " is not a phone");
    EXPECT_EQ(SetAppRunning(dir.Path(), true, error), kFailed);
    EXPECT_EQ(InstallApp(dir.Path(), "1.0", error), kFailed);
    EXPECT_EQ(InspectPhone(dir.Path(), json, error), kFailed);
    EXPECT_FALSE(fs::exists(dir / "state.json"));
}

}  // namespace
