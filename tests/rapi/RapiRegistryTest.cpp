// Opening registry keys and reading their values.
#include "RapiContract.h"

namespace {

class RapiRegistryTest : public RapiContractTest {
protected:
    void TearDown() override {
        if (key) {
            EXPECT_EQ(CeRegCloseKey(key), static_cast<LONG>(ERROR_SUCCESS));
        }
        RapiContractTest::TearDown();
    }

    LONG OpenKey(const char16_t* subKey) {
        return CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key);
    }

    HKEY key = nullptr;
};
INSTANTIATE_TEST_SUITE_P(Transports, RapiRegistryTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

constexpr LONG kSuccess = ERROR_SUCCESS;

std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text)
        bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST_P(RapiRegistryTest, StringValueReadsAsUtf16WithItsTerminator) {
    ASSERT_EQ(OpenKey(u"Software\\Quillmark Tessera"), kSuccess);
    uint8_t data[200];
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", nullptr, &type, data, &size), kSuccess);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::vector<uint8_t>(data, data + size), Utf16Bytes(u"\\Program Files\\Tessera"));
}

TEST_P(RapiRegistryTest, SmallBufferGetsTheNeededSize) {
    ASSERT_EQ(OpenKey(u"Software\\Quillmark Tessera"), kSuccess);
    const DWORD needed = static_cast<DWORD>(Utf16Bytes(u"\\Program Files\\Tessera").size());
    uint8_t data[8] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", nullptr, nullptr, data, &size),
              static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, needed);
    EXPECT_EQ(data[0], 0);
    size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", nullptr, nullptr, nullptr, &size), kSuccess);
    EXPECT_EQ(size, needed);
}

TEST_P(RapiRegistryTest, NumberValueReadsAsLittleEndianDword) {
    ASSERT_EQ(OpenKey(u"\\SOFTWARE\\quillmark tessera"), kSuccess);
    uint8_t data[4];
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(CeRegQueryValueEx(key, u"version", nullptr, &type, data, &size), kSuccess);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 4), (std::vector<uint8_t>{0x01, 0x00, 0x04, 0x00}));
}

TEST_P(RapiRegistryTest, KeysOpenBelowOtherKeys) {
    ASSERT_EQ(OpenKey(u"Software"), kSuccess);
    HKEY inner = nullptr;
    ASSERT_EQ(CeRegOpenKeyEx(key, u"Quillmark Tessera", 0, KEY_READ, &inner), kSuccess);
    DWORD size = 0;
    EXPECT_EQ(CeRegQueryValueEx(inner, u"InstallPath", nullptr, nullptr, nullptr, &size), kSuccess);
    EXPECT_GT(size, 0u);
    EXPECT_EQ(CeRegCloseKey(inner), kSuccess);
    EXPECT_EQ(CeRegQueryValueEx(inner, u"InstallPath", nullptr, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_INVALID_HANDLE));
}

TEST_P(RapiRegistryTest, MissingKeysAndValuesAreNotFound) {
    key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(OpenKey(u"Software\\Somebody Else"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(OpenKey(u"Software\\Quillmark"),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));  // not a whole key name
    ASSERT_EQ(OpenKey(u"Software\\Quillmark Tessera"), kSuccess);
    DWORD size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, u"Nothing", nullptr, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_P(RapiRegistryTest, MalformedValueIsReportedNotGuessed) {
    ASSERT_EQ(OpenKey(u"Software\\Broken"), kSuccess);
    DWORD size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, u"Value", nullptr, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_BADDB));
}

TEST_P(RapiRegistryTest, ReservedArgumentMustBeNull) {
    ASSERT_EQ(OpenKey(u"Software\\Quillmark Tessera"), kSuccess);
    DWORD reserved = 0, size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", &reserved, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_INVALID_PARAMETER));
}

}  // namespace
