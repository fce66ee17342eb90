#pragma once
// The option record, "Options.dat", as a fresh installation of the wallet application writes it.

#include <array>
#include <cstdint>
#include <string_view>

#include "device/PhoneOptionRecord.h"

using OptionRecord = std::array<uint8_t, PhoneOptionRecord::kSize>;

// No lockout, the shortest lockout duration, the application's own settings at their defaults, and
// the given backup folder (cut to fit its slot).
OptionRecord NewOptionRecord(std::u16string_view backupFolder);
