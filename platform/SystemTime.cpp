#include "platform/SystemTime.h"

#include <chrono>

SYSTEMTIME GetSystemTimeUtc() {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto days = floor<std::chrono::days>(now);
    year_month_day ymd{days};
    hh_mm_ss hms{floor<milliseconds>(now - days)};
    SYSTEMTIME t{};
    t.wYear = static_cast<uint16_t>(static_cast<int>(ymd.year()));
    t.wMonth = static_cast<uint16_t>(static_cast<unsigned>(ymd.month()));
    t.wDay = static_cast<uint16_t>(static_cast<unsigned>(ymd.day()));
    t.wDayOfWeek = static_cast<uint16_t>(weekday{days}.c_encoding());
    t.wHour = static_cast<uint16_t>(hms.hours().count());
    t.wMinute = static_cast<uint16_t>(hms.minutes().count());
    t.wSecond = static_cast<uint16_t>(hms.seconds().count());
    t.wMilliseconds = static_cast<uint16_t>(hms.subseconds().count());
    return t;
}

uint16_t DayOfWeek(int year, int month, int day) {
    using namespace std::chrono;
    sys_days d{std::chrono::year{year} / month / day};
    return static_cast<uint16_t>(weekday{d}.c_encoding());
}

void StoreTime(const SYSTEMTIME& t, uint8_t out[16]) {
    const uint16_t words[8] = {t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                               t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
    for (int i = 0; i < 8; ++i) {
        out[2 * i] = static_cast<uint8_t>(words[i]);
        out[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    }
}

SYSTEMTIME LoadTime(const uint8_t in[16]) {
    uint16_t w[8];
    for (int i = 0; i < 8; ++i) w[i] = static_cast<uint16_t>(in[2 * i] | (in[2 * i + 1] << 8));
    return SYSTEMTIME{w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]};
}
