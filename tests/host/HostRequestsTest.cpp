// Requests 100 and 101: the answers the phone gives, and their delivery from the request thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/HostRequests.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "plugin-api/PluginApi.h"

namespace {

using namespace plugin;

class HostRequestsTest : public ::testing::Test {
protected:
    void TearDown() override { RapiSetTransport(nullptr); }

    void NoPhone() {
        RapiSetTransport(RapiTransportFromSetting(("unix:" + (dir / "nobody.sock").string()).c_str()));
    }

    TempDir dir;
};

TEST_F(HostRequestsTest, WithoutAPhoneNothingRunsAndNothingCloses) {
    NoPhone();
    EXPECT_EQ(HostRequests::Answer(kRequestAppRunning), kAppNotRunning);
    EXPECT_EQ(HostRequests::Answer(kRequestCloseApp), kAppCloseFailed);
}

TEST_F(HostRequestsTest, AsksAndClosesThePhoneApplication) {
    ASSERT_TRUE(MakePhone(dir / "phone"));
    ASSERT_TRUE(SetPhoneAppRunning(dir / "phone", true));
    auto faults = std::make_shared<FaultInjectingTransport>(std::make_shared<FolderTransport>(dir / "phone"));
    RapiSetTransport(faults);

    EXPECT_EQ(HostRequests::Answer(kRequestAppRunning), kAppRunning);
    faults->FailCall(RapiOp::CloseApp, 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(HostRequests::Answer(kRequestCloseApp), kAppCloseFailed);
    EXPECT_EQ(HostRequests::Answer(kRequestAppRunning), kAppRunning);
    EXPECT_EQ(HostRequests::Answer(kRequestCloseApp), kAppNotRunning);
    EXPECT_EQ(HostRequests::Answer(kRequestAppRunning), kAppNotRunning);
    EXPECT_EQ(CeRapiUninit(), E_FAIL) << "each answer ends its own session";
}

TEST_F(HostRequestsTest, CallbackQueuesRequestsAndRepliesComeFromTheirThread) {
    NoPhone();
    std::atomic<uint32_t> status{0};
    std::atomic<std::thread::id> replier;
    HostRequests requests([&](uint32_t answer) {
        replier = std::this_thread::get_id();
        status = answer;
    });
    requests.MakeCurrent();

    uint32_t record[kMessageWords] = {};
    record[kMessageTag] = kInterfaceTag;
    record[kMessageCode] = 7;
    EXPECT_EQ(HostRequests::Callback(record, 0, 0), 0) << "not a request";
    EXPECT_EQ(HostRequests::Callback(nullptr, 0, 0), 0);
    record[kMessageCode] = kRequestCloseApp;
    EXPECT_EQ(HostRequests::Callback(record, 0, 0), 1);

    auto start = std::chrono::steady_clock::now();
    while (status == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(status, kAppCloseFailed);
    EXPECT_NE(replier.load(), std::this_thread::get_id());

    requests.Stop();
    EXPECT_FALSE(requests.Submit(kRequestAppRunning)) << "a stopped instance takes no more";
}

TEST_F(HostRequestsTest, CallbackWithoutAHostDoesNothing) {
    uint32_t record[kMessageWords] = {kRequestAppRunning};
    {
        HostRequests requests([](uint32_t) {});
        requests.MakeCurrent();
    }
    EXPECT_EQ(HostRequests::Callback(record, 0, 0), 0);
}

}  // namespace
