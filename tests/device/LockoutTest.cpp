#include "device/Lockout.h"

#include <atomic>
#include <thread>

#include "DeviceFixture.h"
#include "device/LoginCount.h"

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

TEST(LockoutTest, WhatIsLeftCountsFromTheOptionFilesLastWrite) {
    auto at = [](int64_t minutes) {
        uint64_t ticks = 133'000'000'000'000'000 + minutes * 600'000'000;  // in 100 ns
        return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    };
    const std::pair<int, int32_t> cases[] = {{0, 300000}, {2, 180000}, {5, 0}, {6, 0}, {-3, 300000}};
    for (auto [minutes, left] : cases)
        EXPECT_EQ(Lockout::LeftAt(300000, at(0), at(minutes)), left) << minutes;
}

class LockoutOnPhoneTest : public ConnectedDeviceFixture {
protected:
    void SetUp() override {
        ConnectedDeviceFixture::SetUp();
        WriteOptions();
        ASSERT_TRUE(location.Locate());
    }
    void WriteOptions() { WriteBytes(optionFile, std::vector<uint8_t>(PhoneOptionRecord::kSize)); }
    // A check slow enough that guesses made at once would overlap without their turns.
    LoginVerdict Try(Guess guess, std::atomic<int>& checked) {
        PhoneOptionRecord options;
        return CheckPasswordInTurn(location, options, [&] {
            ++checked;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
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
    EXPECT_TRUE(Lockout::Tick(options, location));
    EXPECT_EQ(options.LockoutRemainingMs(), 240000);
}

// What the count file holds is how many wrong passwords are left to check; anything but a count up to three
// is taken as spent.
TEST_F(LockoutOnPhoneTest, TheCountFileSaysHowManyGuessesAreLeft) {
    const std::pair<std::vector<uint8_t>, int> cases[] = {{{}, 3},           {{2, 0, 0, 0}, 1},
                                                          {{3, 0, 0, 0}, 0}, {{4, 0, 0, 0}, 0},
                                                          {{1, 0, 0}, 0},    {{1, 0, 0, 0, 9}, 2}};
    for (const auto& [count, checks] : cases) {
        WriteOptions();
        WriteBytes(countFile, count);
        std::atomic<int> checked = 0;
        LoginVerdict verdict;
        while ((verdict = Try(Guess::kWrong, checked)).kind == Kind::kWrong) {
        }
        EXPECT_EQ(checked, checks) << count.size();
        EXPECT_TRUE(verdict.kind == Kind::kLockedOut && verdict.lockoutStarted) << count.size();
    }
}

}  // namespace
