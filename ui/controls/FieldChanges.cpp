#include "ui/controls/FieldChanges.h"

#include "store/SecureBytes.h"

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

void Wipe(wxString& text) {
    for (auto it = text.begin(); it != text.end(); ++it) *it = wxUniChar(0);
    text.clear();
}
