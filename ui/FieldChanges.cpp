#include "ui/FieldChanges.h"

#include <chrono>

#include "model/FieldType.h"

std::u16string ToU16(const wxString& text) {
    std::u16string out;
    // Room for every character as a surrogate pair, so the buffer never moves and leaves a copy.
    out.reserve(2 * text.length());
    for (wxUniChar c : text) {
        uint32_t v = c.GetValue();
        if (v >= 0x10000) {
            v -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += static_cast<char16_t>(v);
        }
    }
    return out;
}

wxString FromU16(std::u16string_view text) {
    wxString out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t v = text[i];
        if (v >= 0xD800 && v < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            v = 0x10000 + ((v - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        out += wxUniChar(v);
    }
    return out;
}

void Wipe(std::u16string& text) {
    SecureZero(text.data(), text.capacity() * sizeof(char16_t));
    text.clear();
}

bool CollectText(ItemField& field, std::u16string_view text) {
    if (field.value.empty()) {
        if (text.empty()) return false;
    } else {
        SecureBytes stored;
        AppendFieldText(field, stored);
        bool same = stored.size() == 2 * text.size();
        for (size_t i = 0; same && i < text.size(); ++i) {
            same = stored[2 * i] == static_cast<uint8_t>(text[i]) && stored[2 * i + 1] == (text[i] >> 8);
        }
        if (same) return false;
    }
    SetFieldText(field, text);
    return true;
}

std::optional<int64_t> WholeSeconds(const SYSTEMTIME& time) {
    if (time.wYear < 1900) return 0;
    if (!IsCalendarTime(time)) return std::nullopt;
    using namespace std::chrono;
    const sys_days day{year{time.wYear} / int(time.wMonth) / int(time.wDay)};
    return (day.time_since_epoch() + hours{time.wHour} + minutes{time.wMinute} + seconds{time.wSecond}) /
           seconds{1};
}

bool CollectTime(ItemField& field, const SYSTEMTIME& picked) {
    if (field.value.size() == 16) {
        std::optional<int64_t> stored = WholeSeconds(FieldTime(field));
        // A stored time the calendar cannot hold counts as different, so the picked one replaces it.
        if (stored && stored == WholeSeconds(picked)) return false;
    }
    field.value.assign(16, 0);
    StoreTime(picked, field.value.data());
    return true;
}

void Wipe(wxString& text) {
    for (auto it = text.begin(); it != text.end(); ++it) *it = wxUniChar(0);
    text.clear();
}
