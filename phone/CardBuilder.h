#pragma once
// Cards and templates as the wallet application makes them: field 0 is "Name" holding the record's
// name, then typed, labelled fields. Text values are UTF-16LE with their NUL; dates and times one
// 16-byte time record in UTC.

#include <cstdint>
#include <string_view>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"

enum class CardFieldType : uint32_t { Text, Number, PhoneNumber, Password, Url, Email, Date, Time };

// A time record for the given UTC date and time of day.
SYSTEMTIME UtcTime(int year, int month, int day, int hour = 0, int minute = 0);

class CardBuilder {
public:
    CardBuilder(std::u16string_view name, uint32_t icon, uint32_t categoryId);

    CardBuilder& Text(CardFieldType type, std::u16string_view label, std::u16string_view value);
    CardBuilder& Time(CardFieldType type, std::u16string_view label, const SYSTEMTIME& value);
    // A field with an empty value, as templates hold them.
    CardBuilder& Blank(CardFieldType type, std::u16string_view label);
    // Both times of the record.
    CardBuilder& Created(const SYSTEMTIME& time);

    const CTesseraItem& Item() const { return item; }

private:
    ItemField& Append(CardFieldType type, std::u16string_view label);

    CTesseraItem item;
};
