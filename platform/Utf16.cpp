#include "platform/Utf16.h"

#include <cstdint>

namespace {

bool IsSurrogate(uint32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

size_t SequenceLength(uint8_t lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Decodes the sequence at the start of text; false when it is malformed.
bool DecodeUtf8(std::string_view text, uint32_t* c, size_t* length) {
    static constexpr uint8_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    size_t n = SequenceLength(static_cast<uint8_t>(text[0]));
    if (n == 0 || text.size() < n) return false;
    uint32_t value = static_cast<uint8_t>(text[0]) & kLeadBits[n];
    for (size_t i = 1; i < n; ++i) {
        uint8_t next = static_cast<uint8_t>(text[i]);
        if ((next & 0xC0) != 0x80) return false;
        value = value << 6 | (next & 0x3F);
    }
    if (value < kSmallest[n] || value > 0x10FFFF || IsSurrogate(value)) return false;
    *c = value;
    *length = n;
    return true;
}

constexpr uint32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, uint32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// The code point at text[i], advancing i; false for a lone or misordered surrogate (i still advances).
bool DecodeUtf16(std::u16string_view text, size_t& i, uint32_t* c) {
    uint32_t unit = text[i++];
    if (!IsSurrogate(unit)) {
        *c = unit;
        return true;
    }
    if (unit > 0xDBFF || i == text.size() || text[i] < 0xDC00 || text[i] > 0xDFFF) return false;
    *c = 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00);
    return true;
}

}  // namespace

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        if (!DecodeUtf16(text, i, &c)) return std::nullopt;
        AppendUtf8(out, c);
    }
    return out;
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        uint32_t c = 0;
        size_t length = 0;
        if (!DecodeUtf8(text, &c, &length)) return std::nullopt;
        AppendUtf16(out, c);
        text.remove_prefix(length);
    }
    return out;
}

std::string Utf16ToUtf8Lossy(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        AppendUtf8(out, DecodeUtf16(text, i, &c) ? c : kReplacement);
    }
    return out;
}

std::u16string Utf8ToUtf16Lossy(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        uint32_t c = 0;
        size_t length = 0;
        bool ok = DecodeUtf8(text, &c, &length);
        AppendUtf16(out, ok ? c : kReplacement);
        text.remove_prefix(ok ? length : 1);
    }
    return out;
}
