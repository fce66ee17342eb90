#include "model/FieldType.h"

#include <algorithm>
#include <utility>

namespace {

// Searched in this order; the texts are the string table's.
constexpr std::pair<uint32_t, std::u16string_view> kTypeNames[] = {
    {kFieldText, u"TEXT"},         {kFieldNumber, u"NUMBER"}, {kFieldPhoneNumber, u"PNONE NUMBER"},
    {kFieldPassword, u"PASSWORD"}, {kFieldUrl, u"URL"},       {kFieldEmail, u"E-MAIL"},
    {kFieldDate, u"DATE"},         {kFieldTime, u"TIME"},
};

char16_t UnitAt(const ItemField& field, size_t i) {
    return static_cast<char16_t>(field.value[2 * i] | (field.value[2 * i + 1] << 8));
}

// The number of text units before the first NUL.
size_t TextUnits(const ItemField& field) {
    size_t units = field.value.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        if (UnitAt(field, i) == 0) return i;
    }
    return units;
}

}  // namespace

std::u16string_view FieldTypeName(uint32_t code) {
    for (const auto& [type, name] : kTypeNames) {
        if (type == code) return name;
    }
    return u"TEXT";
}

std::u16string FieldText(const ItemField& field) {
    size_t units = TextUnits(field);
    std::u16string text(units, u'\0');
    for (size_t i = 0; i < units; ++i) text[i] = UnitAt(field, i);
    return text;
}

void AppendFieldText(const ItemField& field, SecureBytes& out) {
    const uint8_t* bytes = field.value.data();
    out.insert(out.end(), bytes, bytes + 2 * TextUnits(field));
}

void SetFieldText(ItemField& field, std::u16string_view text) {
    field.value.assign(2 * text.size() + 2, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        field.value[2 * i] = static_cast<uint8_t>(text[i]);
        field.value[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
}

SYSTEMTIME FieldTime(const ItemField& field) {
    uint8_t record[16] = {};
    std::copy_n(field.value.begin(), std::min<size_t>(field.value.size(), sizeof record), record);
    return LoadTime(record);
}

bool IsCalendarTime(const SYSTEMTIME& t) {
    return t.wYear >= 1900 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 &&
           t.wHour <= 23 && t.wMinute <= 59 && t.wSecond <= 59;
}
