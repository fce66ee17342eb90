#include "device/Lockout.h"

#include <cstdio>

namespace Lockout {

int32_t LengthMs(int32_t setting) {
    static constexpr int32_t kLengths[] = {300000, 600000, 1800000, 3600000};
    return setting >= 0 && setting <= 3 ? kLengths[setting] : kLengths[0];
}

int MinutesToShow(int32_t remainingMs) { return remainingMs <= kTickMs ? 1 : remainingMs / kTickMs; }

std::string Message(int minutes) {
    char text[128];
    snprintf(text, sizeof text, "You have entered incorrect password too many times, please retry in %d minutes.",
             minutes);
    return text;
}

int Start(PhoneOptionRecord& options, const char16_t* optionsPath) {
    options.Sanitize();
    options.SetLockoutRemainingMs(LengthMs(options.LockoutDurationIndex()));
    options.Write(optionsPath);
    return options.LockoutRemainingMs() / kTickMs;
}

bool Tick(PhoneOptionRecord& options, const char16_t* optionsPath) {
    options.SetLockoutRemainingMs(options.LockoutRemainingMs() - kTickMs);
    options.Write(optionsPath);
    return options.LockoutRemainingMs() > 0;
}

}  // namespace Lockout
