#pragma once
// The phone's 16-byte time record and the clock that fills it.

#include <cstdint>
#include <ctime>

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;  // Sunday = 0
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

// The current time in UTC.
SYSTEMTIME GetSystemTimeUtc();

// The day of the week (Sunday = 0) of a Gregorian date; the proleptic calendar is used before 1582.
uint16_t DayOfWeek(int year, int month, int day);

// Reads and writes the record as eight little-endian words.
void StoreTime(const SYSTEMTIME& t, uint8_t out[16]);
SYSTEMTIME LoadTime(const uint8_t in[16]);
