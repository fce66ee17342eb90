// Opening registry keys and reading their values.
#include "RapiContract.h"

namespace {

class RapiRegistryTest : public RapiContractTest {
protected:
    void TearDown() override {
        if (key) {
            EXPECT_EQ(CeRegCloseKey(key), 0);
        }
        RapiContractTest::TearDown();
    }

    DWORD OpenKey(const char16_t* subKey, HKEY parent = HKEY_LOCAL_MACHINE) {
        return static_cast<DWORD>(CeRegOpenKeyEx(parent, subKey, 0, KEY_READ, &key));
    }
    DWORD QuerySize(const char16_t* value, DWORD* reserved = nullptr) {
        DWORD size = 0;
        return static_cast<DWORD>(CeRegQueryValueEx(key, value, reserved, nullptr, nullptr, &size));
    }

    static constexpr DWORD kSuccess = ERROR_SUCCESS;
    HKEY key = nullptr;
};
INSTANTIATE_TEST_SUITE_P(Transports, RapiRegistryTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiRegistryTest, ValuesReadAsTheirTypeAndASmallBufferGetsTheNeededSize) {
    ASSERT_EQ(OpenKey(u"\\SOFTWARE\\quillmark tessera"), kSuccess);
    std::vector<uint8_t> path;
    for (char16_t c : std::u16string_view(u"\\Program Files\\Tessera"))
        path.insert(path.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    path.insert(path.end(), {0, 0});
    uint8_t data[200] = {};
    DWORD type = 0, size = 8;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", nullptr, nullptr, data, &size), LONG{ERROR_MORE_DATA});
    EXPECT_EQ(size, path.size());
    EXPECT_EQ(data[0], 0);
    size = sizeof data;
    EXPECT_EQ(CeRegQueryValueEx(key, u"InstallPath", nullptr, &type, data, &size), 0);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::vector<uint8_t>(data, data + size), path);
    size = sizeof data;
    EXPECT_EQ(CeRegQueryValueEx(key, u"version", nullptr, &type, data, &size), 0);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(std::vector<uint8_t>(data, data + size), (std::vector<uint8_t>{0x01, 0x00, 0x04, 0x00}));
}

TEST_P(RapiRegistryTest, KeysOpenBelowOtherKeysUntilClosed) {
    ASSERT_EQ(OpenKey(u"Software"), kSuccess);
    HKEY outer = key;
    ASSERT_EQ(OpenKey(u"Quillmark Tessera", outer), kSuccess);
    EXPECT_EQ(QuerySize(u"InstallPath"), kSuccess);
    EXPECT_EQ(CeRegCloseKey(key), 0);
    EXPECT_EQ(QuerySize(u"InstallPath"), ERROR_INVALID_HANDLE);
    key = outer;
}

TEST_P(RapiRegistryTest, MissingMalformedAndReservedAreRefused) {
    key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(OpenKey(u"Software\\Somebody Else"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(OpenKey(u"Software\\Quillmark"), ERROR_FILE_NOT_FOUND);  // not a whole key name
    ASSERT_EQ(OpenKey(u"Software\\Quillmark Tessera"), kSuccess);
    EXPECT_EQ(QuerySize(u"Nothing"), ERROR_FILE_NOT_FOUND);
    DWORD reserved = 0;
    EXPECT_EQ(QuerySize(u"InstallPath", &reserved), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CeRegCloseKey(key), 0);
    ASSERT_EQ(OpenKey(u"Software\\Broken"), kSuccess);
    EXPECT_EQ(QuerySize(u"Value"), ERROR_BADDB);  // reported, not guessed
}

}  // namespace
