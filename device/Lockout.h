#pragma once
// The login lockout after three wrong passwords. Its length is a setting of the phone application
// and its remaining time lives in the phone's option record as of the file's last write: it counts down
// in real time for every program, and the plug-in rewrites it once a minute while it runs.

#include <cstdint>
#include <string>

#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "platform/rapi/api/Rapi.h"

namespace Lockout {

inline constexpr int kAttempts = 3;
inline constexpr int32_t kTickMs = 60000;

// The lockout length for a setting of 0 to 3 (5, 10, 30 or 60 minutes); 5 minutes for any other.
int32_t LengthMs(int32_t setting);
// The minutes a message shows for a remaining time: whole minutes, but at least 1.
int MinutesToShow(int32_t remainingMs);
// "You have entered incorrect password too many times, please retry in N minutes."
std::string Message(int minutes);

// What is left at `now` of a remaining time stored at `written`; a file time to come counts as now.
int32_t LeftAt(int32_t storedMs, FILETIME written, FILETIME now);
// Reads the record from the phone with what is left of its lockout now. 1 or 0.
int Read(PhoneOptionRecord& options, const char16_t* optionsPath);
// Starts a lockout of the record's length and writes the record to the phone (the caller holds the
// LoginTurn). True when the write succeeded; the lockout runs in `options` either way.
bool Start(PhoneOptionRecord& options, const char16_t* optionsPath);
// A minute's countdown: what is left now, read and rewritten in the LoginTurn; when the phone cannot be
// read, a minute less than the copy, not written. True while the lockout still runs.
bool Tick(PhoneOptionRecord& options, const WalletLocation& location);

}  // namespace Lockout
