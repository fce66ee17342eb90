// Finding the phone: the process-wide transport, the POCKETDECK_PHONE setting, and connections.
#include <stdlib.h>

#include "RapiContract.h"
#include "platform/rapi/FolderTransport.h"

namespace {

class RapiInitTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(phone / "fs");
        WriteBytes(phone / "fs" / "hello.txt", {'h', 'i'});
        const char* setting = getenv("POCKETDECK_PHONE");
        if (setting) saved = setting;
        RapiSetTransport(nullptr);
    }

    void TearDown() override {
        CeRapiUninit();
        RapiSetTransport(nullptr);
        if (saved) {
            setenv("POCKETDECK_PHONE", saved->c_str(), 1);
        } else {
            unsetenv("POCKETDECK_PHONE");
        }
    }

    TempDir phone;
    std::optional<std::string> saved;
};

TEST_F(RapiInitTest, FolderSettingServesThatPhone) {
    setenv("POCKETDECK_PHONE", ("folder:" + phone.Path().string()).c_str(), 1);
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_NE(RapiGetTransport(), nullptr);
    EXPECT_EQ(Contents(u"\\HELLO.TXT"), "hi");
}

TEST_F(RapiInitTest, SettingsWithoutAServedPhoneDoNotConnect) {
    for (const char* setting : {"folder:", "unix:", "elsewhere"}) {
        setenv("POCKETDECK_PHONE", setting, 1);
        EXPECT_EQ(CeRapiInit(), E_FAIL) << setting;
        EXPECT_EQ(RapiGetTransport(), nullptr) << setting;
    }
    // A socket that nobody serves: the transport is there, the phone is not.
    setenv("POCKETDECK_PHONE", ("unix:" + (phone / "phone.sock").string()).c_str(), 1);
    EXPECT_EQ(CeRapiInit(), E_FAIL);
    EXPECT_NE(RapiGetTransport(), nullptr);
    EXPECT_EQ(OpenError(u"\\hello.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_NOT_CONNECTED);
}

TEST_F(RapiInitTest, SetTransportWinsOverTheSetting) {
    setenv("POCKETDECK_PHONE", "unix:/tmp/phone.sock", 1);
    RapiSetTransport(RapiTransportFromSetting(("folder:" + phone.Path().string()).c_str()));
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
}

TEST_F(RapiInitTest, MissingPhoneFolderDoesNotConnect) {
    RapiSetTransport(std::make_shared<FolderTransport>(phone / "no phone"));
    RAPIINIT init{sizeof(RAPIINIT), 0, S_OK};
    EXPECT_EQ(CeRapiInitEx(&init), E_FAIL);
    EXPECT_EQ(init.hrRapiInit, E_FAIL);
    EXPECT_EQ(init.heRapiInit, 0u);
    EXPECT_EQ(CeWaitForRapiInit(init.heRapiInit, 1), WAIT_TIMEOUT);
}

TEST_F(RapiInitTest, ConnectionLastsForItsScope) {
    RapiSetTransport(FolderTransport::ForFsRoot(phone / "fs"));
    {
        RapiConnection connection;
        ASSERT_TRUE(connection.Ok());
        EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
        HKEY key;
        EXPECT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software", 0, KEY_READ, &key),
                  static_cast<LONG>(ERROR_FILE_NOT_FOUND));  // a plain folder has no registry
    }
    EXPECT_EQ(OpenError(u"\\hello.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_NOT_CONNECTED);
}

}  // namespace
