#include "model/NameRules.h"

#include <algorithm>

#include "model/ItemChanges.h"

namespace {

bool IsSpace(char16_t unit) {
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == 0xA0 || unit == 0x3000;
}

std::u16string_view Trimmed(std::u16string_view name) {
    while (!name.empty() && IsSpace(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsSpace(name.back())) name.remove_suffix(1);
    return name;
}

}  // namespace

bool IsBlankName(std::u16string_view name) {
    return Trimmed(name).empty();
}

std::optional<std::u16string> RepeatedFieldName(const CTesseraItem& record) {
    std::vector<std::u16string> seen;
    for (auto* node = record.fields.head; node; node = node->next) {
        std::u16string name(Trimmed(node->element.Name()));
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) return name;
        seen.push_back(std::move(name));
    }
    return std::nullopt;
}

NameProblem CheckRecordNames(const CTesseraItem& record) {
    if (IsBlankName(ItemName(record))) return NameProblem::Blank;
    return RepeatedFieldName(record) ? NameProblem::RepeatedField : NameProblem::None;
}

NameProblem CheckCategoryName(const std::vector<category_struct>& categories, int32_t id,
                              std::u16string_view name) {
    if (IsBlankName(name)) return NameProblem::Blank;
    const bool taken = std::any_of(categories.begin(), categories.end(), [&](const category_struct& other) {
        return other.id != id && Trimmed(other.name) == Trimmed(name);
    });
    return taken ? NameProblem::TakenCategory : NameProblem::None;
}
