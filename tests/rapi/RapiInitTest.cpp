// Finding the phone: the process-wide transport, the POCKETDECK_PHONE setting, the default socket, and
// connections.
#include <stdlib.h>
#include <unistd.h>

#include "RapiContract.h"
#include "RunningAgent.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/wire/PhoneSocketPath.h"

namespace {

class RapiInitTest : public SessionTest<> {
protected:
    void SetUp() override {
        std::filesystem::create_directory(phone / "fs");
        WriteBytes(phone / "fs" / "hello.txt", {'h', 'i'});
        RapiSetTransport(nullptr);
    }

    ScopedEnv runtime{"XDG_RUNTIME_DIR"};
    ScopedEnv setting{"POCKETDECK_PHONE"};
    TempDir phone;
};

TEST_F(RapiInitTest, FolderSettingServesThatPhoneUnlessATransportIsSet) {
    setenv("POCKETDECK_PHONE", ("folder:" + phone.Path().string()).c_str(), 1);
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\HELLO.TXT"), "hi");
    CeRapiUninit();
    setenv("POCKETDECK_PHONE", "unix:/tmp/phone.sock", 1);
    RapiSetTransport(RapiTransportFromSetting(("folder:" + phone.Path().string()).c_str()));
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
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
    // Nor does a folder without a phone.
    RapiSetTransport(std::make_shared<FolderTransport>(phone / "no phone"));
    RAPIINIT init{sizeof(RAPIINIT), 0, S_OK};
    EXPECT_EQ(CeRapiInitEx(&init), E_FAIL);
    EXPECT_EQ(init.hrRapiInit, E_FAIL);
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

TEST_F(RapiInitTest, DefaultSocketLivesInTheRuntimeFolderOrElseInTmp) {
    const std::string fallback = "/tmp/pocketdeck-" + std::to_string(geteuid()) + "/phone.sock";
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(DefaultPhoneSocketPath(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DefaultPhoneSocketPath(), fallback);
    TempDir runtimeDir;
    setenv("XDG_RUNTIME_DIR", runtimeDir.Path().c_str(), 1);
    EXPECT_EQ(DefaultPhoneSocketPath(), runtimeDir / "pocketdeck" / "phone.sock");
    // Without a setting the default socket is reached, with a unix setting its own.
    unsetenv("POCKETDECK_PHONE");
    PhoneAgent agent(phone.Path(), DefaultPhoneSocketPath());
    std::string error;
    ASSERT_TRUE(agent.Start(error)) << error;
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
    CeRapiUninit();
    agent.Stop();
    RapiSetTransport(nullptr);
    RunningAgent other(phone.Path());
    setenv("POCKETDECK_PHONE", ("unix:" + other.Socket().string()).c_str(), 1);
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
}

}  // namespace
