#pragma once
// The orders of the card list. Each sorts a prefix of the rows in place, stably: rows with equal keys
// keep their relative order, in either direction. The result is the order of a bubble sort that swaps
// neighbours only when they are strictly out of order, reached in O(n log n) with every key computed
// once per sort. A sort returns false, leaving the rows as they were, only when out of memory.

#include <cstdint>
#include <span>

#include "model/ModelRecords.h"

// The keys of the card list's "Arranged by" menu.
enum class CardSortKey { Name = 0, Category = 1, Created = 2, Modified = 3 };

// Rows 0..last by name: UTF-16 code unit values, case-sensitive, so every capital A-Z comes first.
bool SortByName(int last, std::span<card_info_struct> rows, bool ascending);
// The first `count` rows by category id (not name), a signed number: no category (0) first.
bool SortByCategory(int count, std::span<card_info_struct> rows, bool ascending);
// Rows 0..last by creation (useCreated) or modification time, as TimeSortKey gives it.
bool SortByTime(int last, std::span<card_info_struct> rows, bool useCreated, bool ascending);
// The first `count` rows by one key, as the card list calls the sorts above.
bool SortCards(CardSortKey key, int count, std::span<card_info_struct> rows, bool ascending);

// Exchanges two rows whole; indices outside the rows change nothing.
void SwapRows(int i, int j, std::span<card_info_struct> rows);

// Seconds since 1970 of the stored fields read as local time (daylight saving from the time zone as
// last set by tzset). A time that is not IsCalendarTime, or that falls before 1970, gives 0, below every
// real time. A local time that a clock change skips is read with the offset from before the change:
// 02:30 on a night whose clocks jump from 02:00 to 03:00 counts as 03:30.
int64_t TimeSortKey(const SYSTEMTIME& time);
