#pragma once
// Passwords are handled as their UTF-16LE bytes without a terminator.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "store/SecureBytes.h"

// The password that unlocks every templates file.
inline constexpr std::u16string_view kTemplatesPassword = u"quartzpetal";

// The longest wallet password the login takes, in UTF-16 units; a longer one could never be typed there.
inline constexpr size_t kMaxPasswordUnits = 31;

inline bool PasswordFitsLogin(const SecureBytes& password) {
    return password.size() <= 2 * kMaxPasswordUnits;
}

inline SecureBytes PasswordBytes(std::u16string_view password) {
    SecureBytes bytes;
    bytes.reserve(password.size() * 2);
    for (char16_t unit : password) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

// A typed line (UTF-8, a trailing CR dropped) as password bytes; the line and the copies made on the
// way are wiped. Nothing when the line is not valid UTF-8: a lossy reading would let several byte
// strings open the same wallet.
std::optional<SecureBytes> PasswordFromLine(std::string& line);
// One line of `in`, newline dropped, as password bytes.
std::optional<SecureBytes> ReadPasswordLine(std::istream& in);
