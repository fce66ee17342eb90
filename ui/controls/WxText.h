#pragma once
// Conversions between the model's UTF-16 texts and the toolkit's strings.
#include <wx/string.h>

#include <string>
#include <string_view>

#include "platform/Utf16.h"

inline wxString ToWx(std::u16string_view text) {
    return wxString::FromUTF8(Utf16ToUtf8Lossy(text));
}

inline std::u16string FromWx(const wxString& text) {
    return Utf8ToUtf16Lossy(text.utf8_string());
}
