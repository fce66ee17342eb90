#include "model/IsoTime.h"

#include <chrono>
#include <cstdio>

#include "model/FieldType.h"

namespace {

// A count of seconds or milliseconds since 1970.
std::optional<SYSTEMTIME> FromEpoch(std::string_view digits) {
    if (digits.empty() || digits.size() > 15) return std::nullopt;
    int64_t count = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        count = count * 10 + (c - '0');
    }
    using namespace std::chrono;
    milliseconds since = count > 100'000'000'000 ? milliseconds(count) : seconds(count);
    sys_days day = floor<days>(sys_time<milliseconds>(since));
    year_month_day date(day);
    hh_mm_ss time(since - day.time_since_epoch());
    SYSTEMTIME t{};
    t.wYear = static_cast<uint16_t>(static_cast<int>(date.year()));
    t.wMonth = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
    t.wDay = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
    t.wHour = static_cast<uint16_t>(time.hours().count());
    t.wMinute = static_cast<uint16_t>(time.minutes().count());
    t.wSecond = static_cast<uint16_t>(time.seconds().count());
    t.wMilliseconds = static_cast<uint16_t>(time.subseconds().count());
    t.wDayOfWeek = DayOfWeek(t.wYear, t.wMonth, t.wDay);
    return t;
}

}  // namespace

std::string FormatIsoTime(const SYSTEMTIME& t) {
    if (!IsCalendarTime(t) || t.wMilliseconds > 999) return {};
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

std::optional<SYSTEMTIME> ParseIsoTime(std::string_view text) {
    if (text.find_first_not_of("0123456789") == std::string_view::npos) return FromEpoch(text);
    if (text.ends_with('Z')) text.remove_suffix(1);
    std::string copy(text);
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = 'T';
    int used = 0;
    int fields = std::sscanf(copy.c_str(), "%4u-%2u-%2u%n%c%2u:%2u%n:%2u%n", &year, &month, &day, &used,
                             &separator, &hour, &minute, &used, &second, &used);
    unsigned ms = 0;
    std::string_view fraction = text.substr(static_cast<size_t>(used));
    if (fields == 7 && fraction.size() > 1 && fraction[0] == '.') {  // up to milliseconds, the rest cut
        fraction.remove_prefix(1);
        if (fraction.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
        for (size_t i = 0; i < 3; ++i) ms = ms * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
        fraction = {};
    }
    if (fields < 3 || !fraction.empty() || (separator != 'T' && separator != ' ')) return std::nullopt;
    SYSTEMTIME t{static_cast<uint16_t>(year),   static_cast<uint16_t>(month), 0,
                 static_cast<uint16_t>(day),    static_cast<uint16_t>(hour),  static_cast<uint16_t>(minute),
                 static_cast<uint16_t>(second), static_cast<uint16_t>(ms)};
    if (!IsCalendarTime(t) ||
        !std::chrono::year_month_day(std::chrono::year(t.wYear) / t.wMonth / t.wDay).ok())
        return std::nullopt;
    t.wDayOfWeek = DayOfWeek(t.wYear, t.wMonth, t.wDay);
    return t;
}
