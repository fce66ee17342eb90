#include "ui/rules/PasswordGenerator.h"

#include <sys/random.h>

#include <cerrno>
#include <charconv>

bool SystemRandomBytes(void* buffer, size_t size) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        ssize_t got = getrandom(bytes, size, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

bool UniformBelow(uint32_t bound, const RandomBytes& random, uint32_t& out) {
    if (bound == 0) return false;
    // Draws at or above the largest multiple of bound are thrown away, so every remainder is as likely.
    const uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
    uint32_t draw = 0;
    do {
        if (!random(&draw, sizeof draw)) return false;
    } while (draw >= limit);
    out = draw % bound;
    return true;
}

std::string GeneratorChoice::Text() const {
    return std::to_string(length) + ' ' + std::to_string(classes) + '\n';
}

std::optional<GeneratorChoice> GeneratorChoice::Parse(std::string_view text) {
    GeneratorChoice choice;
    const char* end = text.data() + text.size();
    auto [afterLength, lengthError] = std::from_chars(text.data(), end, choice.length);
    if (lengthError != std::errc() || afterLength == end || *afterLength != ' ') return std::nullopt;
    auto [afterClasses, classesError] = std::from_chars(afterLength + 1, end, choice.classes);
    if (classesError != std::errc() || std::string_view(afterClasses, end) != "\n") return std::nullopt;
    return choice.Valid() ? std::optional(choice) : std::nullopt;
}

std::u16string GeneratePassword(const GeneratorChoice& choice, const RandomBytes& random) {
    if (!choice.Valid()) return {};
    std::u16string_view chosen[4];
    uint32_t count = 0;
    for (unsigned k = 0; k < 4; ++k) {
        if (choice.classes & (1u << k)) chosen[count++] = kPasswordClasses[k];
    }
    std::u16string password;
    password.reserve(static_cast<size_t>(choice.length));  // no reallocation leaves a copy behind
    for (int i = 0; i < choice.length; ++i) {
        uint32_t kind = 0, index = 0;
        if (!UniformBelow(count, random, kind)) return {};
        const std::u16string_view chars = chosen[kind];
        if (!UniformBelow(static_cast<uint32_t>(chars.size()), random, index)) return {};
        password += chars[index];
    }
    return password;
}
