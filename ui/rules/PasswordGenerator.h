#pragma once
// The passwords the card form's "Generate" button makes: each position draws one of the chosen character
// classes (symbols, digits, capitals, small letters) and then one character of that class, all draws
// uniform and from the system's random source. Six characters of all four classes is the phone's own
// generator.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::u16string_view kPasswordClasses[4] = {
    u"~!@#$%^&*()_", u"0123456789", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"abcdefghijklmnopqrstuvwxyz"};

// The length and the classes (bit k for kPasswordClasses[k]) the user chose; kept between sessions.
struct GeneratorChoice {
    static constexpr int kMinLength = 6, kMaxLength = 64, kAllClasses = 0xF;
    int length = 20;
    unsigned classes = kAllClasses;

    bool Valid() const {
        return length >= kMinLength && length <= kMaxLength && classes && classes <= kAllClasses;
    }
    // "LENGTH CLASSES\n", and back; nothing for text that is not a valid choice.
    std::string Text() const;
    static std::optional<GeneratorChoice> Parse(std::string_view text);
    bool operator==(const GeneratorChoice&) const = default;
};

// Fills the buffer with random bytes; false when the source failed.
using RandomBytes = std::function<bool(void* buffer, size_t size)>;

// The system's CSPRNG (getrandom).
bool SystemRandomBytes(void* buffer, size_t size);

// A number below bound (1 to 2^32 - 1) drawn without modulo bias; false when the source failed.
bool UniformBelow(uint32_t bound, const RandomBytes& random, uint32_t& out);

// The new password; empty when the random source failed or the choice is not valid.
std::u16string GeneratePassword(const GeneratorChoice& choice, const RandomBytes& random = SystemRandomBytes);
