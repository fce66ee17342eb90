#include "ui/rules/FieldCollect.h"

#include <chrono>

#include "model/FieldType.h"

bool CollectText(ItemField& field, std::u16string_view text) {
    if (field.value.empty()) {
        if (text.empty()) return false;
    } else {
        SecureBytes stored;
        AppendFieldText(field, stored);
        bool same = stored.size() == 2 * text.size();
        for (size_t i = 0; same && i < text.size(); ++i) {
            same = stored[2 * i] == static_cast<uint8_t>(text[i]) && stored[2 * i + 1] == (text[i] >> 8);
        }
        if (same) return false;
    }
    SetFieldText(field, text);
    return true;
}

std::optional<int64_t> WholeSeconds(const SYSTEMTIME& time) {
    if (time.wYear < 1900) return 0;
    if (!IsCalendarTime(time)) return std::nullopt;
    using namespace std::chrono;
    const sys_days day{year{time.wYear} / int(time.wMonth) / int(time.wDay)};
    return (day.time_since_epoch() + hours{time.wHour} + minutes{time.wMinute} + seconds{time.wSecond}) /
           seconds{1};
}

bool CollectTime(ItemField& field, const SYSTEMTIME& picked) {
    if (field.value.size() >= 16) {
        std::optional<int64_t> stored = WholeSeconds(FieldTime(field));
        // A stored time the calendar cannot hold counts as different, so the picked one replaces it.
        if (stored && stored == WholeSeconds(picked)) return false;
    }
    // The picked time takes the time record's place; what follows it stays.
    if (field.value.size() < 16) field.value.assign(16, 0);
    StoreTime(picked, field.value.data());
    return true;
}
