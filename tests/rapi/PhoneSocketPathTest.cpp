// Where the phone is when nothing else says: the default socket, and the settings that override it.
#include <stdlib.h>
#include <unistd.h>

#include "RapiContract.h"
#include "RunningAgent.h"
#include "platform/rapi/PhoneSocketPath.h"

namespace {

// Keeps an environment variable as it was.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name(name) {
        if (const char* value = getenv(name)) saved = value;
    }
    ~SavedVariable() {
        if (saved) {
            setenv(name, saved->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

private:
    const char* name;
    std::optional<std::string> saved;
};

class PhoneSocketPathTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(phone / "fs"); }
    void TearDown() override {
        CeRapiUninit();
        RapiSetTransport(nullptr);
    }

    SavedVariable runtime{"XDG_RUNTIME_DIR"};
    SavedVariable setting{"POCKETDECK_PHONE"};
    TempDir phone;
};

TEST_F(PhoneSocketPathTest, LivesInTheRuntimeFolderOrElseInTmp) {
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(DefaultPhoneSocketPath(), "/run/user/4242/pocketdeck/phone.sock");
    const std::string fallback = "/tmp/pocketdeck-" + std::to_string(geteuid()) + "/phone.sock";
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(DefaultPhoneSocketPath(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DefaultPhoneSocketPath(), fallback);
}

TEST_F(PhoneSocketPathTest, NoSettingReachesTheAgentOnTheDefaultSocket) {
    TempDir runtimeDir;
    setenv("XDG_RUNTIME_DIR", runtimeDir.Path().c_str(), 1);
    unsetenv("POCKETDECK_PHONE");
    PhoneAgent agent(phone.Path(), DefaultPhoneSocketPath());
    std::string error;
    ASSERT_TRUE(agent.Start(error)) << error;
    WriteBytes(phone / "fs" / "hello.txt", {'h', 'i'});
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
}

TEST_F(PhoneSocketPathTest, UnixSettingReachesThatSocket) {
    RunningAgent agent(phone.Path());
    WriteBytes(phone / "fs" / "hello.txt", {'h', 'i'});
    setenv("POCKETDECK_PHONE", ("unix:" + agent.Socket().string()).c_str(), 1);
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_EQ(Contents(u"\\hello.txt"), "hi");
}

}  // namespace
