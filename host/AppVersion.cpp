#include "host/AppVersion.h"

#include <limits>

VersionWords ParseVersionWords(std::u16string_view text) {
    VersionWords words{};
    size_t index = 0;
    bool digitSeen = false;
    for (char16_t c : text) {
        if (c == u'.') {
            if (!digitSeen || ++index == words.size()) return {};
            digitSeen = false;
        } else if (c >= u'0' && c <= u'9') {
            uint64_t value = uint64_t{words[index]} * 10 + (c - u'0');
            if (value > std::numeric_limits<uint32_t>::max()) return {};
            words[index] = static_cast<uint32_t>(value);
            digitSeen = true;
        } else {
            return {};
        }
    }
    if (!digitSeen || index != words.size() - 1) return {};
    return words;
}
