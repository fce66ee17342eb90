// Watching for the phone: connect, stay, lose it, find it again; and the thread that does it.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/PhoneWatcher.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"

namespace {

using Kind = PhoneReport::Kind;

class PhoneWatcherTest : public ::testing::Test {
protected:
    void TearDown() override { RapiSetTransport(nullptr); }

    std::vector<Kind> Kinds() {
        std::lock_guard lock(mutex);
        std::vector<Kind> kinds;
        for (const PhoneReport& report : reports) kinds.push_back(report.kind);
        return kinds;
    }

    TempDir dir;
    std::mutex mutex;
    std::vector<PhoneReport> reports;
    PhoneWatcher watcher{[this](const PhoneReport& report) {
        std::lock_guard lock(mutex);
        reports.push_back(report);
    }};
};

TEST_F(PhoneWatcherTest, ConnectsStaysAndNoticesTheLoss) {
    ASSERT_TRUE(MakePhone(dir / "phone"));
    auto faults = std::make_shared<FaultInjectingTransport>(std::make_shared<FolderTransport>(dir / "phone"));
    RapiSetTransport(faults);

    watcher.Poll();
    ASSERT_EQ(Kinds(), std::vector<Kind>{Kind::Connected});
    EXPECT_TRUE(reports[0].installed);
    EXPECT_FALSE(reports[0].running);
    EXPECT_EQ(reports[0].version, u"1.0.1.519");
    watcher.Poll();
    EXPECT_EQ(Kinds().size(), 1u) << "a phone still there is not reported again";

    faults->FailCall(RapiOp::GetAppState, 1, ERROR_NOT_CONNECTED);
    watcher.Poll();
    EXPECT_EQ(Kinds(), (std::vector<Kind>{Kind::Connected, Kind::Lost}));
    EXPECT_EQ(CeRapiUninit(), E_FAIL) << "the lost session was ended";

    ASSERT_TRUE(SetPhoneAppRunning(dir / "phone", true));
    watcher.Poll();
    EXPECT_EQ(Kinds(), (std::vector<Kind>{Kind::Connected, Kind::Lost, Kind::Connected}));
    EXPECT_TRUE(reports.back().running);
    watcher.Disconnect();
    EXPECT_EQ(CeRapiUninit(), E_FAIL);
}

TEST_F(PhoneWatcherTest, NoPhoneIsReportedOnce) {
    RapiSetTransport(RapiTransportFromSetting(("unix:" + (dir / "nobody.sock").string()).c_str()));
    watcher.Poll();
    watcher.Poll();
    EXPECT_EQ(Kinds(), std::vector<Kind>{Kind::Absent});
}

TEST_F(PhoneWatcherTest, ThreadReportsAndStopsPromptly) {
    ASSERT_TRUE(MakePhone(dir / "phone"));
    RapiSetTransport(std::make_shared<FolderTransport>(dir / "phone"));
    watcher.Start(std::chrono::seconds(1));
    auto start = std::chrono::steady_clock::now();
    while (Kinds().empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(Kinds(), std::vector<Kind>{Kind::Connected});
    auto stopping = std::chrono::steady_clock::now();
    watcher.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(500));
}

}  // namespace
