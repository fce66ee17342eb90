#include "platform/LocalTime.h"

#include <langinfo.h>

#include <cstdio>
#include <ctime>

namespace {

bool ToLocal(const SYSTEMTIME& utc, std::tm& local) {
    std::optional<std::time_t> seconds = SecondsFromUtc(utc);
    return seconds && localtime_r(&*seconds, &local) != nullptr;
}

}  // namespace

std::optional<std::time_t> SecondsFromUtc(const SYSTEMTIME& utc) {
    if (utc.wMonth < 1 || utc.wMonth > 12 || utc.wDay < 1 || utc.wDay > 31 || utc.wHour > 23 || utc.wMinute > 59 ||
        utc.wSecond > 59)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = utc.wYear - 1900;
    tm.tm_mon = utc.wMonth - 1;
    tm.tm_mday = utc.wDay;
    tm.tm_hour = utc.wHour;
    tm.tm_min = utc.wMinute;
    tm.tm_sec = utc.wSecond;
    return timegm(&tm);
}

std::string FormatLocal(const SYSTEMTIME& utc, const char* picture) {
    std::tm local{};
    if (!ToLocal(utc, local)) return {};
    char text[64];
    return std::strftime(text, sizeof text, picture, &local) ? text : std::string();
}

std::string FormatLocalDateTime(const SYSTEMTIME& utc) { return FormatLocal(utc, "%Y-%m-%d %H:%M:%S"); }
std::string FormatLocalDate(const SYSTEMTIME& utc) { return FormatLocal(utc, "%Y-%m-%d"); }
std::string FormatLocalTimeOfDay(const SYSTEMTIME& utc) { return FormatLocal(utc, "%H:%M:%S"); }

std::string ShortDatePicture() {
    return WithFourDigitYears(nl_langinfo(D_FMT));
}

std::string WithFourDigitYears(const std::string& picture) {
    std::string out;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] != '%' || i + 1 == picture.size()) {
            out += picture[i];
            continue;
        }
        const bool modified = (picture[i + 1] == 'E' || picture[i + 1] == 'O') && i + 2 < picture.size();
        const char conversion = picture[i + (modified ? 2 : 1)];
        if (conversion == 'y') {
            out += "%Y";
        } else if (conversion == 'D') {
            out += "%m/%d/%Y";
        } else {
            out.append(picture, i, modified ? 3 : 2);
        }
        i += modified ? 2 : 1;
    }
    return out;
}

std::optional<SYSTEMTIME> ParseLocalDateTime(const std::string& text) {
    int year, month, day, hour = 0, minute = 0, second = 0, used = -1;
    const char* s = text.c_str();
    bool whole = (sscanf(s, "%4d-%2d-%2d %2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second, &used) == 6 ||
                  sscanf(s, "%4d-%2d-%2d %2d:%2d%n", &year, &month, &day, &hour, &minute, &used) == 5 ||
                  sscanf(s, "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3) &&
                 used == static_cast<int>(text.size());
    if (!whole || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    std::tm check = tm;
    std::time_t seconds = mktime(&tm);
    // mktime normalises out-of-range fields: a date it had to move was not a date.
    if (seconds == -1 || tm.tm_mday != check.tm_mday || tm.tm_mon != check.tm_mon || year < 1601) return std::nullopt;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return SYSTEMTIME{static_cast<uint16_t>(utc.tm_year + 1900),
                      static_cast<uint16_t>(utc.tm_mon + 1),
                      static_cast<uint16_t>(utc.tm_wday),
                      static_cast<uint16_t>(utc.tm_mday),
                      static_cast<uint16_t>(utc.tm_hour),
                      static_cast<uint16_t>(utc.tm_min),
                      static_cast<uint16_t>(utc.tm_sec),
                      0};
}
