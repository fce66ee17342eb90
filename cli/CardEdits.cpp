#include "cli/CardEdits.h"

#include <algorithm>

#include "model/FieldType.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"

namespace {

ItemField* FindField(CTesseraItem& card, std::u16string_view name) {
    for (auto* node = card.fields.head; node; node = node->next)
        if (node->element.Name() == name) return &node->element;
    return nullptr;
}

char16_t AsciiLower(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? unit - u'A' + u'a' : unit;
}

bool SameAnyCase(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

// Whether a field of that name, in any case, is a PASSWORD field.
bool PasswordFieldNamed(const CTesseraItem& card, std::u16string_view name) {
    for (auto* node = card.fields.head; node; node = node->next)
        if (node->element.type == kFieldPassword && SameAnyCase(node->element.Name(), name)) return true;
    return false;
}

bool InWord(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') || unit >= 0x80;
}

// Whether the name reads as a secret's: a word PIN or secret, or a word holding password or passcode, in
// any case ("Wifi password", "card-PIN", "Passcode2").
bool NamesASecret(std::u16string_view name) {
    std::u16string lower(name);
    for (char16_t& unit : lower) unit = AsciiLower(unit);
    for (size_t start = 0; start < lower.size();) {
        size_t end = start;
        while (end < lower.size() && InWord(lower[end])) ++end;
        std::u16string_view word = std::u16string_view(lower).substr(start, end - start);
        if (word == u"pin" || word == u"secret" || word.find(u"password") != word.npos ||
            word.find(u"passcode") != word.npos)
            return true;
        start = end + 1;
    }
    return false;
}

bool SetValue(ItemField& field, const std::string& value, std::string& error) {
    if (value.empty()) {
        field.value.clear();
    } else if (IsTimeField(field.type)) {
        std::optional<SYSTEMTIME> time = ParseLocalDateTime(value);
        if (!time) {
            error = "\"" + value + "\" is not a date: use YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS]";
            return false;
        }
        field.value.resize(16);
        StoreTime(*time, field.value.data());
    } else {
        SetFieldText(field, Utf8ToUtf16Lossy(value));
    }
    return true;
}

bool ValidFieldName(std::u16string_view name) {
    return !name.empty() && name.size() < ItemField::kNameUnits;
}

// The field named `name`, added with `type` when the card has none; nullptr with `error` set when the card
// has no room.
ItemField* FieldToSet(CTesseraItem& card, std::u16string_view name, uint32_t type, std::string& error) {
    if (ItemField* field = FindField(card, name)) return field;
    ItemField added;
    added.type = type;
    added.SetName(name);
    if (!card.AddField(added)) {
        error = "the card has no room for another field";
        return nullptr;
    }
    return FindField(card, name);
}

}  // namespace

bool ApplyAssignment(CTesseraItem& card, const std::string& assignment, std::string& error) {
    size_t equals = assignment.find('=');
    std::string nameText = assignment.substr(0, equals);
    std::u16string name = Utf8ToUtf16Lossy(nameText);
    if (equals == std::string::npos || !ValidFieldName(name)) {
        error = "--set takes \"Field=Value\" with a field name of 1 to 63 characters";
        return false;
    }
    std::string value = assignment.substr(equals + 1);
    ItemField* existing = FindField(card, name);
    if (!value.empty() && (PasswordFieldNamed(card, name) || NamesASecret(name))) {
        error =
            "--set does not take a password or a field named like one, which every user could read on the "
            "command line: use --set-secret \"" +
            nameText + "\" to type it";
        return false;
    }
    ItemField* field = existing ? existing : FieldToSet(card, name, kFieldText, error);
    return field && SetValue(*field, value, error);
}

bool ApplySecret(CTesseraItem& card, const std::string& name, std::u16string_view value, std::string& error) {
    std::u16string fieldName = Utf8ToUtf16Lossy(name);
    if (!ValidFieldName(fieldName)) {
        error = "--set-secret takes a field name of 1 to 63 characters";
        return false;
    }
    ItemField* field = FieldToSet(card, fieldName, kFieldPassword, error);
    if (!field) return false;
    if (field->type == kFieldText) field->type = kFieldPassword;  // a secret is shown masked
    SetFieldText(*field, value);
    return true;
}

bool ApplyAssignments(CTesseraItem& card, const std::vector<std::string>& assignments, std::string& error) {
    for (const std::string& assignment : assignments)
        if (!ApplyAssignment(card, assignment, error)) return false;
    return true;
}
