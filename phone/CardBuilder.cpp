#include "phone/CardBuilder.h"

#include "store/PasswordBytes.h"

SYSTEMTIME UtcTime(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME t{};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDayOfWeek = DayOfWeek(year, month, day);
    t.wDay = static_cast<uint16_t>(day);
    t.wHour = static_cast<uint16_t>(hour);
    t.wMinute = static_cast<uint16_t>(minute);
    return t;
}

CardBuilder::CardBuilder(std::u16string_view name, uint32_t icon, uint32_t categoryId) {
    item.icon = icon;
    item.categoryId = categoryId;
    Text(CardFieldType::Text, u"Name", name);
}

CardBuilder& CardBuilder::Text(CardFieldType type, std::u16string_view label, std::u16string_view value) {
    SecureBytes bytes = PasswordBytes(value);  // the UTF-16LE units, to which the NUL is added
    bytes.insert(bytes.end(), 2, 0);
    Append(type, label).value = std::move(bytes);
    return *this;
}

CardBuilder& CardBuilder::Time(CardFieldType type, std::u16string_view label, const SYSTEMTIME& value) {
    SecureBytes& bytes = Append(type, label).value;
    bytes.resize(sizeof(SYSTEMTIME));
    StoreTime(value, bytes.data());
    return *this;
}

CardBuilder& CardBuilder::Blank(CardFieldType type, std::u16string_view label) {
    Append(type, label);
    return *this;
}

CardBuilder& CardBuilder::Created(const SYSTEMTIME& time) {
    item.created = item.modified = time;
    return *this;
}

ItemField& CardBuilder::Append(CardFieldType type, std::u16string_view label) {
    ItemField field;
    field.type = static_cast<uint32_t>(type);
    field.SetName(label);
    item.fields.AddTail(std::move(field));
    return item.fields.tail->element;
}
