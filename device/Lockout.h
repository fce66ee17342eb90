#pragma once
// The login lockout after three wrong passwords. Its length is a setting of the phone application
// and its remaining time lives in the phone's option record, counted down a minute at a time.

#include <cstdint>
#include <string>

#include "device/PhoneOptionRecord.h"

namespace Lockout {

inline constexpr int kAttempts = 3;
inline constexpr int32_t kTickMs = 60000;

// The lockout length for a setting of 0 to 3 (5, 10, 30 or 60 minutes); 5 minutes for any other.
int32_t LengthMs(int32_t setting);
// The minutes a message shows for a remaining time: whole minutes, but at least 1.
int MinutesToShow(int32_t remainingMs);
// "You have entered incorrect password too many times, please retry in N minutes."
std::string Message(int minutes);

// Starts a lockout of the record's length; the record is then written to the phone (a failed write is
// ignored). Gives the lockout's whole minutes.
int Start(PhoneOptionRecord& options, const char16_t* optionsPath);
// One minute of countdown, written to the phone. True while the lockout still runs.
bool Tick(PhoneOptionRecord& options, const char16_t* optionsPath);

}  // namespace Lockout
