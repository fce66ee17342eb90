#pragma once
// Times as other programs' files write them: ISO 8601 in UTC, or seconds or milliseconds since 1970.

#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemTime.h"

// "YYYY-MM-DDTHH:MM:SS.mmmZ"; empty for a time the calendar cannot represent.
std::string FormatIsoTime(const SYSTEMTIME& utc);
// "YYYY-MM-DD", "YYYY-MM-DD[T ]HH:MM[:SS[.fff]]" with an optional "Z", read as UTC; or a count of seconds
// since 1970 (milliseconds when above 10^11, as browsers write them). Empty when it is none of these.
std::optional<SYSTEMTIME> ParseIsoTime(std::string_view text);
