#include "device/Lockout.h"

#include "DeviceFixture.h"
#include "device/LoginCount.h"
#include "platform/ByteOrder.h"

namespace {

using Kind = LoginVerdict::Kind;

TEST(LockoutTest, MinutesShownRoundDownButNeverBelowOne) {
    const std::pair<int, int> cases[] = {{61000, 1}, {120000, 2}, {119999, 1}, {30000, 1}};
    for (auto [ms, minutes] : cases) EXPECT_EQ(Lockout::MinutesToShow(ms), minutes) << ms;
}

TEST(LockoutTest, MinutesBySettingWithFiveForAnyOther) {
    const std::pair<int, int> cases[] = {{-1, 5}, {0, 5}, {1, 10}, {2, 30}, {3, 60}, {7, 5}};
    for (auto [setting, minutes] : cases) EXPECT_EQ(Lockout::LengthMs(setting), minutes * 60000) << setting;
}

FILETIME MinutesLater(FILETIME time, int64_t minutes) {
    uint64_t ticks = (uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) + minutes * 600'000'000;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(LockoutTest, WhatIsLeftCountsFromTheOptionFilesLastWrite) {
    const FILETIME written = {0x5a3c0000, 0x01db4c2e};
    const std::pair<int, int32_t> cases[] = {{0, 300000}, {2, 180000}, {5, 0}, {6, 0}, {-3, 300000}};
    for (auto [minutes, left] : cases)
        EXPECT_EQ(Lockout::LeftAt(300000, written, MinutesLater(written, minutes)), left) << minutes;
}

class LockoutOnPhoneTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        WriteOptions();
        ASSERT_TRUE(location.Locate());
    }
    void WriteOptions() { WriteBytes(optionFile, std::vector<uint8_t>(PhoneOptionRecord::kSize)); }
    LoginVerdict Try(Guess guess, int& checked) {
        PhoneOptionRecord options;
        return CheckPasswordInTurn(location, options, [&] {
            ++checked;
            return guess;
        });
    }

    const std::filesystem::path optionFile = Fs("Program Files/Tessera/Options.dat");
    const std::filesystem::path countFile = Fs("Program Files/Tessera/Logins.dat");
    WalletLocation location;
};

TEST_F(LockoutOnPhoneTest, WithoutThePhoneTheCopyCountsDownAMinuteATick) {
    connection.reset();
    PhoneOptionRecord options;
    EXPECT_FALSE(Lockout::Start(options, location.OptionsPath().c_str()));
    EXPECT_EQ(options.LockoutRemainingMs(), 300000);
    EXPECT_TRUE(Lockout::Tick(options, location));
    EXPECT_EQ(options.LockoutRemainingMs(), 240000);
}

// What the count file holds is how many wrong passwords are left to check; anything but a count up to three
// is taken as spent. The count is cleared by a lockout, by a right password, and put back by a check that
// did not get to the password.
TEST_F(LockoutOnPhoneTest, TheCountFileSaysHowManyGuessesAreLeft) {
    const std::pair<std::vector<uint8_t>, int> cases[] = {{{}, 3},           {{2, 0, 0, 0}, 1},
                                                          {{3, 0, 0, 0}, 0}, {{4, 0, 0, 0}, 0},
                                                          {{1, 0, 0}, 0},    {{1, 0, 0, 0, 9}, 2}};
    for (const auto& [count, checks] : cases) {
        WriteOptions();
        WriteBytes(countFile, count);
        int checked = 0;
        LoginVerdict verdict;
        while ((verdict = Try(Guess::kWrong, checked)).kind == Kind::kWrong) {
        }
        EXPECT_EQ(checked, checks) << count.size();
        EXPECT_TRUE(verdict.kind == Kind::kLockedOut && verdict.lockoutStarted) << count.size();
        EXPECT_EQ(Try(Guess::kWrong, checked).kind, Kind::kLockedOut);
        EXPECT_EQ(checked, checks);
        EXPECT_EQ(GetU32(ReadBytes(countFile).data()), 0u);
    }
    WriteOptions();
    WriteBytes(countFile, {2, 0, 0, 0});
    int checked = 0;
    EXPECT_EQ(Try(Guess::kUnknown, checked).kind, Kind::kUnknown);
    EXPECT_EQ(ReadBytes(countFile), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(Try(Guess::kRight, checked).kind, Kind::kRight);
    EXPECT_EQ(ReadBytes(countFile), (std::vector<uint8_t>{0, 0, 0, 0}));
}

}  // namespace
