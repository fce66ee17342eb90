#pragma once
// Stored times are UTC; people read and type local times.

#include <ctime>
#include <optional>
#include <string>

#include "platform/SystemTime.h"

// Seconds since 1970 of a UTC time record; nothing when a field is out of range.
std::optional<std::time_t> SecondsFromUtc(const SYSTEMTIME& utc);
// "YYYY-MM-DD HH:MM:SS" in local time; empty for a time the calendar cannot represent.
std::string FormatLocalDateTime(const SYSTEMTIME& utc);
std::string FormatLocalDate(const SYSTEMTIME& utc);
std::string FormatLocalTimeOfDay(const SYSTEMTIME& utc);
// Any strftime picture, in local time; empty as above.
std::string FormatLocal(const SYSTEMTIME& utc, const char* picture);
// The locale's date picture (LC_TIME) with its year in four digits: the one date format of the windows.
std::string ShortDatePicture();
// A strftime picture with every two-digit year ("%y", "%Ey", "%Oy", and the one in "%D") made four-digit.
std::string WithFourDigitYears(const std::string& picture);
// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" read as local time, given in UTC.
std::optional<SYSTEMTIME> ParseLocalDateTime(const std::string& text);
