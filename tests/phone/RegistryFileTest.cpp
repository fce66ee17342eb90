#include "phone/RegistryFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"

namespace {

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
