#include "store/PasswordBytes.h"

#include <istream>
#include <string>

#include "platform/Utf16.h"

std::optional<SecureBytes> PasswordFromLine(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::optional<std::u16string> text = Utf8ToUtf16(line);
    SecureZero(line.data(), line.size());
    if (!text) return std::nullopt;
    SecureBytes bytes = PasswordBytes(*text);
    SecureZero(text->data(), text->size() * sizeof(char16_t));
    return bytes;
}

std::optional<SecureBytes> ReadPasswordLine(std::istream& in) {
    std::string line;
    std::getline(in, line);
    return PasswordFromLine(line);
}
