#pragma once
// The phone application's version text ("1.0.1.519") as the four words OnSetUpChange takes.
#include <array>
#include <cstdint>
#include <string_view>

using VersionWords = std::array<uint32_t, 4>;

// Four dot-separated decimal numbers, each fitting 32 bits; anything else gives zeros.
VersionWords ParseVersionWords(std::u16string_view text);
