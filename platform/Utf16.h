#pragma once
// The one conversion between UTF-8 (the host's text) and UTF-16 (every text that is stored or
// crosses the device link). The strict forms refuse malformed input (lone surrogates, overlong or
// truncated sequences) and serve names and paths; the lossy forms put U+FFFD in its place and serve
// text shown to a person or typed by one.

#include <optional>
#include <string>
#include <string_view>

std::optional<std::string> Utf16ToUtf8(std::u16string_view text);
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

std::string Utf16ToUtf8Lossy(std::u16string_view text);
std::u16string Utf8ToUtf16Lossy(std::string_view text);
