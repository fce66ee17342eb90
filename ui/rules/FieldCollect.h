#pragma once
// What the card form writes back into a card: a row's text or picked time replaces a field's value
// only when it differs from what is stored. Times are compared to the whole second.
#include <optional>
#include <string_view>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"

// A text row: an empty field takes only a non-empty text; a stored one any text that differs, case
// and all. True when the value was replaced.
bool CollectText(ItemField& field, std::u16string_view text);
// A DATE or TIME row with its picked time in UTC. A value of 16 bytes or more (a time record, then
// bytes no one reads, which stay) takes it in its record only when it names another second; a shorter
// value is always replaced by the 16-byte record.
bool CollectTime(ItemField& field, const SYSTEMTIME& picked);

// The time as seconds: milliseconds and day of week left out, any year before 1900 counting as 0;
// nothing for a time the calendar cannot hold (month, day or time of day out of range).
std::optional<int64_t> WholeSeconds(const SYSTEMTIME& time);
