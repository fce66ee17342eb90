#include "platform/rapi/phone/PhonePath.h"

#include <algorithm>

#include "platform/Utf16.h"

namespace {

char16_t FoldCase(char16_t c) {
    bool latin = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    bool greek = c >= 0x391 && c <= 0x3AB && c != 0x3A2;
    if (latin || greek || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

bool IsForbidden(char16_t c, bool wildcardsAllowed) {
    if (c < 0x20) return true;
    switch (c) {
        case u'<':
        case u'>':
        case u':':
        case u'"':
        case u'/':
        case u'\\':
        case u'|':
            return true;
        case u'*':
        case u'?':
            return !wildcardsAllowed;
        default:
            return false;
    }
}

int CompareFolded(std::u16string_view a, std::u16string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool CharMatches(char16_t patternChar, char16_t c) {
    return patternChar == u'?' || FoldCase(patternChar) == FoldCase(c);
}

// Greedy matching that backtracks only to the last *, which is enough for * and ?.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
    size_t p = 0, n = 0, star = std::u16string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() && CharMatches(pattern[p], name[n])) {
            ++p;
            ++n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool IsValidPhoneName(std::u16string_view name, bool isPattern) {
    if (name.empty() || name == u"." || name == u"..") return false;
    if (std::any_of(name.begin(), name.end(), [&](char16_t c) { return IsForbidden(c, isPattern); }))
        return false;
    return Utf16ToUtf8(name).has_value();  // a lone surrogate has no spelling on the host
}

DWORD ParsePhonePath(std::u16string_view text, bool isPattern, PhonePath* out) {
    out->parts.clear();
    if (text.size() >= MAX_PATH || text.empty() || text[0] != u'\\') return ERROR_INVALID_NAME;
    text.remove_prefix(1);
    if (text.size() > 1 && text.back() == u'\\') text.remove_suffix(1);
    while (!text.empty()) {
        size_t end = text.find(u'\\');
        bool last = end == std::u16string_view::npos;
        std::u16string_view part = text.substr(0, end);
        if (!IsValidPhoneName(part, isPattern && last)) return ERROR_INVALID_NAME;
        out->parts.emplace_back(part);
        text.remove_prefix(last ? text.size() : end + 1);
        if (!last && text.empty()) return ERROR_INVALID_NAME;
    }
    return ERROR_SUCCESS;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return CompareFolded(a, b) == 0;
}

std::u16string FoldedName(std::u16string_view name) {
    std::u16string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

bool NameLess(std::u16string_view a, std::u16string_view b) {
    int order = CompareFolded(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
    if (WildcardMatch(pattern, name)) return true;
    return pattern.ends_with(u".*") && WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}
