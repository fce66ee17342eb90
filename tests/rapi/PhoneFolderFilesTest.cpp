// The small files beside a phone folder's file system: the registry and the application's state, as the
// phone's tools change them and the desktop reads them.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/phone/PhoneState.h"

namespace {

constexpr const char* kKey = "HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera";

void WriteText(const std::filesystem::path& file, const std::string& text) {
    WriteBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(PhoneRegistryTest, ChangesAndRemovalsFindAKeyAndAValueWhateverTheirSpelling) {
    TempDir dir;
    WriteText(dir / "registry.json", R"({"HKEY_LOCAL_MACHINE\\SOFTWARE\\quillmark tessera":
            {"installpath": {"type": "sz", "value": "\\Old"}, "Count": {"type": "dword", "value": 3}},
            "HKEY_LOCAL_MACHINE\\Software\\Other": {}})");
    PhoneRegistry registry(dir / "registry.json");
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

TEST(PhoneRegistryTest, SavedFileReadsBackAndASampleIsWrittenByteForByte) {
    TempDir dir;
    const std::string sample =
        "{\n  \"HKEY_LOCAL_MACHINE\\\\Software\\\\Quillmark Tessera\": {\n"
        "    \"InstallPath\": {\n      \"type\": \"sz\",\n      \"value\": \"\\\\Program Files\\\\Tessera\"\n"
        "    },\n    \"Version\": {\n      \"type\": \"sz\",\n      \"value\": \"1.0.1.519\"\n    }\n  "
        "}\n}\n";
    WriteText(dir / "registry.json", sample);
    PhoneRegistry registry(dir / "registry.json");
    std::string error;
    ASSERT_TRUE(registry.Load(error)) << error;
    ASSERT_TRUE(registry.Save(error)) << error;
    EXPECT_EQ(ReadText(dir / "registry.json"), sample);

    PhoneRegistry reread(dir / "registry.json");
    ASSERT_TRUE(reread.Load(error)) << error;
    EXPECT_EQ(reread.Values(), registry.Values());
}

TEST(PhoneRegistryTest, MissingFileIsEmptyAndAMalformedOrOversizedOneIsRefused) {
    TempDir dir;
    PhoneRegistry missing(dir / "none.json");
    std::string error;
    ASSERT_TRUE(missing.Load(error));
    EXPECT_TRUE(missing.Values().empty());
    EXPECT_EQ(missing.OpenKey(u"HKEY_LOCAL_MACHINE"), ERROR_FILE_NOT_FOUND);

    WriteText(dir / "bad.json", "[1]");
    PhoneRegistry bad(dir / "bad.json");
    EXPECT_FALSE(bad.Load(error));
    EXPECT_NE(error.find("malformed"), std::string::npos) << error;
    EXPECT_EQ(bad.OpenKey(u"HKEY_LOCAL_MACHINE"), ERROR_BADDB);

    // Well-formed, but larger than a registry file may be.
    WriteText(dir / "big.json", R"({"HKEY_LOCAL_MACHINE": {}, "x": ")" + std::string(1 << 20, 'x') + "\"}");
    PhoneRegistry big(dir / "big.json");
    EXPECT_FALSE(big.Load(error));
    EXPECT_NE(error.find("not a registry file"), std::string::npos) << error;
    EXPECT_EQ(big.OpenKey(u"HKEY_LOCAL_MACHINE"), ERROR_BADDB);
}

TEST(PhoneStateTest, EveryStateReadsBackAndASampleIsWrittenByteForByte) {
    TempDir dir;
    PhoneState file = PhoneState::InFolder(dir.Path());
    std::string error;
    for (PhoneAppState state :
         {PhoneAppState{false, false}, PhoneAppState{true, false}, PhoneAppState{true, true}}) {
        ASSERT_TRUE(file.Save(state, error)) << error;
        PhoneAppState read{!state.installed, !state.running};
        ASSERT_TRUE(file.Load(read, error)) << error;
        EXPECT_EQ(read, state);
    }
    const std::string sample = "{\n  \"installed\": true,\n  \"running\": false\n}\n";
    WriteText(dir / "state.json", sample);
    PhoneAppState state;
    ASSERT_TRUE(file.Load(state, error));
    ASSERT_TRUE(file.Save(state, error));
    EXPECT_EQ(ReadText(dir / "state.json"), sample);
}

TEST(PhoneStateTest, MissingFileIsNeitherAndAnOversizedOneIsRefused) {
    TempDir dir;
    PhoneState file = PhoneState::InFolder(dir.Path());
    PhoneAppState state{true, true};
    std::string error;
    ASSERT_TRUE(file.Load(state, error));
    EXPECT_EQ(state, PhoneAppState{});
    // Well-formed, but larger than a state file may be (the flags' own checks: RapiPhoneAppTest).
    WriteText(dir / "state.json", R"({"installed": true, "pad": ")" + std::string(64 * 1024, ' ') + "\"}");
    EXPECT_FALSE(file.Load(state, error));
    EXPECT_EQ(state, PhoneAppState{});
}

}  // namespace
