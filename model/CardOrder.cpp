#include "model/CardOrder.h"

#include <algorithm>
#include <ctime>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "model/FieldType.h"

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar; a day past the month's end runs
// on into the next month.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t UtcOffsetAt(int64_t moment) {
    time_t t = static_cast<time_t>(moment);
    tm local{};
    return localtime_r(&t, &local) ? local.tm_gmtoff : 0;
}

// The first four code units as one number, in the same order as the names; a shorter name is padded
// with 0, which sorts below every unit as the end of a name does.
uint64_t NamePrefix(std::u16string_view name) {
    uint64_t prefix = 0;
    for (size_t i = 0; i < 4; ++i) prefix = prefix << 16 | (i < name.size() ? name[i] : 0);
    return prefix;
}

// Moves the row at keyed[k].second to k for every k, one cycle of the permutation at a time.
template <typename Keyed>
void MoveRowsInto(std::span<card_info_struct> rows, std::vector<Keyed>& keyed) {
    for (size_t start = 0; start < keyed.size(); ++start) {
        if (keyed[start].second == start) continue;  // in place, or its cycle is done
        card_info_struct held = std::move(rows[start]);
        for (size_t to = start;;) {
            size_t from = std::exchange(keyed[to].second, static_cast<uint32_t>(to));
            if (from == start) {
                rows[to] = std::move(held);
                break;
            }
            rows[to] = std::move(rows[from]);
            to = from;
        }
    }
}

// Sorts (key, row index) pairs, stably, then moves each row to its place once.
template <typename KeyOf, typename Less>
bool SortPrefix(int64_t count, std::span<card_info_struct> rows, bool ascending, KeyOf keyOf, Less less) {
    size_t n = static_cast<size_t>(std::clamp<int64_t>(count, 0, static_cast<int64_t>(rows.size())));
    try {
        std::vector<std::pair<decltype(keyOf(rows.front())), uint32_t>> keyed;
        keyed.reserve(n);
        for (size_t i = 0; i < n; ++i) keyed.emplace_back(keyOf(rows[i]), static_cast<uint32_t>(i));
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&](const auto& a, const auto& b) { return ascending ? less(a, b) : less(b, a); });
        MoveRowsInto(rows, keyed);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

constexpr auto kByKey = [](const auto& a, const auto& b) { return a.first < b.first; };

}  // namespace

bool SortByName(int last, std::span<card_info_struct> rows, bool ascending) {
    auto byName = [rows](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : rows[a.second].name < rows[b.second].name;
    };
    return SortPrefix(
        int64_t(last) + 1, rows, ascending, [](const card_info_struct& row) { return NamePrefix(row.name); },
        byName);
}

bool SortByCategory(int count, std::span<card_info_struct> rows, bool ascending) {
    return SortPrefix(
        count, rows, ascending, [](const card_info_struct& row) { return row.category; }, kByKey);
}

bool SortByTime(int last, std::span<card_info_struct> rows, bool useCreated, bool ascending) {
    tzset();  // once per sort, so that a change of time zone shows at the next sort
    auto keyOf = [useCreated](const card_info_struct& row) {
        return TimeSortKey(useCreated ? row.created : row.modified);
    };
    return SortPrefix(int64_t(last) + 1, rows, ascending, keyOf, kByKey);
}

bool SortCards(CardSortKey key, int count, std::span<card_info_struct> rows, bool ascending) {
    switch (key) {
        case CardSortKey::Name:
            return SortByName(count - 1, rows, ascending);
        case CardSortKey::Category:
            return SortByCategory(count, rows, ascending);
        case CardSortKey::Created:
        case CardSortKey::Modified:
            return SortByTime(count - 1, rows, key == CardSortKey::Created, ascending);
    }
    return false;
}

void SwapRows(int i, int j, std::span<card_info_struct> rows) {
    if (i < 0 || j < 0 || size_t(i) >= rows.size() || size_t(j) >= rows.size()) return;
    std::swap(rows[i], rows[j]);
}

int64_t TimeSortKey(const SYSTEMTIME& time) {
    if (!IsCalendarTime(time)) return 0;
    // The fields counted as if they were UTC, then moved by the offset in force at the moment they name.
    // Two rounds settle every time but one that a clock change skips.
    int64_t wall = DaysFromCivil(time.wYear, time.wMonth, time.wDay) * 86400 + time.wHour * 3600 +
                   time.wMinute * 60 + time.wSecond;
    int64_t guess = UtcOffsetAt(wall);
    int64_t first = wall - guess;
    int64_t offset = UtcOffsetAt(first);
    int64_t moment = wall - offset;
    if (offset != guess && UtcOffsetAt(moment) != offset) moment = std::max(first, moment);
    return moment < 0 ? 0 : moment;
}
