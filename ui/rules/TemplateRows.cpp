#include "ui/rules/TemplateRows.h"

#include <new>

#include "model/FieldType.h"

std::u16string OtherFieldNames(const CTesseraItem& item) {
    std::u16string joined;
    for (auto* node = item.fields.head ? item.fields.head->next : nullptr; node; node = node->next) {
        if (!joined.empty()) joined += u',';
        joined += node->element.Name();
    }
    return joined;
}

bool ReadTemplateRows(const CData& data, std::vector<TemplateRow>& rows) {
    try {
        data.ForEachTemplate([&](uint32_t id, const CTesseraItem& item) {
            std::u16string name = item.fields.head ? FieldText(item.fields.head->element) : std::u16string();
            rows.push_back({id, item.icon, std::move(name), OtherFieldNames(item)});
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
