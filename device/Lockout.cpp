#include "device/Lockout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "device/LoginCount.h"

namespace {

constexpr int64_t kTicksPerMs = 10000;
constexpr int64_t kUnixEpochMs = 11644473600000;  // 1970-01-01 in milliseconds from 1601-01-01

int64_t Milliseconds(FILETIME time) {
    return static_cast<int64_t>((uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) / kTicksPerMs);
}

FILETIME Now() {
    auto sinceUnix = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    uint64_t ticks = uint64_t(sinceUnix.count() + kUnixEpochMs) * kTicksPerMs;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

namespace Lockout {

int32_t LengthMs(int32_t setting) {
    static constexpr int32_t kLengths[] = {300000, 600000, 1800000, 3600000};
    return setting >= 0 && setting <= 3 ? kLengths[setting] : kLengths[0];
}

int MinutesToShow(int32_t remainingMs) {
    return remainingMs <= kTickMs ? 1 : remainingMs / kTickMs;
}

std::string Message(int minutes) {
    char text[128];
    snprintf(text, sizeof text,
             "You have entered incorrect password too many times, please retry in %d minutes.", minutes);
    return text;
}

int32_t LeftAt(int32_t storedMs, FILETIME written, FILETIME now) {
    int64_t elapsed = std::max<int64_t>(0, Milliseconds(now) - Milliseconds(written));
    return static_cast<int32_t>(std::max<int64_t>(0, storedMs - elapsed));
}

int Read(PhoneOptionRecord& options, const char16_t* optionsPath) {
    if (!options.Read(optionsPath)) return 0;
    // The time is looked up after the read: a write between the two makes the lockout longer, never shorter.
    CE_FIND_DATA found;
    HANDLE search = CeFindFirstFile(optionsPath, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    CeFindClose(search);
    options.SetLockoutRemainingMs(LeftAt(options.LockoutRemainingMs(), found.ftLastWriteTime, Now()));
    return 1;
}

bool Start(PhoneOptionRecord& options, const char16_t* optionsPath) {
    options.Sanitize();
    options.SetLockoutRemainingMs(LengthMs(options.LockoutDurationIndex()));
    return options.Write(optionsPath) != 0;
}

bool Tick(PhoneOptionRecord& options, const WalletLocation& location) {
    LoginTurn turn(location);
    if (turn.Held() && Read(options, location.OptionsPath().c_str()))
        options.Write(location.OptionsPath().c_str());
    else
        options.SetLockoutRemainingMs(std::max(0, options.LockoutRemainingMs() - kTickMs));
    return options.LockoutRemainingMs() > 0;
}

}  // namespace Lockout
