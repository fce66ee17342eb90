#pragma once
// What the card form writes back into a card: a row's text or picked time replaces a field's value
// only when it differs from what is stored. Times are compared to the whole second.
#include <wx/string.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"

// The text as UTF-16 without any intermediate copy left behind (it may be a password).
std::u16string ToU16(const wxString& text);
wxString FromU16(std::u16string_view text);
// Overwrites the text's units before it is freed.
void Wipe(std::u16string& text);

// A text row: an empty field takes only a non-empty text; a stored one any text that differs, case
// and all. True when the value was replaced.
bool CollectText(ItemField& field, std::u16string_view text);
// A DATE or TIME row with its picked time in UTC. An empty field always takes it; a 16-byte value only
// when it names another second; a value of any other length is always replaced.
bool CollectTime(ItemField& field, const SYSTEMTIME& picked);

// The time as seconds: milliseconds and day of week left out, any year before 1900 counting as 0;
// nothing for a time the calendar cannot hold (month, day or time of day out of range).
std::optional<int64_t> WholeSeconds(const SYSTEMTIME& time);

// Overwrites the string's characters in place before it is freed.
void Wipe(wxString& text);
