#include "device/Lockout.h"

#include "DeviceFixture.h"

namespace {

TEST(LockoutTest, MinutesShownRoundDownButNeverBelowOne) {
    EXPECT_EQ(Lockout::MinutesToShow(61000), 1);
    EXPECT_EQ(Lockout::MinutesToShow(120000), 2);
    EXPECT_EQ(Lockout::MinutesToShow(119999), 1);
    EXPECT_EQ(Lockout::MinutesToShow(30000), 1);
    EXPECT_EQ(Lockout::Message(5), "You have entered incorrect password too many times, please retry in 5 minutes.");
}

TEST(LockoutTest, LengthsBySetting) {
    EXPECT_EQ(Lockout::LengthMs(0), 300000);
    EXPECT_EQ(Lockout::LengthMs(1), 600000);
    EXPECT_EQ(Lockout::LengthMs(2), 1800000);
    EXPECT_EQ(Lockout::LengthMs(3), 3600000);
    EXPECT_EQ(Lockout::LengthMs(7), 300000);
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
