#include "ui/rules/InputLimit.h"

#include <algorithm>

std::wstring InputLimit::Admit(std::wstring_view text, size_t length, size_t selected) const {
    const size_t kept = length - std::min(selected, length);
    size_t room = kept < maxChars ? maxChars - kept : 0;
    std::wstring admitted;
    for (wchar_t c : text) {
        if (room == 0) break;
        if (!Accepts(c)) continue;
        admitted += c;
        --room;
    }
    return admitted;
}

bool InputLimit::Accepts(wchar_t c) const {
    const bool digit = c >= L'0' && c <= L'9';
    if (chars == Chars::Digits) return digit;
    if (chars == Chars::Dialable)
        return digit || std::wstring_view(L"+ ()-").find(c) != std::wstring_view::npos;
    // A single-line box holds no line breaks or other control characters.
    return c >= 0x20 && c != 0x7F;
}
