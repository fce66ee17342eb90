#pragma once
// The passwords the card form's "Generate" button makes: 6 characters, each position drawing one of
// four classes (symbols, digits, capitals, small letters) and then one character of that class, all
// draws uniform and from the system's random source.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr size_t kGeneratedLength = 6;
inline constexpr std::u16string_view kPasswordClasses[4] = {
    u"~!@#$%^&*()_", u"0123456789", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"abcdefghijklmnopqrstuvwxyz"};

// Fills the buffer with random bytes; false when the source failed.
using RandomBytes = std::function<bool(void* buffer, size_t size)>;

// The system's CSPRNG (getrandom).
bool SystemRandomBytes(void* buffer, size_t size);

// A number below bound (1 to 2^32 - 1) drawn without modulo bias; false when the source failed.
bool UniformBelow(uint32_t bound, const RandomBytes& random, uint32_t& out);

// The new password; empty when the random source failed.
std::u16string GeneratePassword(const RandomBytes& random = SystemRandomBytes);
