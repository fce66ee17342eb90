#include "device/Lockout.h"

#include "DeviceFixture.h"

namespace {

TEST(LockoutTest, MinutesShownRoundDownButNeverBelowOne) {
    const std::pair<int, int> cases[] = {{61000, 1}, {120000, 2}, {119999, 1}, {30000, 1}};
    for (auto [ms, minutes] : cases) EXPECT_EQ(Lockout::MinutesToShow(ms), minutes) << ms;
}

TEST(LockoutTest, MinutesBySettingWithFiveForAnyOther) {
    const std::pair<int, int> cases[] = {{-1, 5}, {0, 5}, {1, 10}, {2, 30}, {3, 60}, {7, 5}};
    for (auto [setting, minutes] : cases) EXPECT_EQ(Lockout::LengthMs(setting), minutes * 60000) << setting;
}

class LockoutOnPhoneTest : public DeviceFixture {
protected:
    const char16_t* path = u"\\Program Files\\Tessera\\Options.dat";
};

TEST_F(LockoutOnPhoneTest, ALockoutIsWrittenAndCountedDownToZero) {
    RapiConnection connection;
    PhoneOptionRecord options;
    options.Bytes()[36] = 3;  // 60 minutes
    EXPECT_EQ(Lockout::Start(options, path), 60);
    PhoneOptionRecord onPhone;
    ASSERT_EQ(onPhone.Read(path), 1);
    EXPECT_EQ(onPhone.LockoutRemainingMs(), 3600000);
    int ticks = 1;
    while (Lockout::Tick(options, path)) ++ticks;
    EXPECT_EQ(ticks, 60);
    ASSERT_EQ(onPhone.Read(path), 1);
    EXPECT_EQ(onPhone.LockoutRemainingMs(), 0);
}

TEST_F(LockoutOnPhoneTest, AnOutOfRangeSettingLocksForFiveMinutesAndAFailedWriteIsIgnored) {
    PhoneOptionRecord options;
    options.Bytes()[36] = 7;
    EXPECT_EQ(Lockout::Start(options, path), 5);  // no connection on this thread: the write fails
    EXPECT_EQ(options.LockoutRemainingMs(), 300000);
    EXPECT_TRUE(Lockout::Tick(options, path));
    EXPECT_EQ(options.LockoutRemainingMs(), 240000);
}

}  // namespace
