#include "store/PasswordBytes.h"

#include <istream>
#include <string>

#include "platform/Utf16.h"

SecureBytes PasswordFromLine(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::u16string text = Utf8ToUtf16Lossy(line);
    SecureBytes bytes = PasswordBytes(text);
    SecureZero(line.data(), line.size());
    SecureZero(text.data(), text.size() * sizeof(char16_t));
    return bytes;
}

SecureBytes ReadPasswordLine(std::istream& in) {
    std::string line;
    std::getline(in, line);
    return PasswordFromLine(line);
}
