#include "ui/PasswordGenerator.h"

#include <sys/random.h>

#include <cerrno>

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

std::u16string GeneratePassword(const RandomBytes& random) {
    std::u16string password;
    for (size_t i = 0; i < kGeneratedLength; ++i) {
        uint32_t kind = 0, index = 0;
        if (!UniformBelow(4, random, kind)) return {};
        const std::u16string_view chars = kPasswordClasses[kind];
        if (!UniformBelow(static_cast<uint32_t>(chars.size()), random, index)) return {};
        password += chars[index];
    }
    return password;
}
