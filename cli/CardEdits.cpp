#include "cli/CardEdits.h"

#include "model/FieldType.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"

namespace {

ItemField* FindField(CTesseraItem& card, std::u16string_view name) {
    for (auto* node = card.fields.head; node; node = node->next)
        if (node->element.Name() == name) return &node->element;
    return nullptr;
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

}  // namespace

bool ApplyAssignment(CTesseraItem& card, const std::string& assignment, std::string& error) {
    size_t equals = assignment.find('=');
    std::u16string name = Utf8ToUtf16Lossy(assignment.substr(0, equals));
    if (equals == std::string::npos || name.empty() || name.size() >= ItemField::kNameUnits) {
        error = "--set takes \"Field=Value\" with a field name of 1 to 63 characters";
        return false;
    }
    std::string value = assignment.substr(equals + 1);
    if (ItemField* field = FindField(card, name)) return SetValue(*field, value, error);
    ItemField added;
    added.type = kFieldText;
    added.SetName(name);
    return SetValue(added, value, error) && card.AddField(added);
}

bool ApplyAssignments(CTesseraItem& card, const std::vector<std::string>& assignments, std::string& error) {
    for (const std::string& assignment : assignments)
        if (!ApplyAssignment(card, assignment, error)) return false;
    return true;
}
